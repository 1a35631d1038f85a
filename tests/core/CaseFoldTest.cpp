#include <gtest/gtest.h>

#include <set>

#include "common/CaseFold.h"
#include "common/Codec.h"
#include "shell/editing/Search.h"

using namespace pictra;

namespace {

// Every Windows-1252 letter with a lower-case partner, written in UTF-8.
const std::vector<std::pair<std::string, std::string>> kPairs = {
    {"À", "à"}, {"Á", "á"}, {"Â", "â"}, {"Ã", "ã"}, {"Ä", "ä"}, {"Å", "å"}, {"Æ", "æ"}, {"Ç", "ç"},
    {"È", "è"}, {"É", "é"}, {"Ê", "ê"}, {"Ë", "ë"}, {"Ì", "ì"}, {"Í", "í"}, {"Î", "î"}, {"Ï", "ï"},
    {"Ð", "ð"}, {"Ñ", "ñ"}, {"Ò", "ò"}, {"Ó", "ó"}, {"Ô", "ô"}, {"Õ", "õ"}, {"Ö", "ö"}, {"Ø", "ø"},
    {"Ù", "ù"}, {"Ú", "ú"}, {"Û", "û"}, {"Ü", "ü"}, {"Ý", "ý"}, {"Þ", "þ"}, {"Š", "š"}, {"Œ", "œ"},
    {"Ž", "ž"}, {"Ÿ", "ÿ"}, {"A", "a"}, {"M", "m"}, {"Z", "z"},
};

std::string cp(const std::string& utf8) {
    return codec::utf8ToCp1252(utf8);
}

}  // namespace

TEST(CaseFold, EveryWindows1252PairAndNothingElse) {
    std::set<unsigned char> capitals;
    for (const auto& [upper, lower] : kPairs) {
        ASSERT_EQ(cp(upper).size(), 1u) << upper;
        EXPECT_EQ(casefold::foldCp1252(cp(upper)), cp(lower)) << upper;
        EXPECT_EQ(casefold::foldCp1252(cp(lower)), cp(lower)) << lower;
        capitals.insert(static_cast<unsigned char>(cp(upper)[0]));
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_EQ(casefold::foldCp1252(c), static_cast<char>(c - 'A' + 'a'));
        capitals.insert(static_cast<unsigned char>(c));
    }
    // Every other byte is its own fold: ×, ÷, ß, µ, digits, signs, the undefined bytes.
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        if (capitals.count(static_cast<unsigned char>(b)) == 0) {
            EXPECT_EQ(casefold::foldCp1252(c), c) << b;
        }
    }
    EXPECT_EQ(casefold::foldCp1252(cp("MÜLLER × 2 ÷ STRAßE ŒUVRE")), cp("müller × 2 ÷ straße œuvre"));
}

TEST(CaseFold, Utf8FoldsTheSameLettersAndKeepsOffsets) {
    for (const auto& [upper, lower] : kPairs) {
        EXPECT_EQ(casefold::foldUtf8(upper), lower) << upper;
        EXPECT_EQ(casefold::foldUtf8(lower), lower) << lower;
    }
    // Both folds agree on every Windows-1252 character.
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(casefold::foldUtf8(codec::cp1252ToUtf8(one)), codec::cp1252ToUtf8(casefold::foldCp1252(one))) << b;
    }
    // Other scripts, broken sequences and a lone lead byte at the end are left alone.
    for (const std::string s : {"ĀΣЖ€", "\xC3", "a\xC3", "\xC5\x41", "\x80\xC3\x9C"}) {
        const std::string folded = casefold::foldUtf8(s);
        EXPECT_EQ(folded.size(), s.size()) << s;
    }
    EXPECT_EQ(casefold::foldUtf8("ĀΣЖ€"), "ĀΣЖ€");
    EXPECT_EQ(casefold::foldUtf8("\x80\xC3\x9C"), "\x80\xC3\xBC");
}

TEST(CaseFold, FileNamesFoundIgnoringCase) {
    struct Case {
        std::string name;
        std::string typed;
        bool found;
    };
    for (const Case& c : std::vector<Case>{
             {"Müller.txt", "MÜLLER", true},
             {"MÜLLER.TXT", "müller.txt", true},
             {"Ærø Øst.html", "ærø øST", true},
             {"Œuvres complètes.doc", "ŒUVRES COMPLÈTES", true},
             {"Ÿvonne_Šimić.jpg", "ÿVONNE_šIMIĆ", false},  // Ć is no Windows-1252 letter
             {"Ÿvonne_Šimić.jpg", "ÿVONNE_šIMI", true},
             {"Žilina.png", "žILINA", true},
             {"Straße.txt", "STRASSE", false},  // "ß" has no capital of its own here
             {"2×3.txt", "2÷3", false},
             {"brief.txt", "BRIEF", true},
         }) {
        EXPECT_EQ(casefold::containsUtf8(c.name, c.typed), c.found) << c.name << " / " << c.typed;
    }
    EXPECT_TRUE(casefold::equalUtf8("Ärger.TXT", "ärger.txt"));
    EXPECT_FALSE(casefold::equalUtf8("Ärger.txt", "Aerger.txt"));
    EXPECT_TRUE(casefold::lessUtf8("Äpfel", "ÄRGER"));
    EXPECT_FALSE(casefold::lessUtf8("ÄRGER", "äpfel"));
}

TEST(CaseFold, ReplacingEveryHitIgnoresTheCaseOfWindows1252Letters) {
    struct Case {
        std::string text, term, expected;
    };
    for (const Case& c : std::vector<Case>{{"MÜLLER, Müller, müller", "müller", "X, X, X"},
                                           {"ŒUVRE œuvre", "Œuvre", "X X"},
                                           {"ŸSER ÿser", "ÿser", "X X"},
                                           {"STRASSE Straße", "straße", "STRASSE X"},
                                           {"a×b a÷b", "A×B", "X a÷b"}}) {
        EXPECT_EQ(search::replaceEvery(cp(c.text), cp(c.term), "X", false), cp(c.expected)) << c.text;
    }
    EXPECT_EQ(search::replaceEvery(cp("MÜLLER Müller"), cp("Müller"), "X", true), cp("MÜLLER X"));
}
