#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/editing/Colours.h"
#include "pictures/editing/Composing.h"
#include "pictures/editing/Drawing.h"

using namespace pictra::pictures;
using namespace pictra::pictures::editing;

namespace {

constexpr Color32 kRed = 0xFFFF0000u;

Bitmap32 white(int w, int h) {
    Bitmap32 b(w, h);
    b.clear(kWhite);
    return b;
}

// The picture as rows of "#" (painted) and "." (white).
std::vector<std::string> rows(const Bitmap32& b) {
    std::vector<std::string> out;
    for (int y = 0; y < b.height(); ++y) {
        std::string row;
        for (int x = 0; x < b.width(); ++x) row += b.pixel(x, y) == kRed ? '#' : '.';
        out.push_back(row);
    }
    return out;
}

bool painted(const Bitmap32& b, int x, int y) { return b.pixel(x, y) == kRed; }

}  // namespace

TEST(PictureDrawing, LinesThinAndThick) {
    const struct {
        Point from, to;
        int width;
        std::vector<std::string> expected;
    } cases[] = {
        {{1, 1}, {5, 1}, 1, {".......", ".#####.", ".......", "......."}},
        {{5, 1}, {1, 1}, 1, {".......", ".#####.", ".......", "......."}},
        {{0, 0}, {3, 3}, 1, {"#......", ".#.....", "..#....", "...#..."}},
        {{0, 3}, {6, 0}, 1, {".....##", "...##..", ".##....", "#......"}},
        {{2, 2}, {4, 2}, 3, {".......", "..###..", ".#####.", "..###.."}},
        {{3, 1}, {3, 1}, 1, {".......", "...#...", ".......", "......."}},
        // Partly outside: clipped, the rest drawn.
        {{-3, 2}, {2, 2}, 1, {".......", ".......", "###....", "......."}},
    };
    for (const auto& c : cases) {
        Bitmap32 b = white(7, 4);
        drawLine(b, c.from, c.to, c.width, kRed);
        EXPECT_EQ(rows(b), c.expected) << c.from.x << "," << c.from.y << " → " << c.to.x << "," << c.to.y;
    }
    // A line between far points off the picture ends and leaves it white.
    Bitmap32 b = white(3, 3);
    drawLine(b, {-100000, -5}, {100000, -5}, 5, kRed);
    EXPECT_EQ(rows(b), (std::vector<std::string>{"...", "...", "..."}));
}

TEST(PictureDrawing, ArrowHasTwoBarbsAtItsTip) {
    Bitmap32 b = white(24, 20);
    drawArrow(b, {2, 10}, {20, 10}, 1, 6, kRed);
    for (int x = 2; x <= 20; ++x) EXPECT_TRUE(painted(b, x, 10)) << x;
    // The barbs end 6 pixels back from the tip at ±30°: 20 − 5.196 → 15, 10 ∓ 3.
    EXPECT_TRUE(painted(b, 15, 7));
    EXPECT_TRUE(painted(b, 15, 13));
    EXPECT_FALSE(painted(b, 21, 10));
    EXPECT_FALSE(painted(b, 2, 9));
    EXPECT_FALSE(painted(b, 22, 7));
    // Pointing up the barbs hang below the tip.
    Bitmap32 up = white(20, 20);
    drawArrow(up, {10, 18}, {10, 2}, 1, 6, kRed);
    EXPECT_TRUE(painted(up, 7, 7));
    EXPECT_TRUE(painted(up, 13, 7));
    EXPECT_FALSE(painted(up, 7, 1));
    // A zero-length arrow is a dot, a tiny picture takes what fits.
    Bitmap32 dot = white(3, 3);
    drawArrow(dot, {1, 1}, {1, 1}, 1, 6, kRed);
    EXPECT_EQ(rows(dot), (std::vector<std::string>{"...", ".#.", "..."}));
    Bitmap32 one = white(1, 1);
    drawArrow(one, {0, 0}, {0, 5}, 3, 10, kRed);
    EXPECT_TRUE(painted(one, 0, 0));
}

TEST(PictureDrawing, StarCornersStartStraightUpClockwise) {
    const auto c = starCorners({50, 50}, 40);
    const std::array<Point, 5> expected = {Point{50, 10}, Point{88, 38}, Point{74, 82}, Point{26, 82}, Point{12, 38}};
    EXPECT_EQ(c, expected);
}

