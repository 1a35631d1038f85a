#pragma once

#include <string>
#include <vector>

// "Textvorschau (Erweitertes ASCII)": a file of any kind shown block by block.
namespace pictra::explorer {

struct PreviewBlock {
    std::string upper;  // every control character as "|#" + code + "|", a break after 80 characters and each LF
    std::string lower;  // only the printable characters, a break after 120
};

inline constexpr const char* kPreviewCaption = "Ascii 0=";

// Blocks of `blockSize` bytes (Windows-1252), the texts as UTF-8 with CR LF.
std::vector<PreviewBlock> previewBlocks(const std::string& bytes, size_t blockSize = 2000);

// The printable characters with the file's own line feeds, for "Ganzer Text als Datei einlesen." (Windows-1252).
std::string printableText(const std::string& bytes);

}  // namespace pictra::explorer
