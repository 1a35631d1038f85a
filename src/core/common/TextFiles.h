#pragma once

#include <optional>
#include <string>

// Plain text files of the program: Windows-1252 with CR LF on disk.
namespace pictra::textfiles {

// A text file as UTF-8: read as UTF-8 when it is valid UTF-8 with characters
// beyond ASCII, otherwise as Windows-1252. nullopt when it cannot be read.
std::optional<std::string> readText(const std::string& path);

// Writes Windows-1252 text with CR LF line ends, safely replacing the old file.
bool writeCp1252(const std::string& path, const std::string& cp1252Text);

// Question before a plain-text save that writes characters as numeric references.
std::string unstorableQuestion(const std::string& lostCharactersUtf8);

// Text with every line break made CR LF.
std::string toCrLf(const std::string& text);

}  // namespace pictra::textfiles