TEST(PictureDrawing, StarOutlineAndFilled) {
    for (bool filled : {false, true}) {
        Bitmap32 b = white(101, 101);
        drawStar(b, {50, 50}, 40, 1, filled, kRed);
        for (const Point p : starCorners({50, 50}, 40)) EXPECT_TRUE(painted(b, p.x, p.y)) << filled;
        // The centre lies in the inner pentagon: only the filled star paints it.
        EXPECT_EQ(painted(b, 50, 50), filled);
        // Inside the top point, and between the two lower points (outside the star).
        EXPECT_EQ(painted(b, 50, 20), filled);
        EXPECT_FALSE(painted(b, 50, 75));
        EXPECT_FALSE(painted(b, 90, 90));
    }
    // Mostly outside the picture: clipped without harm.
    Bitmap32 small = white(2, 2);
    drawStar(small, {-30, 1}, 40, 3, true, kRed);
    drawStar(small, {0, 0}, 0, 1, true, kRed);
    EXPECT_TRUE(painted(small, 0, 0));
}

TEST(PictureSecondWindow, PastingThePartInItsOtherWays) {
    // A 2 × 2 part: white (its bottom-left, so the transparent colour), black, mid grey, dark 5.
    Bitmap32 part(2, 2);
    part.row(0)[0] = rgb(255, 255, 255);
    part.row(0)[1] = rgb(0, 0, 0);
    part.row(1)[0] = rgb(255, 255, 255);
    part.row(1)[1] = rgb(5, 0, 0);
    const Color32 old = rgb(100, 50, 10);
    const Color32 white = rgb(255, 255, 255);
    const struct {
        PartPaste how;
        std::array<Color32, 4> expected;  // (1,1), (2,1), (1,2), (2,2) of the picture
    } cases[] = {
        {PartPaste::Transparent, {old, rgb(0, 0, 0), old, rgb(5, 0, 0)}},
        {PartPaste::Average, {rgb(177, 152, 132), rgb(50, 25, 5), rgb(177, 152, 132), rgb(52, 25, 5)}},
        // Colour values: black 0 and (5, 0, 0) = 5 stay out, white is copied.
        {PartPaste::NotBlackened, {white, old, white, old}},
    };
    for (const auto& c : cases) {
        Bitmap32 picture(4, 4);
        picture.clear(old);
        pastePart(picture, part, 1, 1, c.how);
        EXPECT_EQ(picture.pixel(1, 1), c.expected[0]) << static_cast<int>(c.how);
        EXPECT_EQ(picture.pixel(2, 1), c.expected[1]) << static_cast<int>(c.how);
        EXPECT_EQ(picture.pixel(1, 2), c.expected[2]) << static_cast<int>(c.how);
        EXPECT_EQ(picture.pixel(2, 2), c.expected[3]) << static_cast<int>(c.how);
        EXPECT_EQ(picture.pixel(0, 0), old);
        EXPECT_EQ(picture.pixel(3, 3), old);
        // Partly outside: clipped on every side, the picture keeps its size.
        Bitmap32 small(1, 1);
        small.clear(old);
        pastePart(small, part, -1, -1, c.how);
        EXPECT_EQ(small.width(), 1);
        EXPECT_EQ(small.pixel(0, 0), c.expected[3]) << static_cast<int>(c.how);
        pastePart(small, part, 1, 0, c.how);
        pastePart(small, Bitmap32(), 0, 0, c.how);
    }
}

TEST(PictureSecondWindow, WhiteIsBlackenedFrom250) {
    Bitmap32 part(4, 1);
    part.row(0)[0] = rgb(250, 250, 250);
    part.row(0)[1] = rgb(249, 255, 255);
    part.row(0)[2] = rgb(255, 255, 255);
    part.row(0)[3] = rgb(255, 250, 251);
    blackenWhite(part);
    EXPECT_EQ(part.pixel(0, 0), kBlack);
    EXPECT_EQ(part.pixel(1, 0), rgb(249, 255, 255));
    EXPECT_EQ(part.pixel(2, 0), kBlack);
    EXPECT_EQ(part.pixel(3, 0), kBlack);
}
