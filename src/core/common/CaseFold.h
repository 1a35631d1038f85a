#pragma once

#include <string>
#include <string_view>

// Case folding for searches and name comparisons that ignore case. Documents are
// Windows-1252, file names on disk UTF-8: each is folded in its own encoding, to
// lower case, by a fixed table, so the result never depends on the process locale.
// Letters with a partner: A-Z, À-Þ (but ×), Š, Œ, Ž, Ÿ. "ß" and "µ" stay.
namespace pictra::casefold {

// Lower-case partner of a Windows-1252 byte (the byte itself when it has none).
char foldCp1252(char c);
std::string foldCp1252(std::string_view cp1252);

// The same letters in UTF-8. Every folded character keeps its byte length, so
// offsets into the folded text are offsets into the original; bytes that are not
// one of these letters (invalid UTF-8 included) stay as they are.
std::string foldUtf8(std::string_view utf8);

// `needle` occurs in `haystack`, case ignored (UTF-8 both).
bool containsUtf8(std::string_view haystack, std::string_view needle);
// Both the same, case ignored (UTF-8).
bool equalUtf8(std::string_view a, std::string_view b);
// Order ignoring case (UTF-8), byte order of the folded texts.
bool lessUtf8(std::string_view a, std::string_view b);

}  // namespace pictra::casefold
