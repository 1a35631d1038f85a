#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "pictures/batch/PictureBatch.h"

// "Überblick über Bilder": the JPEG pictures of a folder as a contact sheet of
// square cells, one screen width wide, one sheet after the other.
namespace pictra::pictures::batch {

struct SheetLayout {
    int columns = 4;
    int rows = 0;
    int cell = 0;  // the side of a square cell
    std::size_t maximum = 0;
};
// 8 columns with "48 Bilder" set, else 4; rows in the screen's proportion.
SheetLayout sheetLayout(bool fortyEight, int screenWidth, int screenHeight);
// The sheet's height for `count` thumbnails, (c + n − 1) × p / c: never shorter than
// the rows they fill, the rest red.
int sheetHeight(const SheetLayout& layout, std::size_t count);
// How far a picture of this width is scaled down while it is decoded: 4, or 2 when
// a quarter would be narrower than half a cell, or 1 when half would be too.
int decodeDenominator(int width, int cell);
// A thumbnail fills the cell's width (landscape) or height (portrait), at least 1 × 1.
Size thumbSize(int width, int height, int cell);

bool isSheetPicture(const std::string& line);

// Where the next sheet starts: the first selected line at or after the current
// line when there is one, else where the last sheet ended.
std::size_t sheetStart(const std::vector<bool>& selected, int currentRow, std::size_t stored);

// Draws the thumbnails onto a sheet the caller shows.
class SheetPainter {
public:
    virtual ~SheetPainter() = default;
    // A new sheet of this size, filled red.
    virtual void begin(int width, int height) = 0;
    // The picture into the cell at (x, y) with its name; false when it cannot be decoded.
    virtual bool draw(const std::string& path, int x, int y, int cell) = 0;
};

struct SheetThumb {
    int x = 0;
    int y = 0;
    std::string path;
};

enum class SheetEnd { NoPictures, Full, ListEnd };

struct Sheet {
    std::vector<SheetThumb> thumbs;  // the first 48, for clicks
    std::size_t drawn = 0;
    SheetEnd end = SheetEnd::NoPictures;
};

inline constexpr const char* kNoSheetPictures = "Im Verzeichnis befinden sich keine (jpg-)Bilder";
inline constexpr const char* kSheetFullNote =
    "Weiter mit Taste: \"Nach unten\"\r\r    Hinweis\rIm Menü \"Ansicht|Einstellungen\" können Sie einstellen, ob "
    "gleichzeitig 12 oder 48 Bilder gezeigt werden";

// One sheet from `start` on (advanced to the line after the last one drawn, or
// back to the first line at the list's end). No picture line at all: the message,
// nothing drawn.
Sheet drawSheet(const std::vector<std::string>& lines, std::size_t& start, const SheetLayout& layout, int screenWidth,
                SheetPainter& painter, Dialogs& dialogs);

}  // namespace pictra::pictures::batch
