#include "CaseFold.h"

#include <array>
#include <cstdint>

namespace pictra::casefold {

namespace {

using Table = std::array<unsigned char, 256>;

constexpr Table makeCp1252Table() {
    Table t{};
    for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b) t[b] = static_cast<unsigned char>(b + 0x20);
    for (int b = 0xC0; b <= 0xDE; ++b) {
        if (b != 0xD7)
            t[b] = static_cast<unsigned char>(b + 0x20);  // × has no partner (÷ sits at its place)
    }
    t[0x8A] = 0x9A;  // Š š
    t[0x8C] = 0x9C;  // Œ œ
    t[0x8E] = 0x9E;  // Ž ž
    t[0x9F] = 0xFF;  // Ÿ ÿ
    return t;
}

constexpr Table kCp1252 = makeCp1252Table();

// Second bytes of the two-byte UTF-8 capitals, by lead byte, mapped to the
// lower-case character's two bytes. U+00C0..U+00DE are C3 80..C3 9E; Š Œ Ž Ÿ are
// C5 A0, C5 92, C5 BD, C5 B8. A lead byte C3 or C5 is never a continuation byte,
// so a pair found anywhere is that character.
struct Pair {
    unsigned char lead;
    unsigned char trail;
};

Pair foldPair(unsigned char lead, unsigned char trail) {
    if (lead == 0xC3 && trail >= 0x80 && trail <= 0x9E && trail != 0x97)
        return {0xC3, static_cast<unsigned char>(trail + 0x20)};
    if (lead == 0xC5) {
        switch (trail) {
            case 0xA0:
                return {0xC5, 0xA1};  // Š š
            case 0x92:
                return {0xC5, 0x93};  // Œ œ
            case 0xBD:
                return {0xC5, 0xBE};  // Ž ž
            case 0xB8:
                return {0xC3, 0xBF};  // Ÿ ÿ
            default:
                break;
        }
    }
    return {lead, trail};
}

}  // namespace

char foldCp1252(char c) {
    return static_cast<char>(kCp1252[static_cast<unsigned char>(c)]);
}

std::string foldCp1252(std::string_view cp1252) {
    std::string out(cp1252);
    for (char& c : out) c = foldCp1252(c);
    return out;
}

std::string foldUtf8(std::string_view utf8) {
    std::string out(utf8);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (b < 0x80) {
            if (b >= 'A' && b <= 'Z')
                out[i] = static_cast<char>(b + 0x20);
            continue;
        }
        if ((b != 0xC3 && b != 0xC5) || i + 1 >= out.size())
            continue;
        const Pair p = foldPair(b, static_cast<unsigned char>(out[i + 1]));
        out[i] = static_cast<char>(p.lead);
        out[i + 1] = static_cast<char>(p.trail);
        ++i;
    }
    return out;
}

bool containsUtf8(std::string_view haystack, std::string_view needle) {
    return foldUtf8(haystack).find(foldUtf8(needle)) != std::string::npos;
}

bool equalUtf8(std::string_view a, std::string_view b) {
    return a.size() == b.size() && foldUtf8(a) == foldUtf8(b);
}

bool lessUtf8(std::string_view a, std::string_view b) {
    return foldUtf8(a) < foldUtf8(b);
}

}  // namespace pictra::casefold
