#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text in the program is Windows-1252 (one byte, one character); messages and the
// settings file are UTF-8. These functions are the only place where the two meet.
namespace pictra::codec {

// Unicode code point of a Windows-1252 byte. The five bytes Windows-1252 leaves
// undefined map to the C1 control of the same number, so every byte round-trips.
char32_t cp1252ToUnicode(unsigned char byte);

// Windows-1252 byte of a code point, or -1 when Windows-1252 cannot hold it.
int unicodeToCp1252(char32_t codePoint);

std::string cp1252ToUtf8(std::string_view cp1252);

// Converts UTF-8 to Windows-1252. Characters Windows-1252 cannot hold become
// `replacement`; `lost` (if given) receives those characters as UTF-8, each once.
std::string utf8ToCp1252(std::string_view utf8, char replacement = '?', std::string* lost = nullptr);

bool isValidUtf8(std::string_view bytes);

// Appends the UTF-8 encoding of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Decodes UTF-8 into code points; invalid bytes come back as U+FFFD.
std::u32string utf8ToCodePoints(std::string_view utf8);

// The DOS (OEM) code page 850 of German DOS files.
char32_t cp850ToUnicode(unsigned char byte);

// DOS text to Windows-1252. Characters 1252 lacks (box drawing, shades) get the
// nearest plain character, as the Windows conversion does.
std::string cp850ToCp1252(std::string_view oem);

// Windows-1252 text to DOS code page 850; characters 850 lacks become their
// nearest plain character or '?'.
std::string cp1252ToCp850(std::string_view ansi);

}  // namespace pictra::codec
