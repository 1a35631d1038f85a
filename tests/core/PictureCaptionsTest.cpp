#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/captions/Captions.h"

using namespace pictra::pictures::captions;

namespace {

const CaptionStyle kDefaults{12, 0x000000, 0xFFFFFF};

}  // namespace

TEST(PictureCaptions, ParseTable) {
    const struct {
        const char* line;
        CaptionStyle style;
        const char* text;
    } cases[] = {
        // 12 points, red (0xBBGGRR), transparent.
        {"#0c0000fffffffe Hallo", {12, 0x0000ff, 0xfffffe}, "Hallo"},
        // No background field before the blank: the default background.
        {"#140000ff Text", {20, 0x0000ff, 0xffffff}, "Text"},
        {"_Hallo Welt", kDefaults, "_Hallo Welt"},
        {"Hallo", kDefaults, "Hallo"},
        {"", kDefaults, ""},
        {"#", kDefaults, ""},
        {"#0c0000fffffffe", kDefaults, ""},   // "#" without a blank: no text
        {"#140000fffffffe ", kDefaults, ""},  // nothing after the blank: the fields stay unread
        // Each field not hexadecimal in turn keeps its default alone.
        {"#zz0000fffffffe x", {12, 0x0000ff, 0xfffffe}, "x"},
        {"#14zzzzzzfffffe x", {20, 0x000000, 0xfffffe}, "x"},
        {"#140000ffzzzzzz x", {20, 0x0000ff, 0xffffff}, "x"},
        // The fields stand at fixed places, so they may run past the blank into the text.
        {"#1 0000fffffffe x", {12, 0x0000ff, 0xfffffe}, "0000fffffffe x"},
        {"#_ Text", kDefaults, "Text"},
        {"#0c0000fffffffe _Text", {12, 0x0000ff, 0xfffffe}, "_Text"},
        // A text after an early blank that starts with hex digits: only whole fields of them count.
        {"#0c00 abcdef012345", {12, 0x000000, 0xdef012}, "abcdef012345"},
        {"#0c00 abc", {12, 0x000000, 0xffffff}, "abc"},
        {"#ff0000FFFFFFFE  zwei Blanks", {255, 0x0000ff, 0xfffffe}, " zwei Blanks"},
        // Bytes of UTF-8 stay as they are (shown as their Windows-1252 characters).
        {"#0c000000ffffff Gr\xC3\xBC\xC3\x9F" "e", {12, 0, 0xffffff}, "Gr\xC3\xBC\xC3\x9F" "e"},
    };
    for (const auto& c : cases) {
        const CaptionLine line = parseCaptionLine(c.line, kDefaults);
        EXPECT_EQ(line.style, c.style) << c.line;
        EXPECT_EQ(line.text, c.text) << c.line;
    }
}

TEST(PictureCaptions, FormatAndParseRoundTrips) {
    const struct {
        CaptionStyle style;
        const char* text;
        const char* line;
    } cases[] = {{{12, 0x0000ff, 0xfffffe}, "Hallo", "#0c0000fffffffe Hallo"},
                 {{255, 0xabcdef, 0x000000}, "_x", "#ffabcdef000000 _x"},
                 {{1, 0, 0xffffff}, "#0c #", "#01000000ffffff #0c #"},
                 {{20, 0x102030, 0x405060}, " ", "#14102030405060  "}};
    for (const auto& c : cases) {
        EXPECT_EQ(formatCaptionLine(c.style, c.text), c.line);
        const CaptionLine back = parseCaptionLine(c.line, kDefaults);
        EXPECT_EQ(back.style, c.style) << c.line;
        EXPECT_EQ(back.text, c.text) << c.line;
    }
    EXPECT_EQ(formatCaptionLine({300, 0x1000000, 0xffffff}, "x"), "#ff000000ffffff x");
}

