#include <gtest/gtest.h>

#include <random>

#include "common/Text.h"
#include "html/Entities.h"

using pictra::EntityTable;
using pictra::text::replaceAll;

namespace {

// The conversions step by step as the program defines them: every step a
// replace-all over the whole text, the table walked from its last row to its first.
std::string referenceEncode(const EntityTable& table, std::string s) {
    if (s.find("str_replace") != std::string::npos) return s;
    s = replaceAll(s, "\xE2\x80\x93", "&ndash;");
    s = replaceAll(s, "\x97", "&mdash;");
    s = replaceAll(s, "\x96", "&ndash;");
    s = replaceAll(s, "\x84", "&bdquo;");
    s = replaceAll(s, "\x93", "&ldquo;");
    if (s.find("<!--") == std::string::npos) s = replaceAll(s, "--", "&mdash;&mdash;");
    s = replaceAll(s, "&mdash;-", "&mdash;&mdash;");
    s = replaceAll(s, "<!&mdash;&mdash;", "<!--");
    s = replaceAll(s, "&mdash;&mdash;>", "-->");
    const auto& rows = table.rows();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) s = replaceAll(s, std::string(1, it->character), it->entity);
    s = replaceAll(s, "\x92", "'");
    s = replaceAll(s, "\x85", "...");
    s = replaceAll(s, "<br />", "<br>");
    s = replaceAll(s, "<br/>", "<br>");
    s = replaceAll(s, "<hr />", "<hr>");
    s = replaceAll(s, "\x82", "\"");
    s = replaceAll(s, "\x91", "\"");
    return s;
}

std::string referenceDecode(const EntityTable& table, std::string s) {
    const auto& rows = table.rows();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) s = replaceAll(s, it->entity, std::string(1, it->character));
    const std::pair<const char*, const char*> steps[] = {
        {"&mdash;", "-"}, {"&ndash;", "\x96"}, {"&bdquo;", "\x84"}, {"&ldquo;", "\x93"},
        {"&nbsp;&gt;&nbsp;", " \xBB "}, {"&nbsp;&lt;&nbsp;", " \xAB "}, {"&nbsp;=&nbsp;", " = "},
        {"&#228;", "\xE4"}, {"&#246;", "\xF6"}, {"&#252;", "\xFC"}, {"&#223;", "\xDF"}, {"&#196;", "\xC4"},
        {"&#214;", "\xD6"}, {"&#220;", "\xDC"},
        {"\xC3\xA4", "\xE4"}, {"\xC3\xB6", "\xF6"}, {"\xC3\xBC", "\xFC"}, {"\xC3\x9F", "\xDF"}, {"\xC3\x84", "\xC4"},
        {"\xC3\x96", "\xD6"}, {"\xC3\x9C", "\xDC"},
        {"&#8212;", "-"}, {"&#183;", "\xB7"}, {"&#945;", "\xE3"}, {"&#176;", "\xB0"}, {"&#8800;", "\x87"},
        {"&#949;", "\xEB"}, {"&#946;", "\xFE"}, {"&#177;", "\xB1"},
        {"&#195;&#188;", "\xFC"}, {"&#195;&#182;", "\xF6"}, {"&#195;&#164;", "\xE4"}, {"&#195;&#8211;", "\xD6"},
        {"&#195;&#376;", "\xDF"}, {"&#195;&#339;", "\xDC"},
        {"%c3%a4", "\xE4"}, {"%c3%bc", "\xFC"}, {"%2f", " "},
        {"&#8222;", "\x84"}, {"&#8220;", "\""}};
    for (auto [from, to] : steps) s = replaceAll(s, from, to);
    return s;
}

struct Case {
    bool math;
    std::string in;
    std::string out;
};

}  // namespace

TEST(Entities, TableSizesAndModes) {
    EntityTable t;
    EXPECT_TRUE(t.rows().empty());
    t.ensure();
    EXPECT_EQ(t.rows().size(), 96u);
    EXPECT_FALSE(t.mathMode());
    t.buildMath();
    EXPECT_EQ(t.rows().size(), 118u);
    EXPECT_TRUE(t.mathMode());
    t.ensure();  // keeps the mathematical table
    EXPECT_EQ(t.rows().size(), 118u);
    t.clear();
    EXPECT_TRUE(t.rows().empty());
    EXPECT_FALSE(t.mathMode());
}

TEST(Entities, EncodeCases) {
    const Case cases[] = {
        {false, "a--b", "a&mdash;&mdash;b"},
        {false, "a---b", "a&mdash;&mdash;&mdash;b"},
        {false, "<!-- a -- b -->", "<!-- a -- b -->"},
        {false, "-->", "-->"},
        {false, "\xE4\x80\x99", "&auml;&euro;&#153;"},
        {false, "a\xA0\xAD" "b", "a\xA0\xAD" "b"},
        {false, "str_replace(\xE4)", "str_replace(\xE4)"},
        {false, "<br/><br /><hr />", "<br><br><hr>"},
        {false, "it\x92s\x85", "it's..."},
        {false, "\x82x\x91 \x84y\x93", "\"x\" &bdquo;y&ldquo;"},
        {false, "\xE2\x80\x93 \x96 \x97", "&ndash; &ndash; &mdash;"},
        {false, "\x97-", "&mdash;&mdash;"},
        {true, "\xA5 \xAB \xBB \xCB", "&radic; &lt; &gt; &amp;"},
        {false, "\xA5 \xAB", "&yen; &laquo;"},
    };
    for (const auto& c : cases) {
        EntityTable t;
        if (c.math) t.buildMath();
        EXPECT_EQ(t.encode(c.in), c.out) << c.in;
    }
}

