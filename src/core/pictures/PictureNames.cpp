#include "PictureNames.h"
#include "common/PathNames.h"

#include "common/Text.h"

namespace pictra::pictures {

using pathnames::extensionOf;

bool isReadOnlyPicture(std::string_view name) {
    const std::string lower = text::toLowerAscii(std::string(name));
    for (const std::string_view ext : {".heic", ".heif", ".webp"}) {
        if (lower.size() >= ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0) return true;
    }
    return false;
}

bool isPictureFile(std::string_view name) {
    const std::string lower = text::toLowerAscii(std::string(name));
    for (const char* ext : {".bmp", ".ico", ".gif", ".jpg", ".png", ".tif", ".jpe", ".wmf", ".jp0"}) {
        if (lower.find(ext) != std::string::npos) return true;
    }
    return isReadOnlyPicture(lower);
}

Signature signatureOf(std::string_view b) {
    if (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xD8) {
        return Signature::Jpeg;
    }
    if (b.substr(0, 3) == "GIF") return Signature::Gif;
    if (b.substr(0, 2) == "BM") return Signature::Bmp;
    if (b.size() >= 4 && b.substr(1, 3) == "PNG") return Signature::Png;
    if (b.size() >= 12 && b.substr(4, 4) == "ftyp") {
        const std::string_view brand = b.substr(8, 4);
        for (const std::string_view heif : {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"}) {
            if (brand == heif) return Signature::Heif;
        }
    }
    if (b.size() >= 12 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WEBP") return Signature::Webp;
    return Signature::Unknown;
}

std::optional<WrongExtension> wrongExtension(const std::string& path, std::string_view firstBytes) {
    const std::string ext = extensionOf(path);
    const std::string lower = text::toLowerAscii(ext);
    struct Rule {
        Signature signature;
        const char* mark;
        const char* question;
        const char* newExtension;
    };
    static const Rule rules[] = {
        {Signature::Jpeg, "jp", "\rist eine JPG-Datei mit falscher Erweiterung! Umbenennen?", ".jpg"},
        {Signature::Gif, "gif", "\rist eine GIF-Datei mit falscher Erweiterung! Umbenennen?", ".gif"},
        {Signature::Bmp, "bmp", "\rist eine BMP-Datei mit falscher Erweiterung! Umbenennen?", ".bmp"},
        {Signature::Png, "png", "\rist eine PNG-Datei mit falscher Erweiterung! Umbenennen?", ".png"}};
    const Signature signature = signatureOf(firstBytes);
    for (const Rule& r : rules) {
        if (r.signature != signature || lower.find(r.mark) != std::string::npos) continue;
        return WrongExtension{"Die Datei\r" + path + r.question, path.substr(0, path.size() - ext.size()) + r.newExtension};
    }
    return std::nullopt;
}

}  // namespace pictra::pictures