TEST(PictureCaptions, FileLinesAndWhatSchliessenWrites) {
    EXPECT_EQ(splitCaptionLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitCaptionLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitCaptionLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(splitCaptionLines("").empty());
    const CaptionStyle style{20, 0x0000ff, kTransparent};
    EXPECT_EQ(captionFileBytes({"erste", "", "zweite", "", ""}, style),
              "#140000fffffffe erste\r\n#140000fffffffe \r\n#140000fffffffe zweite\r\n");
    EXPECT_EQ(captionFileBytes({"", ""}, style), "");
    EXPECT_EQ(captionFileBytes({}, style), "");
    EXPECT_EQ(captionPathFor("/a/b.c/Foto.JPG"), "/a/b.c/Foto.jp0");
    EXPECT_EQ(captionPathFor("/a/b.c/ohne"), "/a/b.c/ohne.jp0");
    EXPECT_EQ(historyPath("/prog/", "pictra"), "/prog/pictra._text_auf_bild");
}

TEST(PictureCaptions, DrawingPlan) {
    const std::vector<std::string> three(3, "#14000000ffffff Zeile");
    const auto plan = captionPlan(three, kDefaults, 0, 0, 1000);
    ASSERT_EQ(plan.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plan[static_cast<std::size_t>(i)].x, 25);
        EXPECT_EQ(plan[static_cast<std::size_t>(i)].y, 30 * i);
    }
    // Moved off the screen: the caption follows into the visible corner.
    const auto moved = captionPlan(three, kDefaults, 5, 7, 1000);
    EXPECT_EQ(moved[2].x, 30);
    EXPECT_EQ(moved[2].y, 67);
    // Line numbers count empty lines; 13 points × 1.5 = 19.5 rounds to 20.
    const auto spaced = captionPlan({"#0d000000ffffff a", "", "#0d000000ffffff _b", "#0d000000fffffe c", "_"}, kDefaults,
                                    0, 0, 1000);
    ASSERT_EQ(spaced.size(), 3u);
    EXPECT_EQ(spaced[0].y, 0);
    EXPECT_EQ(spaced[1].y, 39);
    EXPECT_EQ(spaced[1].text, "b");
    EXPECT_TRUE(spaced[1].transparent);
    EXPECT_EQ(spaced[2].y, 59);
    EXPECT_TRUE(spaced[2].transparent);
    EXPECT_FALSE(spaced[0].transparent);
    // 100,000 lines on a picture 100 high: only those starting inside it.
    const std::vector<std::string> many(100000, "Zeile");
    const auto few = captionPlan(many, kDefaults, 0, 0, 100);
    EXPECT_EQ(few.size(), 6u);  // y = 0, 18, … 90
    EXPECT_EQ(few.back().y, 90);
    EXPECT_TRUE(captionPlan({"#00000000ffffff unsichtbar"}, kDefaults, 0, 0, 100).empty());
    EXPECT_TRUE(captionPlan(three, kDefaults, 0, 0, 0).empty());
}

TEST(PictureCaptions, ThreeDAndSlantLayouts) {
    const auto at16 = threeDPositions(3, 10, 5, 16);
    ASSERT_EQ(at16.size(), 3u);
    EXPECT_EQ(at16[1].x, 20);
    EXPECT_EQ(at16[2].x, 30);
    EXPECT_EQ(at16[2].y, 5);
    const auto at20 = threeDPositions(3, 10, 5, 20);
    EXPECT_EQ(at20[1].x, 22);  // 100 div 8
    EXPECT_EQ(at20[2].x, 35);
    EXPECT_EQ(threeDShadows(20), 2);
    EXPECT_EQ(threeDShadows(7), 0);
    EXPECT_TRUE(threeDPositions(0, 0, 0, 12).empty());

    const struct {
        int d;
        std::vector<int> xs, ys;
    } cases[] = {{0, {0, 10, 20}, {0, 0, 0}},
                 // w = 30: √(900 − 36) ÷ 30 = 0.9798 of each width.
                 {6, {0, 10, 20}, {0, -6, -12}},
                 {-6, {0, 10, 20}, {0, 6, 12}},
                 // |d| ≥ w: the root takes w − 1 = 29 (√59 ÷ 30 = 0.256), the climb stays d.
                 {100, {0, 3, 5}, {0, -100, -200}}};
    for (const auto& c : cases) {
        const auto g = slantPositions({10, 10, 10}, 0, 0, c.d);
        ASSERT_EQ(g.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(g[i].x, c.xs[i]) << c.d << " " << i;
            EXPECT_EQ(g[i].y, c.ys[i]) << c.d << " " << i;
        }
    }
    EXPECT_TRUE(slantPositions({}, 0, 0, 5).empty());
    EXPECT_EQ(slantPositions({0}, 3, 4, 5).size(), 1u);
}

TEST(PictureCaptions, CompanionTextLinesInThePreview) {
    EXPECT_EQ(companionTextY(0), 12);
    EXPECT_EQ(companionTextY(1), 32);  // 20.4
    EXPECT_EQ(companionTextY(2), 53);  // 40.8
    EXPECT_EQ(companionTextY(5), 114);  // 102
}
