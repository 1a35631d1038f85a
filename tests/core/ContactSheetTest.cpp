#include <gtest/gtest.h>

#include <set>

#include "ScriptedDialogs.h"
#include "pictures/batch/ContactSheet.h"

using namespace pictra;
using namespace pictra::pictures::batch;

namespace {

// Records what is drawn where; the names in `broken` cannot be decoded.
class RecordingPainter : public SheetPainter {
public:
    void begin(int width, int height) override { sheets.push_back({width, height}); }
    bool draw(const std::string& path, int x, int y, int cell) override {
        EXPECT_EQ(cell, 256);
        if (broken.count(path))
            return false;
        drawn.push_back({x, y, path});
        return true;
    }
    std::vector<Size> sheets;
    std::vector<SheetThumb> drawn;
    std::set<std::string> broken;
};

std::vector<std::string> folderLines(int pictures) {
    std::vector<std::string> lines{"liesmich.txt"};
    for (int i = 1; i <= pictures; ++i) lines.push_back("bild" + std::to_string(i) + (i % 2 ? ".jpg" : ".JPEG"));
    return lines;
}

}  // namespace

TEST(ContactSheet, LayoutFollowsTheScreen) {
    const struct {
        bool fortyEight;
        int w, h;
        int columns, rows, cell;
        std::size_t maximum;
    } cases[] = {
        {false, 1024, 768, 4, 3, 256, 12}, {true, 1024, 768, 8, 6, 128, 48},
        {false, 1920, 1080, 4, 2, 480, 8}, {true, 1920, 1080, 8, 5, 240, 40},
        {false, 3, 1, 4, 1, 1, 4},        {false, 0, 0, 4, 1, 1, 4},
    };
    for (const auto& c : cases) {
        const SheetLayout l = sheetLayout(c.fortyEight, c.w, c.h);
        EXPECT_EQ(l.columns, c.columns) << c.w;
        EXPECT_EQ(l.rows, c.rows) << c.w;
        EXPECT_EQ(l.cell, c.cell) << c.w;
        EXPECT_EQ(l.maximum, c.maximum) << c.w;
    }
    const SheetLayout l = sheetLayout(false, 1024, 768);
    EXPECT_EQ(sheetHeight(l, 1), 256);
    EXPECT_EQ(sheetHeight(l, 4), 448);
    EXPECT_EQ(sheetHeight(l, 5), 512);
    EXPECT_EQ(sheetHeight(l, 12), 960);
}

TEST(ContactSheet, DecodeScaleAndThumbSize) {
    const struct {
        int width, cell, denominator;
    } scales[] = {{4000, 256, 4}, {600, 256, 4}, {500, 256, 2}, {256, 256, 2}, {255, 256, 1}, {1, 256, 1}};
    for (const auto& s : scales) EXPECT_EQ(decodeDenominator(s.width, s.cell), s.denominator) << s.width;
    EXPECT_EQ(thumbSize(4000, 3000, 256), (Size{256, 192}));
    EXPECT_EQ(thumbSize(3000, 4000, 256), (Size{192, 256}));
    EXPECT_EQ(thumbSize(20000, 1, 256), (Size{256, 1}));
    EXPECT_EQ(thumbSize(0, 0, 256), (Size{256, 256}));
}

TEST(ContactSheet, SheetsFollowEachOtherAndStartAgainAtTheEnd) {
    const auto lines = folderLines(15);
    const SheetLayout layout = sheetLayout(false, 1024, 768);
    RecordingPainter painter;
    painter.broken = {"bild2.JPEG"};
    test::ScriptedDialogs dialogs;
    std::size_t start = 0;
    const Sheet first = drawSheet(lines, start, layout, 1024, painter, dialogs);
    EXPECT_EQ(first.end, SheetEnd::Full);
    ASSERT_EQ(first.drawn, 12u);
    EXPECT_EQ(painter.sheets.front(), (Size{1024, 960}));
    const std::vector<std::pair<int, int>> expected{{0, 0},     {256, 0},   {512, 0},   {768, 0},
                                                    {0, 256},   {256, 256}, {512, 256}, {768, 256},
                                                    {0, 512},   {256, 512}, {512, 512}, {768, 512}};
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(std::make_pair(first.thumbs[i].x, first.thumbs[i].y), expected[i]) << i;
    }
    EXPECT_EQ(first.thumbs[1].path, "bild3.jpg");
    EXPECT_EQ(first.thumbs[11].path, "bild13.jpg");
    EXPECT_EQ(start, 14u);
    const Sheet second = drawSheet(lines, start, layout, 1024, painter, dialogs);
    EXPECT_EQ(second.end, SheetEnd::ListEnd);
    EXPECT_EQ(second.drawn, 2u);
    EXPECT_EQ(painter.sheets.back(), (Size{1024, 320}));
    EXPECT_EQ(second.thumbs[1].path, "bild15.jpg");
    EXPECT_EQ(start, 0u);
    EXPECT_TRUE(dialogs.log().empty());
}

TEST(ContactSheet, StartAndFolderWithoutJpegs) {
    EXPECT_EQ(sheetStart({false, true, false, true}, 2, 1), 3u);
    EXPECT_EQ(sheetStart({false, true, false, false}, 2, 1), 1u);
    EXPECT_EQ(sheetStart({}, -1, 7), 7u);
    RecordingPainter painter;
    test::ScriptedDialogs dialogs;
    dialogs.expectInform("Im Verzeichnis befinden sich keine (jpg-)Bilder");
    std::size_t start = 0;
    const Sheet sheet = drawSheet({"a.png", "b.txt"}, start, sheetLayout(false, 1024, 768), 1024, painter, dialogs);
    EXPECT_EQ(sheet.end, SheetEnd::NoPictures);
    EXPECT_TRUE(painter.sheets.empty());
    EXPECT_TRUE(dialogs.scriptDone());
    // A start behind the last picture goes back to the first line.
    std::size_t late = 3;
    drawSheet({"a.jpg", "b.jpg", "c.txt", "d.txt"}, late, sheetLayout(false, 1024, 768), 1024, painter, dialogs);
    EXPECT_EQ(painter.drawn.size(), 2u);
}
