#include <gtest/gtest.h>

#include "shell/Rtf.h"

using namespace pictra;

namespace {

rtf::Document sample() {
    rtf::CharFormat plain;
    rtf::CharFormat hit = plain;
    hit.colour = 255;  // red
    hit.bold = true;
    hit.halfPoints = 32;
    rtf::CharFormat fancy{"DejaVu Sans", 20, 0xFF0000, false, true, true, true};
    rtf::Document d;
    d.paragraphs.push_back({rtf::Align::Left, {{"Gr\xFC\xDF" "e {an} \\alle\\ ", plain}, {"Treffer", hit}}});
    d.paragraphs.push_back({rtf::Align::Center, {{"zentriert\tmit Tab", fancy}}});
    d.paragraphs.push_back({rtf::Align::Left, {}});
    d.paragraphs.push_back({rtf::Align::Right, {{"\x80 rechts", plain}}});
    return d;
}

void expectSame(const rtf::Document& a, const rtf::Document& b) {
    ASSERT_EQ(a.paragraphs.size(), b.paragraphs.size());
    for (size_t p = 0; p < a.paragraphs.size(); ++p) {
        EXPECT_EQ(a.paragraphs[p].align, b.paragraphs[p].align) << p;
        ASSERT_EQ(a.paragraphs[p].runs.size(), b.paragraphs[p].runs.size()) << p;
        for (size_t r = 0; r < a.paragraphs[p].runs.size(); ++r) {
            EXPECT_EQ(a.paragraphs[p].runs[r].text, b.paragraphs[p].runs[r].text);
            EXPECT_TRUE(a.paragraphs[p].runs[r].format == b.paragraphs[p].runs[r].format) << p << "/" << r;
        }
    }
}

}  // namespace

TEST(Rtf, WrittenDocumentsReadBackTheSame) {
    const rtf::Document d = sample();
    const std::string text = rtf::write(d);
    EXPECT_EQ(text.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
    EXPECT_NE(text.find("\\'fc"), std::string::npos);
    expectSame(rtf::read(text), d);
    EXPECT_EQ(rtf::write(rtf::read(text)), text);
}

TEST(Rtf, ReadsWhatWordProcessorsWrite) {
    const std::string word =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}}"
        "{\\colortbl;\\red0\\green0\\blue255;}{\\stylesheet{\\s0 Normal;}}{\\*\\generator Writer;}"
        "{\\info{\\title Brief}}\\pard\\plain\\f1\\fs22 Hallo \\b fett\\b0  und \\cf1 blau\\cf0\\par"
        "\\pard\\qc\\u8364?uro \\u8594\\'3f Pfeil\\par}";
    const rtf::Document d = rtf::read(word);
    ASSERT_EQ(d.paragraphs.size(), 2u);
    const auto& first = d.paragraphs[0].runs;
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0].text, "Hallo ");
    EXPECT_EQ(first[0].format.font, "Arial");
    EXPECT_EQ(first[0].format.halfPoints, 22);
    EXPECT_TRUE(first[1].format.bold);
    EXPECT_EQ(first[2].text, " und ");
    EXPECT_EQ(first[3].format.colour, 0xFF0000u);
    EXPECT_EQ(d.paragraphs[1].align, rtf::Align::Center);
    // A character Windows-1252 lacks stays as its numeric reference.
    EXPECT_EQ(d.paragraphs[1].runs[0].text, "\x80uro &#8594; Pfeil");
}

TEST(Rtf, BrokenInputNeverFails) {
    for (const std::string bad : {"", "{", "}}}", "{\\rtf1 \\'z", "{\\rtf1 \\u", "\\", "{\\fonttbl{\\f0 x", "{\\colortbl\\red999;}"}) {
        const rtf::Document d = rtf::read(bad);
        EXPECT_FALSE(d.paragraphs.empty()) << bad;
    }
}
