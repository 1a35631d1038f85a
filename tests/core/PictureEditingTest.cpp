#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "pictures/AffineTransformation.h"
#include "pictures/editing/Colours.h"
#include "pictures/editing/Composing.h"
#include "pictures/editing/Cuts.h"
#include "pictures/editing/Filters.h"
#include "pictures/editing/Orientation.h"

using namespace pictra::pictures;
using namespace pictra::pictures::editing;

namespace {

Color32 grey(int v) { return rgb(v, v, v); }

// A bitmap of grey values given row by row.
Bitmap32 greys(int w, int h, std::initializer_list<int> values) {
    Bitmap32 b(w, h);
    int i = 0;
    for (int v : values) {
        b.row(i / w)[i % w] = grey(v);
        ++i;
    }
    return b;
}

std::vector<int> redsOf(const Bitmap32& b) {
    std::vector<int> out;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) out.push_back(redOf(b.pixel(x, y)));
    }
    return out;
}

// Pixel (x, y) is 16·y + x, so every pixel says where it came from.
Bitmap32 numbered(int w, int h) {
    Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) b.row(y)[x] = 0xFF000000u + static_cast<Color32>(16 * y + x);
    }
    return b;
}

}  // namespace

TEST(PictureEditingMask, ItemNames) {
    const struct {
        const char* name;
        int mask;
    } cases[] = {{"Mheller007", 7},    {"Mheller448", 448}, {"Mheller1024", 1024},
                 {"_Mheller065", 65},  {"Mheller", 0},      {"Mhellerabc", 0}};
    for (const auto& c : cases) EXPECT_EQ(maskFromItemName(c.name), c.mask) << c.name;
}

TEST(PictureEditingMask, ChannelTable) {
    const int values[] = {0, 9, 10, 169, 170, 228, 229, 255};
    const struct {
        int mask;
        int expected[8];
    } cases[] = {
        {7, {0, 10, 11, 187, 188, 253, 255, 255}},     // brighter 1,1
        {448, {0, 13, 15, 253, 255, 255, 255, 255}},   // brighter 1,5
        {56, {0, 8, 9, 152, 153, 205, 206, 229}},      // darker
        {512, {0, 0, 0, 159, 160, 218, 219, 245}},     // less haze
        {1024, {10, 19, 20, 179, 180, 238, 239, 255}}, // more haze
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(maskedChannel(c.mask, 73, values[i]), c.expected[i]) << c.mask << " " << values[i];
        }
    }
}

TEST(PictureEditingMask, ChannelsChosenByTheMask) {
    const struct {
        int mask;
        Color32 expected;
    } cases[] = {{65, rgb(111, 100, 100)}, {130, rgb(100, 111, 100)}, {260, rgb(100, 100, 111)},
                 {8, rgb(90, 100, 100)},   {16, rgb(100, 90, 100)},   {32, rgb(100, 100, 90)},
                 {512, rgb(90, 90, 90)}};
    for (const auto& c : cases) {
        Bitmap32 b = greys(1, 1, {100});
        applyMask(b, c.mask);
        EXPECT_EQ(b.pixel(0, 0), c.expected) << c.mask;
    }
    Bitmap32 haze = greys(2, 1, {5, 200});
    applyMask(haze, maskFromItemName("Mheller512"));
    EXPECT_EQ(redsOf(haze), (std::vector<int>{0, 190}));
}

TEST(PictureEditingColours, BlackAndWhite) {
    Bitmap32 b(2, 1);
    b.row(0)[0] = rgb(50, 40, 30);  // sum 120
    b.row(0)[1] = rgb(50, 50, 30);  // sum 130
    greyToBlackWhite(b);
    EXPECT_EQ(b.pixel(0, 0), kBlack);
    EXPECT_EQ(b.pixel(1, 0), kWhite);

    Bitmap32 t(2, 1);
    t.row(0)[0] = rgb(3, 3, 3);
    t.row(0)[1] = rgb(3, 4, 3);
    darkToWhite(t, 4);
    EXPECT_EQ(t.pixel(0, 0), kWhite);
    EXPECT_EQ(t.pixel(1, 0), rgb(3, 4, 3));

    Bitmap32 s(2, 1);
    s.row(0)[0] = rgb(59, 59, 59);
    s.row(0)[1] = rgb(59, 60, 59);
    blackWhite(s, 60);
    EXPECT_EQ(s.pixel(0, 0), kBlack);
    EXPECT_EQ(s.pixel(1, 0), kWhite);
}

