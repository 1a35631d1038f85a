// Captions drawn into a picture's pixels: places, backgrounds, and caption files that are no files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "TempDir.h"
#include "pictures/editing/Colours.h"
#include "platform/pictures/CaptionDrawing.h"

using namespace pictra;
namespace cap = pictures::captions;
namespace ed = pictures::editing;
using pictures::Bitmap32;

namespace {

Bitmap32 white(int w, int h) {
    Bitmap32 b(w, h);
    b.clear(ed::kWhite);
    return b;
}

bool inked(const Bitmap32& b, int x, int y) { return ed::redOf(b.pixel(x, y)) < 128; }

// The first and last rows holding dark pixels within rows [from, to).
std::pair<int, int> inkRows(const Bitmap32& b, int from, int to) {
    int first = -1;
    int last = -1;
    for (int y = from; y < to; ++y) {
        for (int x = 0; x < b.width(); ++x) {
            if (inked(b, x, y)) {
                if (first < 0) first = y;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

}  // namespace

TEST(PictureCaptionDrawing, ThreeTwentyPointLinesAtZeroThirtySixty) {
    Bitmap32 b = white(400, 120);
    const std::vector<std::string> lines(3, "#14000000fffffe HXgy");
    platform::pictures::drawCaptions(b, cap::captionPlan(lines, {}, 0, 0, b.height()));
    for (int i = 0; i < 3; ++i) {
        const auto [first, last] = inkRows(b, 30 * i, 30 * i + 30);
        ASSERT_GE(first, 0) << i;
        // Each line's ink lies in its own band of 1.5 × 20 pixels, starting near its top.
        EXPECT_LT(first, 30 * i + 12) << i;
        EXPECT_LE(last, 30 * i + 29) << i;
    }
    // Nothing left of x = 25.
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 24; ++x) ASSERT_FALSE(inked(b, x, y)) << x << "," << y;
    }
}

TEST(PictureCaptionDrawing, OpaqueAndTransparentBackgrounds) {
    const struct {
        const char* line;
        bool background;
    } cases[] = {{"#0c000000ff0000 Text", true},  // blue background (0xBBGGRR)
                 {"#0c000000fffffe Text", false},
                 {"_Text", false},
                 {"Text", true}};
    for (const auto& c : cases) {
        Bitmap32 b = white(200, 40);
        b.clear(ed::rgb(0, 128, 0));
        platform::pictures::drawCaptions(b, cap::captionPlan({c.line}, {12, 0, 0xff0000}, 0, 0, b.height()));
        // Just inside the top left of the text's box: the background, or the green picture.
        EXPECT_EQ(b.pixel(25, 0) == ed::rgb(0, 0, 255), c.background) << c.line;
        EXPECT_EQ(b.pixel(24, 0), ed::rgb(0, 128, 0)) << c.line;
    }
}

TEST(PictureCaptionDrawing, CaptionFilesThatAreNoFiles) {
    test::TempDir dir;
    const std::string picture = dir.file("foto.jpg");
    Bitmap32 b = white(100, 50);
    EXPECT_FALSE(platform::pictures::drawCaptionFile(b, picture, {}));  // none
    std::filesystem::create_directory(dir.file("foto.jp0"));
    EXPECT_FALSE(platform::pictures::drawCaptionFile(b, picture, {}));  // a folder
    std::filesystem::remove(dir.file("foto.jp0"));
    ASSERT_EQ(mkfifo(dir.file("foto.jp0").c_str(), 0600), 0);
    EXPECT_FALSE(platform::pictures::drawCaptionFile(b, picture, {}));  // a FIFO: no wait
    std::filesystem::remove(dir.file("foto.jp0"));
    // Binary bytes, CR-only ends and one long line: drawn as far as they go, no crash.
    std::string binary;
    for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
    std::ofstream(dir.file("foto.jp0"), std::ios::binary) << binary << "\rzwei\r" << std::string(1 << 20, 'x');
    EXPECT_TRUE(platform::pictures::drawCaptionFile(b, picture, {}));
    EXPECT_EQ(platform::pictures::readCaptionLines(picture).size(), 5u);  // split at bytes 10 and 13 too
    Bitmap32 one = white(1, 1);
    platform::pictures::drawCaptionFile(one, picture, {});
}
