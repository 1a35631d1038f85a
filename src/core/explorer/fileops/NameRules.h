#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The naming rules of the explorer's file commands. Names are UTF-8 bytes; a name
// that is not valid UTF-8 holds single Windows-1252 bytes (old CDs, ZIP files)
// and is read as such, so every rule gives a valid name.
namespace pictra::fileops {

// The name as valid UTF-8 (Windows-1252 bytes converted).
std::string validName(std::string_view name);

// The umlaut mapping of base names: "ä" "ö" "ü" "ß" blank "." → "ae" "oe" "ue" "ss" "_" "_".
std::string umlautMapped(std::string_view baseName);
// A base name the mapping changes.
bool hasUmlautOrBlank(std::string_view baseName);

// Whole file name in upper or lower case (the letters of Windows-1252 included);
// in lower case the extension ".jpeg" becomes ".jpg".
std::string caseConverted(std::string_view fileName, bool upper);
std::string toUpperUtf8(std::string_view utf8);
std::string toLowerUtf8(std::string_view utf8);

// A base name ending in a one- or two-digit number, padded to three digits
// ("abc11" → "abc011"); nullopt for other names.
std::optional<std::string> paddedNumber(std::string_view baseName);

// Consecutive numbering: the digits needed for the largest number 10 × count (at
// least three), so every name of the run has the same width and they sort in order.
int numberWidth(std::size_t count);
// The base name cut after its last ASCII letter + the number padded to the width.
std::string numberedBaseName(std::string_view baseName, long long number, int width);

// The multi-file rename: the new names (without extension) for `count` files from
// the edited lines. A blank or missing line continues the running name.
std::vector<std::string> seriesNames(std::vector<std::string> lines, std::size_t count);
// New file name from a series name and the old extension: a "." in the series name
// sets the extension (only up to a further ".").
std::string nameWithExtension(const std::string& seriesName, const std::string& oldExtension);

// The first bytes of a file's header (any number; fewer than four count as none)
// to the extension of its type, or "" when the header names no known type.
std::string headerType(std::string_view firstBytes);

// Base name and extension of a file name.
std::string baseNameOf(const std::string& fileName);
std::string extensionOfName(const std::string& fileName);

}  // namespace pictra::fileops