TEST(PictureEditingColours, BlackAndWhiteSamplesTheWholeOfAOnePixelPicture) {
    const struct {
        int w, h;
        int rows, columns;  // the ranges asked of the random source
    } cases[] = {{3, 2, 1, 2}, {1, 1, 1, 1}, {1, 20000, 19999, 1}, {20000, 1, 1, 19999}};
    for (const auto& c : cases) {
        Bitmap32 b(c.w, c.h);
        b.clear(rgb(30, 60, 90));
        std::vector<int> asked;
        const int t = blackWhiteThreshold(b, [&](int n) {
            asked.push_back(n);
            return n - 1;
        });
        EXPECT_EQ(t, 60);
        ASSERT_EQ(asked.size(), 2000u);
        EXPECT_EQ(asked[0], c.rows);
        EXPECT_EQ(asked[1], c.columns);
    }
}

TEST(PictureEditingColours, ScaledChannelRoundsTiesToEven) {
    const struct {
        int value, percent, expected;
    } cases[] = {{10, 5, 10}, {30, 5, 32}, {10, -5, 10}, {15, 10, 16}, {25, 10, 28},
                 {100, 20, 120}, {250, 20, 255}, {200, -20, 160}, {0, 20, 0}};
    for (const auto& c : cases) EXPECT_EQ(scaledChannel(c.value, c.percent), c.expected) << c.value << " " << c.percent;
}

TEST(PictureEditingColours, DarkAndBrightAreas) {
    const struct {
        Color32 in;
        Color32 dark;    // after brightenDark(128)
        Color32 bright;  // after darkenBright(512)
    } cases[] = {
        {grey(10), grey(12), grey(10)},                              // sum 30 < d: × 1,20
        {rgb(42, 42, 43), rgb(50, 50, 52), rgb(42, 42, 43)},         // sum 127 < d
        {rgb(42, 43, 43), rgb(46, 47, 47), rgb(42, 43, 43)},         // sum 128 = d: × 1,10
        {grey(90), grey(94), grey(90)},                              // sum 270: × 1,05, 94,5 → 94
        {grey(130), grey(130), grey(130)},                           // sum 390 ≥ 3d; ≤ d − 64
        {rgb(149, 149, 150), rgb(149, 149, 150), rgb(149, 149, 150)},  // 448 = d − 64
        {grey(160), grey(160), grey(152)},                           // 480: × 0,95
        {rgb(170, 171, 171), rgb(170, 171, 171), rgb(153, 154, 154)},  // 512 = d: × 0,90
        {grey(200), grey(200), grey(160)},                           // 600 > d: × 0,80
    };
    for (const auto& c : cases) {
        Bitmap32 a(1, 1), b(1, 1);
        a.row(0)[0] = b.row(0)[0] = c.in;
        brightenDark(a, 128);
        darkenBright(b, 512);
        EXPECT_EQ(a.pixel(0, 0), c.dark) << std::hex << c.in;
        EXPECT_EQ(b.pixel(0, 0), c.bright) << std::hex << c.in;
    }
}