TEST(Entities, DecodeCases) {
    const Case cases[] = {
        {false, "&mdash;", "-"},
        {false, "&amp; &lt;", "&amp; &lt;"},
        {true, "&amp; &lt;", "\xCB \xAB"},
        {true, "&yen;&radic;", "\xA5\xA5"},
        {false, "\xC3\xBC%2f", "\xFC "},
        {false, "&auml;&euro;&#153;&szlig;", "\xE4\x80\x99\xDF"},
        {false, "&nbsp;&gt;&nbsp;", " \xBB "},
        {true, "&nbsp;&gt;&nbsp;", "&nbsp;\xBB&nbsp;"},
        {false, "&#195;&#188; &#8222;x&#8220;", "\xFC \x84x\""},
        {false, "&Atilde;&curren;", "\xE4"},
        {false, "\xC3&#8222;", "\xC3\x84"},
        {false, "&&auml;", "&\xE4"},
    };
    for (const auto& c : cases) {
        EntityTable t;
        if (c.math) t.buildMath();
        EXPECT_EQ(t.decode(c.in), c.out) << c.in;
    }
}

TEST(Entities, GermanTextSurvivesEncodeAndDecode) {
    EntityTable t;
    const std::string text = "Gr\xFC\xDF" "e an \xC4rzte, \xD6l und \xDC" "bel f\xFCr M\xE4" "dchen \x80 5";
    EXPECT_EQ(t.decode(t.encode(text)), text);
}

// The fast conversions give exactly what the step-by-step definition gives, on
// random texts full of the pieces that interact.
TEST(Entities, FastConversionsEqualTheStepByStepDefinition) {
    const std::vector<std::string> pieces = {
        "a", " ", "-", "--", "<!--", "-->", "<", ">", "!", "&", ";", "#", "&mdash;", "&ndash;", "&amp;", "&lt;",
        "&gt;", "&nbsp;", "&nbsp;&gt;&nbsp;", "&nbsp;&lt;&nbsp;", "&nbsp;=&nbsp;", "&auml;", "&aum", "uml;",
        "&yen;", "&radic;", "&#195;", "&#188;", "&#8211;", "&#228;", "&#8222;", "&#8220;", "&#153;", "%c3",
        "%a4", "%2f", "%c3%bc", "\xC3", "\xA4", "\xBC", "\x84", "\x93", "\x96", "\x97", "\xE2\x80", "\x93",
        "\xE2\x80\x93", "\x80", "\x85", "\x82", "\x91", "\x92", "\xA0", "\xAD", "\xE4", "\xFF", "<br />", "<br/",
        ">", "<hr />", "str_replace", "&Atilde;", "&curren;", "&#", "&mdash;-", "\xBB", "\xAB", "\xCB", "=",
    };
    std::vector<std::string> texts = {
        "&nbsp;&lt;&nbsp;&gt;&nbsp;", "&nbsp;&gt;&nbsp;&lt;&nbsp;", "&nbsp;=&nbsp;&gt;&nbsp;", "\xC3&#8222;",
        "&Atilde;&curren;", "&#195;&#195;&#188;", "---", "\x97-", "<!---->", "&mdash;--", "&&amp;", "&amp;auml;",
        "\xE2\x80\x93\x93", "<!&mdash;&mdash;", "&mdash;&mdash;>", "\xC3\xC3\xA4", "%c3%c3%a4", "&#195;&#8211;",
    };
    std::mt19937 rng(12345);
    for (int round = 0; round < 20000; ++round) {
        std::string s;
        const int count = static_cast<int>(rng() % 12);
        for (int i = 0; i < count; ++i) {
            if (rng() % 50 == 0 && round % 7 != 0) continue;
            const std::string& p = pieces[rng() % pieces.size()];
            if (p == "str_replace" && rng() % 4 != 0) continue;
            s += p;
        }
        texts.push_back(s);
    }
    for (const std::string& s : texts) {
        for (bool math : {false, true}) {
            EntityTable fast;
            EntityTable reference;
            if (math) {
                fast.buildMath();
                reference.buildMath();
            } else {
                reference.ensure();
            }
            ASSERT_EQ(fast.encode(s), referenceEncode(reference, s)) << "encode, math=" << math << ": " << s;
            ASSERT_EQ(fast.decode(s), referenceDecode(reference, s)) << "decode, math=" << math << ": " << s;
        }
    }
}
