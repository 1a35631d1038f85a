#include "PictureNames.h"
#include "common/PathNames.h"

#include "common/Text.h"

namespace pictra::pictures {

using pathnames::extensionOf;

bool isPictureFile(std::string_view name) {
    const std::string lower = text::toLowerAscii(std::string(name));
    for (const char* ext : {".bmp", ".ico", ".gif", ".jpg", ".png", ".tif", ".jpe", ".wmf", ".jp0"}) {
        if (lower.find(ext) != std::string::npos) return true;
    }
    return false;
}

Signature signatureOf(std::string_view b) {
    if (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xD8) {
        return Signature::Jpeg;
    }
    if (b.substr(0, 3) == "GIF") return Signature::Gif;
    if (b.substr(0, 2) == "BM") return Signature::Bmp;
    if (b.size() >= 4 && b.substr(1, 3) == "PNG") return Signature::Png;
    return Signature::Unknown;
}

std::optional<WrongExtension> wrongExtension(const std::string& path, std::string_view firstBytes) {
    const std::string ext = extensionOf(path);
    const std::string lower = text::toLowerAscii(ext);
    struct Rule {
        Signature signature;
        const char* mark;
        const char* word;
        const char* newExtension;
    };
    static const Rule rules[] = {{Signature::Jpeg, "jp", "JPG", ".jpg"},
                                 {Signature::Gif, "gif", "GIF", ".gif"},
                                 {Signature::Bmp, "bmp", "BMP", ".bmp"},
                                 {Signature::Png, "png", "PNG", ".png"}};
    const Signature signature = signatureOf(firstBytes);
    for (const Rule& r : rules) {
        if (r.signature != signature || lower.find(r.mark) != std::string::npos) continue;
        return WrongExtension{"Die Datei\r" + path + "\rist eine " + r.word + "-Datei mit falscher Erweiterung! Umbenennen?",
                              path.substr(0, path.size() - ext.size()) + r.newExtension};
    }
    return std::nullopt;
}

}  // namespace pictra::pictures
