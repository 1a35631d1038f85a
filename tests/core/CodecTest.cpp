#include <gtest/gtest.h>

#include "common/Codec.h"

using namespace pictra::codec;

TEST(Codec, EveryWindows1252ByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    std::string lost;
    EXPECT_EQ(utf8ToCp1252(utf8, '?', &lost), all);
    EXPECT_EQ(lost, "");
    EXPECT_EQ(cp1252ToUtf8("\x80\x84\x93\xe4\xdf"), "€„“äß");
}

TEST(Codec, CharactersBeyondWindows1252AreReportedOnce) {
    std::string lost;
    EXPECT_EQ(utf8ToCp1252("a→b→ c😀", '?', &lost), "a?b? c?");
    EXPECT_EQ(lost, "→😀");
}

TEST(Codec, Utf8Validation) {
    EXPECT_TRUE(isValidUtf8("Grüße"));
    EXPECT_FALSE(isValidUtf8("Gr\xfc\xdf""e"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));          // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xe2\x82"));          // cut short
    EXPECT_EQ(utf8ToCodePoints("a\xffü"), (std::u32string{U'a', U'\uFFFD', U'ü'}));
}

TEST(Codec, DosCodePage850Umlauts) {
    // ä ö ü Ä Ö Ü ß in DOS bytes.
    EXPECT_EQ(cp850ToCp1252("\x84\x94\x81\x8e\x99\x9a\xe1"), "\xe4\xf6\xfc\xc4\xd6\xdc\xdf");
    EXPECT_EQ(cp1252ToCp850("\xe4\xf6\xfc\xc4\xd6\xdc\xdf"), "\x84\x94\x81\x8e\x99\x9a\xe1");
    // Box drawing has no Windows-1252 character: it keeps its look.
    EXPECT_EQ(cp850ToCp1252("\xc9\xcd\xbb\xba\xb0"), "+-+|#");
    EXPECT_EQ(cp1252ToCp850("\x84Zitat\x93 \x80"), "\"Zitat\" E");
}

TEST(Codec, Cp850RoundTripForEveryCharacterBothPagesShare) {
    for (int b = 0; b < 256; ++b) {
        const std::string oem(1, static_cast<char>(b));
        const int ansi = unicodeToCp1252(cp850ToUnicode(static_cast<unsigned char>(b)));
        if (ansi < 0) continue;
        EXPECT_EQ(cp1252ToCp850(cp850ToCp1252(oem)), oem) << "byte " << b;
    }
}