TEST(PictureEditingColours, MirrorsInvertCartoonShift) {
    Bitmap32 m = greys(3, 1, {1, 2, 3});
    mirror(m);
    EXPECT_EQ(redsOf(m), (std::vector<int>{3, 2, 1}));
    Bitmap32 v = greys(4, 1, {1, 2, 3, 4});
    mirrorToMiddleVertical(v);
    EXPECT_EQ(redsOf(v), (std::vector<int>{4, 3, 3, 4}));
    Bitmap32 h = greys(1, 3, {1, 2, 3});
    mirrorToMiddleHorizontal(h);
    EXPECT_EQ(redsOf(h), (std::vector<int>{3, 2, 3}));
    Bitmap32 i = greys(1, 1, {0});
    invertColours(i);
    EXPECT_EQ(i.pixel(0, 0), kWhite);

    Bitmap32 c = greys(2, 1, {200, 63});
    EXPECT_FALSE(cartoon(c, 0));
    EXPECT_FALSE(cartoon(c, -50));
    EXPECT_EQ(redsOf(c), (std::vector<int>{200, 63}));
    EXPECT_TRUE(cartoon(c, 64));
    EXPECT_EQ(redsOf(c), (std::vector<int>{192, 0}));

    Bitmap32 s(1, 1);
    s.row(0)[0] = rgb(250, 5, 100);
    shiftColours(s, 10, -10, 0);
    EXPECT_EQ(s.pixel(0, 0), rgb(255, 0, 100));
    EXPECT_EQ(colourCode(rgb(10, 171, 255)), "#0AABFF");
}

TEST(PictureEditingColours, ReplacementAtOldPlusMinusTolerance) {
    const struct {
        Color32 pixel;
        bool replaced;
    } cases[] = {{rgb(109, 91, 100), true}, {rgb(110, 100, 100), false}, {rgb(100, 90, 100), false},
                 {rgb(100, 100, 100), true}};
    for (const auto& c : cases) {
        Bitmap32 b(1, 1);
        b.row(0)[0] = c.pixel;
        replaceColour(b, grey(100), 10, rgb(1, 2, 3));
        EXPECT_EQ(b.pixel(0, 0), c.replaced ? rgb(1, 2, 3) : c.pixel) << std::hex << c.pixel;
    }
}

TEST(PictureEditingColours, HardAndSoftChange) {
    // Colour 1 gives the lower bounds, colour 2 the upper: reversed they hold nothing.
    Bitmap32 hard = greys(1, 1, {80});
    hardChange(hard, rgb(100, 60, 60), rgb(50, 150, 150), 0, kBlack);
    EXPECT_EQ(hard.pixel(0, 0), grey(80));
    hardChange(hard, rgb(50, 60, 60), rgb(100, 150, 150), 0, kBlack);
    EXPECT_EQ(hard.pixel(0, 0), kBlack);

    // In-range neighbours 9, 5 and 4 give the weights 1800 (the new colour), 1000 and 800.
    const struct {
        std::initializer_list<int> picture;
        int expectedCentre;
    } cases[] = {{{100, 100, 100, 100, 100, 100, 100, 100, 100}, 110},
                 {{0, 100, 0, 100, 100, 100, 0, 100, 0}, 110},
                 {{0, 100, 0, 100, 100, 0, 0, 100, 0}, 108}};
    for (const auto& c : cases) {
        Bitmap32 b = greys(3, 3, c.picture);
        softChange(b, grey(100), grey(100), 16, rgb(110, 100, 100));
        EXPECT_EQ(redOf(b.pixel(1, 1)), c.expectedCentre);
        EXPECT_EQ(greenOf(b.pixel(1, 1)), 100);
        EXPECT_EQ(redOf(b.pixel(0, 1)), 100);  // the border stays
    }
}

TEST(PictureEditingFilters, SmoothingInPlaceInColumnOrder) {
    Bitmap32 b = greys(4, 4, {0, 0, 0, 0, 0, 90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 90});
    smooth(b);
    EXPECT_EQ(redsOf(b), (std::vector<int>{0, 0, 0, 0, 0, 10, 1, 0, 0, 1, 11, 0, 0, 0, 0, 90}));
    for (auto [w, h] : {std::pair{2, 5}, std::pair{5, 2}, std::pair{1, 1}, std::pair{1, 20000}}) {
        Bitmap32 small(w, h);
        for (int i = 0; i < w * h; ++i) small.bits()[i] = grey(i % 256);
        const Bitmap32 before = small;
        smooth(small);
        EXPECT_EQ(redsOf(small), redsOf(before)) << w << "x" << h;
    }
}

