#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

// The file the document is compared with, read as a document is loaded.
namespace pictra::compare {

// Its lines (the caret trailer taken off), or the German message why it cannot be
// compared: gone, not a regular file, over 1 GB, or not a text file.
std::variant<std::vector<std::string>, std::string> readSecondFile(const std::string& path);

// The newest day backup of `path` in the bin folder, or nothing.
std::optional<std::string> newestBackup(const std::string& binFolder, const std::string& path);

}  // namespace pictra::compare
