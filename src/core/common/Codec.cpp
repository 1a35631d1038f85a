#include "Codec.h"

#include <array>
#include <unordered_map>
#include <utility>

namespace pictra::codec {
namespace {

constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};

// Nearest plain character for the graphic characters of code page 850 that
// Windows-1252 lacks: lines become '-' and '|', corners and crossings '+'.
char bestFit(char32_t cp) {
    switch (cp) {
        case 0x2500: case 0x2550: return '-';
        case 0x2502: case 0x2551: return '|';
        case 0x2591: case 0x2592: case 0x2593: case 0x2588: case 0x2584: case 0x2580: case 0x25A0: return '#';
        case 0x0131: return 'i';
        case 0x2017: return '_';
        default: break;
    }
    if (cp >= 0x2500 && cp <= 0x257F) return '+';
    return '?';
}

const std::unordered_map<char32_t, unsigned char>& reverse1252() {
    static const std::unordered_map<char32_t, unsigned char> map = [] {
        std::unordered_map<char32_t, unsigned char> m;
        for (int b = 0x80; b < 0xA0; ++b) m[kCp1252High[static_cast<size_t>(b - 0x80)]] = static_cast<unsigned char>(b);
        return m;
    }();
    return map;
}

const std::array<unsigned char, 256>& table1252To850() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) t[static_cast<size_t>(b)] = '?';
        for (int b = 0; b < 128; ++b) t[static_cast<size_t>(b)] = static_cast<unsigned char>(b);
        for (int oem = 128; oem < 256; ++oem) {
            int ansi = unicodeToCp1252(kCp850High[static_cast<size_t>(oem - 128)]);
            if (ansi >= 0) t[static_cast<size_t>(ansi)] = static_cast<unsigned char>(oem);
        }
        // Typographic characters DOS lacks keep their plain look instead of '?'.
        const std::pair<unsigned char, char> plain[] = {
            {0x82, ','}, {0x84, '"'}, {0x85, '.'}, {0x8B, '<'}, {0x91, '\''}, {0x92, '\''}, {0x93, '"'},
            {0x94, '"'}, {0x95, 'o'}, {0x96, '-'}, {0x97, '-'}, {0x98, '~'}, {0x9B, '>'}, {0x80, 'E'},
            {0x8A, 'S'}, {0x9A, 's'}, {0x8E, 'Z'}, {0x9E, 'z'}, {0x9F, 'Y'}, {0x8C, 'O'}, {0x9C, 'o'}};
        for (auto [ansi, c] : plain) t[ansi] = static_cast<unsigned char>(c);
        return t;
    }();
    return table;
}

}  // namespace

char32_t cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
    return byte;
}

int unicodeToCp1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
    const auto& map = reverse1252();
    auto it = map.find(codePoint);
    return it == map.end() ? -1 : it->second;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (char c : cp1252) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            appendUtf8(out, cp1252ToUnicode(b));
        }
    }
    return out;
}

namespace {

// Decodes one UTF-8 sequence at `i`; returns the code point or -1 when invalid
// (then `length` is 1). Overlong forms and surrogates count as invalid.
long decodeOne(std::string_view s, size_t i, size_t& length) {
    auto b0 = static_cast<unsigned char>(s[i]);
    length = 1;
    if (b0 < 0x80) return b0;
    size_t n = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return -1;
    }
    if (i + n > s.size()) return -1;
    for (size_t k = 1; k < n; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
    length = n;
    return static_cast<long>(cp);
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        size_t len = 0;
        if (decodeOne(bytes, i, len) < 0) return false;
        i += len;
    }
    return true;
}

std::u32string utf8ToCodePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t len = 0;
        long cp = decodeOne(utf8, i, len);
        out.push_back(cp < 0 ? U'\uFFFD' : static_cast<char32_t>(cp));
        i += len;
    }
    return out;
}

std::string utf8ToCp1252(std::string_view utf8, char replacement, std::string* lost) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t len = 0;
        long cp = decodeOne(utf8, i, len);
        int b = cp < 0 ? -1 : unicodeToCp1252(static_cast<char32_t>(cp));
        if (b >= 0) {
            out.push_back(static_cast<char>(b));
        } else {
            out.push_back(replacement);
            if (lost) {
                std::string ch;
                appendUtf8(ch, cp < 0 ? U'\uFFFD' : static_cast<char32_t>(cp));
                if (lost->find(ch) == std::string::npos) *lost += ch;
            }
        }
        i += len;
    }
    return out;
}

char32_t cp850ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    return kCp850High[byte - 0x80];
}

std::string cp850ToCp1252(std::string_view oem) {
    std::string out(oem.size(), '\0');
    for (size_t i = 0; i < oem.size(); ++i) {
        char32_t cp = cp850ToUnicode(static_cast<unsigned char>(oem[i]));
        int b = unicodeToCp1252(cp);
        out[i] = b >= 0 ? static_cast<char>(b) : bestFit(cp);
    }
    return out;
}

std::string cp1252ToCp850(std::string_view ansi) {
    const auto& table = table1252To850();
    std::string out(ansi.size(), '\0');
    for (size_t i = 0; i < ansi.size(); ++i) out[i] = static_cast<char>(table[static_cast<unsigned char>(ansi[i])]);
    return out;
}

}  // namespace pictra::codec