TEST(PictureEditingFilters, SharpeningInFixedPoint) {
    const Bitmap32 b = greys(4, 4, {10, 10, 10, 10, 10, 50, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    EXPECT_EQ(redsOf(sharpened(b, 3)), (std::vector<int>{10, 10, 10, 10, 10, 114, 0, 10, 10, 0, 10, 10, 10, 10, 10, 10}));
    const struct {
        double in, used;
    } factors[] = {{0, 1.1}, {1, 1.1}, {-50, 1.1}, {3, 3}, {6, 5.9}, {1e9, 5.9}};
    for (const auto& f : factors) EXPECT_DOUBLE_EQ(sharpenFactor(f.in), f.used);
    for (auto [w, h] : {std::pair{2, 2}, std::pair{1, 20000}, std::pair{1, 1}}) {
        Bitmap32 small(w, h);
        small.clear(grey(7));
        EXPECT_EQ(redsOf(sharpened(small, 6)), redsOf(small));
    }
}

TEST(PictureEditingFilters, ContourPasses) {
    const struct {
        int input, t;
    } thresholds[] = {{0, 128}, {128, 128}, {255, 1}, {1, 255}, {256, 128}, {-10, 128}};
    for (const auto& c : thresholds) EXPECT_EQ(contourThreshold(c.input), c.t) << c.input;

    // The reference moves on only at a jump: 50 is marked, 60 is not, 200 is.
    Bitmap32 source(4, 1);
    for (int x = 0; x < 4; ++x) source.row(0)[x] = rgb(std::vector<int>{0, 50, 60, 200}[static_cast<size_t>(x)], 0, 0);
    Bitmap32 target(4, 1);
    target.clear(kWhite);
    contourRows(source, target, 0, 40, rgb(255, 0, 0));
    EXPECT_EQ(redsOf(target), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(greenOf(target.pixel(1, 0)), 0);
    EXPECT_EQ(greenOf(target.pixel(2, 0)), 255);
    EXPECT_EQ(greenOf(target.pixel(3, 0)), 0);

    Bitmap32 column = greys(1, 3, {0, 0, 0});
    column.row(2)[0] = rgb(0, 0, 2);  // colour value 2 × 65536 > 8³
    Bitmap32 greyTarget(1, 3);
    greyTarget.clear(kWhite);
    contourGreyColumns(column, greyTarget, 8);
    EXPECT_EQ(greyTarget.pixel(0, 2), kBlack);
    EXPECT_EQ(greyTarget.pixel(0, 1), kWhite);

    Bitmap32 picture = greys(2, 2, {9, 9, 9, 9});
    Bitmap32 marks(2, 2);
    marks.clear(kBlack);
    takeContours(marks, picture);
    EXPECT_EQ(redsOf(picture), (std::vector<int>{9, 9, 9, 0}));  // x ≥ 1 and y ≥ 1 only
}

TEST(PictureEditingCompose, RasterOperationsOnSinglePixels) {
    const Color32 d = 0xFFCC00F0u, s = 0xFFAA5533u, p = 0xFF0000FFu;
    const Color32 expected[15] = {0xffee55f3, 0xffddaafc, 0xff880030, 0xff6655c3, 0xff33ff0f,
                                  0xff000033, 0xff55aacc, 0xff11aa0c, 0xff0000ff, 0xffcc000f,
                                  0xffddaaff, 0xffaa5533, 0xff225503, 0xff000000, 0xffffffff};
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(rasterOperation(i, d, s, p), expected[i - 1]) << i;
}

TEST(PictureEditingCompose, TilesCoverTheWindow) {
    Bitmap32 picture = greys(3, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    tile(picture, greys(2, 2, {1, 2, 3, 4}), 12, kBlack);
    EXPECT_EQ(redsOf(picture), (std::vector<int>{1, 2, 1, 3, 4, 3, 1, 2, 1}));
    // A tile larger than the window: one tile at (0, 0).
    Bitmap32 small = greys(2, 2, {0, 0, 0, 0});
    tile(small, greys(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}), 12, kBlack);
    EXPECT_EQ(redsOf(small), (std::vector<int>{1, 2, 4, 5}));
}

TEST(PictureEditingCompose, SoftPasteWeights) {
    const SoftEdges two{2, 2, 2, 2};
    const struct {
        int j, i;
        SoftEdges edges;
        int w;
    } cases[] = {{5, 5, two, 1000}, {5, 1, two, 500}, {1, 1, two, 250},  {5, 8, two, 500}, {8, 8, two, 250},
                 {0, 5, two, 0},    {9, 5, two, 0},   {7, 7, two, 1000}, {5, 0, two, 0},
                 {0, 0, {0, 0, 0, 0}, 1000},          {9, 9, {0, 0, 0, 0}, 1000},
                 {2, 1, {3, 3, 0, 0}, 222}};
    for (const auto& c : cases) EXPECT_EQ(softWeight(c.j, c.i, 10, 10, c.edges), c.w) << c.j << "," << c.i;

    Bitmap32 picture = greys(1, 3, {0, 0, 0});
    softPaste(picture, greys(1, 3, {200, 200, 200}), 0, 0, {2, 0, 0, 0});
    EXPECT_EQ(redsOf(picture), (std::vector<int>{0, 100, 200}));

    Bitmap32 grows = greys(2, 2, {0, 0, 0, 0});
    softPaste(grows, greys(2, 2, {7, 7, 7, 7}), 1, 1, {0, 0, 0, 0});
    EXPECT_EQ(redsOf(grows), (std::vector<int>{0, 0, 255, 0, 7, 7, 255, 7, 7}));
}

TEST(PictureEditingCompose, TracingTakesNearPixels) {
    Bitmap32 field(3, 1);
    field.clear(rgb(185, 115, 115));
    Bitmap32 picture = greys(2, 1, {100, 120});
    traceColour(field, picture, grey(110), 10);
    EXPECT_EQ(field.pixel(0, 0), rgb(185, 115, 115));  // |100 − 110| is not below 10
    picture.row(0)[0] = grey(101);
    traceColour(field, picture, grey(110), 10);
    EXPECT_EQ(field.pixel(0, 0), grey(110));
    EXPECT_EQ(field.pixel(2, 0), rgb(185, 115, 115));  // outside the picture
}

TEST(PictureEditingCompose, HistoryKeepsTenSteps) {
    EditHistory history;
    Bitmap32 b(1, 1);
    for (int i = 0; i < 12; ++i) {
        b.clear(grey(i));
        EXPECT_TRUE(history.remember(b));
    }
    EXPECT_EQ(history.size(), 10u);
    for (int i = 11; i >= 2; --i) {
        ASSERT_TRUE(history.undo(b));
        EXPECT_EQ(b.pixel(0, 0), grey(i));
    }
    EXPECT_FALSE(history.undo(b));
    EditHistory tight(10, 16);
    EXPECT_FALSE(tight.remember(Bitmap32(3, 3)));  // 36 bytes do not fit
    EXPECT_TRUE(tight.remember(Bitmap32(2, 2)));
    EXPECT_TRUE(tight.remember(Bitmap32(2, 2)));
    EXPECT_EQ(tight.size(), 1u);
}

TEST(PictureEditingCuts, CutTableOnEightBySix) {
    const Rect marked{2, 1, 5, 4};
    const struct {
        CutKind kind;
        int w, h;
        Color32 topLeft;
        const char* note;
    } cases[] = {
        {CutKind::Section, 3, 3, 18, ""},
        {CutKind::KeepFromTopLeft, 6, 5, 18, "Nur der Teil links-oben wird abgeschnitten"},
        {CutKind::KeepToBottomRight, 5, 4, 0, "Nur der Teil rechts-unten wird abgeschnitten"},
        {CutKind::RightOnly, 5, 6, 0, "Nur der Teil rechts wird abgeschnitten"},
        {CutKind::Horizontal, 8, 3, 16, "Die Breite bleibt erhalten. Die Höhe wird kleiner."},
        {CutKind::Vertical, 3, 6, 2, "Die Höhe bleibt erhalten. Die Breite wird kleiner."},
    };
    for (const auto& c : cases) {
        Bitmap32 b = numbered(8, 6);
        cutTo(b, cutRect(c.kind, marked, 8, 6));
        EXPECT_EQ(b.width(), c.w);
        EXPECT_EQ(b.height(), c.h);
        EXPECT_EQ(b.pixel(0, 0) & 0xFFFF, c.topLeft);
        EXPECT_STREQ(cutNote(c.kind), c.note);
    }
    Bitmap32 rows = numbered(8, 6);
    removeRows(rows, 1, 4);
    EXPECT_EQ(rows.height(), 3);
    EXPECT_EQ(rows.pixel(0, 1) & 0xFFFF, 64u);
    EXPECT_EQ(rows.pixel(7, 2) & 0xFFFF, 87u);

    const Rect r = markedRect({-3, 1, 6, 6}, {4, 3, 6, 6}, 8, 6);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right, 8);
    EXPECT_EQ(r.bottom, 6);

    Bitmap32 pasted = numbered(2, 2);
    pasteAt(pasted, numbered(2, 1), 1, 1);
    EXPECT_EQ(pasted.width(), 3);
    EXPECT_EQ(pasted.pixel(2, 0), kWhite);
    EXPECT_EQ(pasted.pixel(2, 1) & 0xFFFF, 1u);
}

TEST(PictureEditingCuts, AspectWidths) {
    EXPECT_EQ(aspectWidth(300, 200, 4.0f / 3.0f), 267);
    EXPECT_EQ(aspectWidth(100, 200, 4.0f / 3.0f), 150);
    EXPECT_EQ(aspectWidth(300, 200, 3.0f / 2.0f), 300);
    EXPECT_EQ(aspectWidth(300, 90, 13.0f / 9.0f), 130);
}

TEST(PictureEditingScaling, Table) {
    const struct {
        int w, h;
        double f;
        int sw, sh;
        const char* label;
    } cases[] = {{640, 480, 1.5, 960, 720, "(150%)"}, {640, 480, 2, 1280, 960, "(200%)"},
                 {640, 480, 0.5, 320, 240, "(50%)"},  {3, 5, 0.5, 2, 2, "(50%)"},
                 {1, 1, 0.5, 1, 1, "(50%)"},          {300, 300, 2.0 / 3.0, 200, 200, "(66,7%)"},
                 {1000, 10, 0.001, 1, 1, "(0,1%)"}};
    for (const auto& c : cases) {
        const Scaled s = scaledSize(c.w, c.h, c.f);
        EXPECT_EQ(s.width, c.sw) << c.w << " " << c.f;
        EXPECT_EQ(s.height, c.sh) << c.h << " " << c.f;
        EXPECT_EQ(percentLabel(c.f), c.label);
    }
    EXPECT_DOUBLE_EQ(*fitFactor(4000, 3000, 1024, 768), 0.256);
    EXPECT_FALSE(fitFactor(1000, 750, 1024, 768));
    EXPECT_DOUBLE_EQ(*fitFactor(500, 400, 1024, 768), 1.92);
    EXPECT_FALSE(usableFactor(-0.5));
    EXPECT_FALSE(usableFactor(0));
    EXPECT_FALSE(usableFactor(1e9));
    EXPECT_DOUBLE_EQ(*usableFactor(1.5), 1.5);

    const Bitmap32 s = stretched(greys(2, 1, {1, 2}), 4, 1);
    EXPECT_EQ(redsOf(s), (std::vector<int>{1, 1, 2, 2}));
}

TEST(PictureEditingScaling, HalvesAndNames) {
    const Halves h = halves(numbered(5, 1));
    EXPECT_EQ(h.left.width(), 2);
    EXPECT_EQ(h.right.width(), 3);
    EXPECT_EQ(h.right.pixel(0, 0) & 0xFFFF, 2u);
    EXPECT_EQ(withBeforeExtension("/a/b.c/bild.JPG", "_l"), "/a/b.c/bild_l.JPG");
    EXPECT_EQ(withBeforeExtension("/a/b.c/bild", "_00"), "/a/b.c/bild_00");
    const Halves one = halves(numbered(1, 1));
    EXPECT_TRUE(one.left.empty());
    EXPECT_EQ(one.right.width(), 1);
}

TEST(PictureEditingOrientation, AllEightTagsGiveTheUprightPicture) {
    // Stored 3 × 2 with pixel (x, y) = 16·y + x; the upright picture row by row.
    const struct {
        int orientation;
        int w, h;
        std::vector<int> rows;
    } cases[] = {{1, 3, 2, {0, 1, 2, 16, 17, 18}}, {2, 3, 2, {2, 1, 0, 18, 17, 16}},
                 {3, 3, 2, {18, 17, 16, 2, 1, 0}}, {4, 3, 2, {16, 17, 18, 0, 1, 2}},
                 {5, 2, 3, {0, 16, 1, 17, 2, 18}}, {6, 2, 3, {16, 0, 17, 1, 18, 2}},
                 {7, 2, 3, {18, 2, 17, 1, 16, 0}}, {8, 2, 3, {2, 18, 1, 17, 0, 16}},
                 {0, 3, 2, {0, 1, 2, 16, 17, 18}}, {9, 3, 2, {0, 1, 2, 16, 17, 18}}};
    for (const auto& c : cases) {
        Bitmap32 b = numbered(3, 2);
        orientUpright(b, c.orientation);
        ASSERT_EQ(b.width(), c.w) << c.orientation;
        ASSERT_EQ(b.height(), c.h) << c.orientation;
        std::vector<int> got;
        for (int y = 0; y < b.height(); ++y) {
            for (int x = 0; x < b.width(); ++x) got.push_back(static_cast<int>(b.pixel(x, y) & 0xFF));
        }
        EXPECT_EQ(got, c.rows) << c.orientation;
        EXPECT_EQ(orientationSwapsSides(c.orientation), c.w == 2);
    }
}

TEST(PictureEditingSizes, TinyAndThinPicturesThroughEveryFilter) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 20000}, std::pair{20000, 1}}) {
        Bitmap32 b(w, h);
        b.clear(rgb(100, 150, 200));
        const std::function<void(Bitmap32&)> filters[] = {
            [](Bitmap32& p) { applyMask(p, 7); },          [](Bitmap32& p) { darkToWhite(p, 4); },
            [](Bitmap32& p) { blackWhite(p, 100); },       [](Bitmap32& p) { greyToBlackWhite(p); },
            [](Bitmap32& p) { brightenDark(p, 128); },     [](Bitmap32& p) { darkenBright(p, 512); },
            [](Bitmap32& p) { invertColours(p); },         [](Bitmap32& p) { mirror(p); },
            [](Bitmap32& p) { mirrorToMiddleVertical(p); }, [](Bitmap32& p) { mirrorToMiddleHorizontal(p); },
            [](Bitmap32& p) { cartoon(p, 64); },           [](Bitmap32& p) { shiftColours(p, 5, 5, 5); },
            [](Bitmap32& p) { replaceColour(p, 0, 16, kWhite); },
            [](Bitmap32& p) { softChange(p, 0, kWhite, 16, kBlack); },
            [](Bitmap32& p) { hardChange(p, 0, kWhite, 16, kBlack); },
            [](Bitmap32& p) { smooth(p); },                [](Bitmap32& p) { p = sharpened(p, 3); },
            [](Bitmap32& p) { tile(p, greys(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}), 4, 0); },
            [](Bitmap32& p) { softPaste(p, greys(1, 1, {7}), 0, 0, {}); },
            [](Bitmap32& p) { rotateInFrame(p, -1e9f); },  [](Bitmap32& p) { rotateInFrame(p, 0); },
        };
        for (const auto& filter : filters) {
            filter(b);
            EXPECT_EQ(b.width(), w);
            EXPECT_EQ(b.height(), h);
        }
        const int t = blackWhiteThreshold(b, [](int n) { return n / 2; });
        EXPECT_GE(t, 0);
        EXPECT_LE(t, 255);
        cutTo(b, {0, 0, 1, 1});
        EXPECT_EQ(b.width(), 1);
        const Scaled s = scaledSize(w, h, 0.5);
        EXPECT_EQ(stretched(b, s.width, s.height).width(), s.width);
    }
}
