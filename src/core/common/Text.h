#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small string helpers on byte strings (Windows-1252 or UTF-8 alike).
namespace pictra::text {

// Splits at CR LF, LF or lone CR. A final line break does not add an empty line.
std::vector<std::string> splitLines(std::string_view text);

// Joins with CR LF between the lines (none after the last).
std::string joinLines(const std::vector<std::string>& lines, std::string_view separator = "\r\n");

bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// Lower-cases ASCII letters and the Windows-1252 capitals with a lower-case partner.
char lowerCp1252(char c);
std::string toLowerCp1252(std::string_view s);
// Small letters of ASCII and Windows-1252 to capitals ("ß" stays).
std::string toUpperCp1252(std::string_view s);

// ASCII-only lower case; safe on UTF-8.
std::string toLowerAscii(std::string_view s);

// Removes characters of code 32 and below at both ends (as the program's trim does).
std::string trim(std::string_view s);
std::string trimRight(std::string_view s);

// Decimal integer with optional sign and surrounding blanks; nullopt otherwise.
std::optional<long long> parseInt(std::string_view s);
long long toIntDef(std::string_view s, long long fallback);

// The decimal number in a text: after a "-" only the rest counts, negated; digits
// stay and "," or "." is the decimal mark; everything else is dropped. Nothing
// left, or two marks, give 0.
double decimalOf(std::string_view s);

// Replaces every occurrence of `from` by `to`.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

}  // namespace pictra::text
