#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ctime>
#include <string>

#include "TempDir.h"
#include "explorer/search/ContentMatcher.h"
#include "explorer/search/Criteria.h"
#include "explorer/search/SearchRun.h"

namespace pictra::filesearch {
namespace {

// One file against one set of criteria; every case runs on both engines.
struct MatchCase {
    const char* label;
    Criteria criteria;
    std::string name;     // relative path of the file
    std::string content;  // its bytes
    bool expected;
};

Criteria names(std::string n1, std::string n2 = {}, bool orMode = false) {
    Criteria c;
    c.names = {std::move(n1), std::move(n2), {}};
    c.orMode = orMode;
    return c;
}

Criteria texts(std::string t1, std::string t2 = {}, std::string tx = {}, bool matchCase = false) {
    Criteria c;
    c.texts = {std::move(t1), std::move(t2), {}};
    c.textExclusion = std::move(tx);
    c.matchCase = matchCase;
    return c;
}

Criteria with(Criteria c, void (*change)(Criteria&)) {
    change(c);
    return c;
}

const std::string kMuellerCp1252 = "Herr M\xfcller kommt";        // Müller
const std::string kMuellerUpperCp1252 = "HERR M\xdcLLER KOMMT";   // MÜLLER
const std::string kMuellerUtf8 = "Herr M\xc3\xbcller kommt";
const std::string kMuellerUpperUtf8 = "HERR M\xc3\x9cLLER";

std::vector<MatchCase> matchCases() {
    return {
        {"name foto hits folder Fotos", names("foto"), "Fotos/urlaub.txt", "x", true},
        {"name foto, case respected", with(names("foto"), [](Criteria& c) { c.matchCase = true; }),
         "Fotos/urlaub.txt", "x", false},
        {"Und needs every name", names("urlaub", "sommer"), "Fotos/urlaub.txt", "x", false},
        {"Oder with N1 and T1 empty lists everything", names("", "nirgends", true), "a.txt", "x", true},
        {"Oder: one name is enough", names("nirgends", "urlaub", true), "urlaub.txt", "x", true},
        {"Oder: a text is enough", with(texts("hallo"), [](Criteria& c) { c.orMode = true, c.names[0] = "zzz"; }),
         "a.txt", "sagt hallo", true},
        {"Oder: nothing holds", with(texts("hallo"), [](Criteria& c) { c.orMode = true, c.names[0] = "zzz"; }),
         "a.txt", "tschuess", false},
        {"name exclusion", with(names("urlaub"), [](Criteria& c) { c.nameExclusion = "ALT"; }), "alt/urlaub.txt",
         "x", false},
        {"text exclusion", texts("hallo", {}, "welt"), "a.txt", "hallo welt", false},
        {"text exclusion absent", texts("hallo", {}, "welt"), "a.txt", "hallo du", true},
        {"Und needs every text", texts("hallo", "welt"), "a.txt", "hallo du", false},
        {"Und with both texts", texts("hallo", "welt"), "a.txt", "welt, hallo", true},
        {"umlaut in other case, Windows-1252", texts("Müller"), "a.txt", kMuellerUpperCp1252, true},
        {"umlaut in other case, UTF-8", texts("müller"), "a.txt", kMuellerUpperUtf8, true},
        {"Windows-1252 spelling", texts("Müller"), "a.txt", kMuellerCp1252, true},
        {"UTF-8 spelling", texts("Müller"), "a.txt", kMuellerUtf8, true},
        {"case respected, other case", texts("Müller", {}, {}, true), "a.txt", kMuellerUpperCp1252, false},
        {"case respected, same case Windows-1252", texts("Müller", {}, {}, true), "a.txt", kMuellerCp1252, true},
        {"case respected, same case UTF-8", texts("Müller", {}, {}, true), "a.txt", kMuellerUtf8, true},
        {"é and É", texts("café"), "a.txt", "CAF\xc9 au lait", true},
        {"Ÿ and ÿ in UTF-8 (different lead bytes)", texts("ÿ"), "a.txt", "x\xc5\xb8y", true},
        {"ß has no capital", texts("straße"), "a.txt", "STRASSE", false},
        {"one letter", texts("q"), "a.txt", "abcQ", true},
        {"one letter absent", texts("q"), "a.txt", "abc", false},
        {"picture not read", texts("hallo"), "bild.JPG", "hallo", false},
        {"pdf not read", texts("hallo"), "doc.PDF", "hallo", false},
        {"rar not read", texts("hallo"), "a.rar", "hallo", false},
        {"text file read", texts("hallo"), "a.txt", "hallo", true},
        {"binary bytes read all the same", texts("hallo"), "a.bin", std::string("\0\1hallo\0", 8), true},
        {"empty file", texts("hallo"), "leer.txt", "", false},
    };
}

class MatchTable : public ::testing::TestWithParam<Engine> {};

TEST_P(MatchTable, EveryCase) {
    if (GetParam() == Engine::Hyperscan && !hyperscanAvailable()) GTEST_SKIP() << "no Hyperscan on this processor";
    for (const auto& c : matchCases()) {
        test::TempDir dir;
        const auto slash = c.name.rfind('/');
        if (slash != std::string::npos) mkdir(dir.file(c.name.substr(0, slash)).c_str(), 0755);
        dir.write(c.name, c.content);
        ContentMatcher matcher(c.criteria, GetParam());
        EXPECT_EQ(matcher.usesHyperscan(), GetParam() == Engine::Hyperscan && !matcher.empty()) << c.label;
        ContentMatcher::Scanner scanner(matcher);
        const auto result = testFile(c.criteria, matcher, scanner, dir.file(c.name), true);
        ASSERT_TRUE(result.has_value()) << c.label;
        EXPECT_EQ(*result, c.expected) << c.label;
    }
}

// A criterion cut by the end of a read block is still found.
TEST_P(MatchTable, AcrossBlocks) {
    if (GetParam() == Engine::Hyperscan && !hyperscanAvailable()) GTEST_SKIP();
    test::TempDir dir;
    for (std::size_t at : {(4u << 20) - 3, (4u << 20) + 1, (8u << 20) - 2}) {
        std::string bytes(9u << 20, 'a');
        bytes.replace(at, 6, "M\xdcLLER");
        dir.write("big.txt", bytes);
        ContentMatcher matcher(texts("müller"), GetParam());
        ContentMatcher::Scanner scanner(matcher);
        const auto found = matcher.scanFile(scanner, dir.file("big.txt"), [](unsigned) { return false; });
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, kTextBit(0)) << at;
    }
}

// The scan stops at the first point where the verdict is known.
TEST_P(MatchTable, StopsWhenSettled) {
    if (GetParam() == Engine::Hyperscan && !hyperscanAvailable()) GTEST_SKIP();
    const Criteria c = texts("eins", "zwei");
    ContentMatcher matcher(c, GetParam());
    ContentMatcher::Scanner scanner(matcher);
    int asked = 0;
    const unsigned found = matcher.scan(scanner, "eins zwei eins zwei", 0, [&](unsigned bits) {
        ++asked;
        return bits == (kTextBit(0) | kTextBit(1));
    });
    EXPECT_EQ(found, kTextBit(0) | kTextBit(1));
    EXPECT_LE(asked, 3);
}

INSTANTIATE_TEST_SUITE_P(Engines, MatchTable, ::testing::Values(Engine::Hyperscan, Engine::Fallback),
                         [](const auto& p) { return p.param == Engine::Hyperscan ? "Hyperscan" : "Fallback"; });

TEST(SearchLimits, AgeAndSize) {
    const std::time_t now = 1'700'000'000;
    const long long day = 86400;
    struct Case {
        const char* label;
        std::optional<long long> maxAge, minAge, minKb;
        std::uintmax_t size;
        std::time_t modified;
        bool expected;
    } cases[] = {
        {"no limits", {}, {}, {}, 0, now, true},
        {"exactly 10000 bytes skipped", {}, {}, 10, 10000, now, false},
        {"10001 bytes tested", {}, {}, 10, 10001, now, true},
        {"age 2.4 days rounds to 2, max 2", 2, {}, {}, 1, now - (day * 24) / 10, true},
        {"age 2.6 days rounds to 3, max 2", 2, {}, {}, 1, now - (day * 26) / 10, false},
        {"younger than min age", {}, 5, {}, 1, now - 4 * day, false},
        {"exactly min age", {}, 5, {}, 1, now - 5 * day, true},
    };
    for (const auto& c : cases) {
        Criteria criteria;
        criteria.maxAgeDays = c.maxAge;
        criteria.minAgeDays = c.minAge;
        criteria.minKb = c.minKb;
        EXPECT_EQ(withinLimits(criteria, c.size, c.modified, now), c.expected) << c.label;
    }
}

TEST(SearchLimits, Fields) {
    EXPECT_EQ(parseLimit(""), std::nullopt);
    EXPECT_EQ(parseLimit("abc"), std::nullopt);
    EXPECT_EQ(parseLimit(" 10 "), 10);
    EXPECT_EQ(ageInDays(86400 * 3, 86400 * 3 + 86400 / 2 + 1), -1);
}

TEST(SearchSpellings, Expressions) {
    Criteria c = texts("Ä");
    const auto spellings = spellingsOf(c);
    ASSERT_EQ(spellings.size(), 2u);
    EXPECT_EQ(expressionOf(spellings[0], false), "[\\xc4\\xe4]");
    EXPECT_EQ(expressionOf(spellings[1], false), "(?:\\xc3\\x84|\\xc3\\xa4)");
    EXPECT_EQ(expressionOf(spellings[1], true), "\\xc3\\x84");
    // An ASCII text is spelt alike in both encodings: one spelling.
    EXPECT_EQ(spellingsOf(texts("abc")).size(), 1u);
    // A character Windows-1252 cannot hold leaves only the UTF-8 spelling.
    const auto euroless = spellingsOf(texts("\xe2\x82\xac"));  // €: in Windows-1252 (0x80)
    EXPECT_EQ(euroless.size(), 2u);
    const auto greek = spellingsOf(texts("\xce\xb1"));  // α
    ASSERT_EQ(greek.size(), 1u);
    EXPECT_TRUE(greek[0].utf8);
}

TEST(SearchOccurrence, FirstOnlyInEitherSpellingAndCase) {
    struct Case {
        const char* label;
        std::string bytes, text;
        bool matchCase;
        std::optional<std::size_t> offset;
        std::size_t length;
    } cases[] = {
        {"first of two", "ab xy ab", "ab", false, 0, 2},
        {"other case", "zz AB", "ab", false, 3, 2},
        {"other case refused with case flag", "zz AB ab", "ab", true, 6, 2},
        {"UTF-8 before Windows-1252", "M\xc3\xbc M\xfc", "Mü", false, 0, 3},
        {"Windows-1252 before UTF-8", "M\xfc M\xc3\xbc", "Mü", false, 0, 2},
        {"absent", "abc", "x", false, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto got = firstOccurrence(c.bytes, c.text, c.matchCase);
        ASSERT_EQ(got.has_value(), c.offset.has_value()) << c.label;
        if (!got) continue;
        EXPECT_EQ(got->offset, *c.offset) << c.label;
        EXPECT_EQ(got->length, c.length) << c.label;
    }
}

TEST(SearchResultLines, Forms) {
    Hit unreadable{"/a/b.txt", 0, 0, true};
    EXPECT_EQ(resultLine(unreadable), "/a/b.txt | konnte nicht durchsucht werden");
    EXPECT_EQ(pathOfResultLine(resultLine(unreadable)), "/a/b.txt");
    Hit hit{"/a/c.txt", 1234567, 0, false};
    const std::string line = resultLine(hit);
    EXPECT_EQ(line.substr(0, 19), "/a/c.txt|1 234 567|");
    EXPECT_EQ(pathOfResultLine(line), "/a/c.txt");
}

}  // namespace
}  // namespace pictra::filesearch
