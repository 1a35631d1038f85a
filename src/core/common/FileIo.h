#pragma once

#include <optional>
#include <string>

namespace pictra::fileio {

// Whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> readFile(const std::string& path);

// Replaces the file's content so that a failure at any point (disk full, a killed
// process, power loss) leaves the previous file intact: the bytes go to a
// temporary file in the same folder, are flushed to disk and then renamed over
// the old file, which keeps its permissions. A writable file in a folder without
// write access can only be rewritten in place. Returns false on any failure.
bool writeFileAtomic(const std::string& path, const std::string& bytes);

bool fileExists(const std::string& path);

}  // namespace pictra::fileio
