#include "TextFiles.h"

#include "common/Codec.h"
#include "common/FileIo.h"

namespace pictra::textfiles {

std::optional<std::string> readText(const std::string& path) {
    auto bytes = fileio::readFile(path);
    if (!bytes) return std::nullopt;
    bool ascii = true;
    for (char c : *bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii || codec::isValidUtf8(*bytes)) return bytes;
    return codec::cp1252ToUtf8(*bytes);
}

std::string toCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool writeCp1252(const std::string& path, const std::string& cp1252Text) {
    return fileio::writeFileAtomic(path, toCrLf(cp1252Text));
}

std::string unstorableQuestion(const std::string& lostCharactersUtf8) {
    return "Diese Zeichen können in einer Textdatei (Windows-1252) nicht gespeichert werden: " +
           lostCharactersUtf8 + "\rSie werden als Zahlenverweis (&#...;) gespeichert. Trotzdem speichern?";
}

}  // namespace pictra::textfiles
