#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Captions kept beside a picture in a ".jp0" file: one Windows-1252 line per
// caption line, "#" + size (2 hex digits) + font colour + background (6 hex
// digits each, 0xBBGGRR) + a blank + the text. Also the layouts of text written
// into the pixels (3D and slanted).
namespace pictra::pictures::captions {

// 0xBBGGRR, as the caption file stores it.
using BgrColour = std::uint32_t;
// The background that stands for "transparent".
constexpr BgrColour kTransparent = 0xFFFFFE;

struct CaptionStyle {
    int size = 12;  // points
    BgrColour font = 0x000000;
    BgrColour background = 0xFFFFFF;
    bool operator==(const CaptionStyle&) const = default;
};

struct CaptionLine {
    CaptionStyle style;
    std::string text;
    bool operator==(const CaptionLine&) const = default;
};

// A line read as written: the text after the first blank of a "#" line, each of the
// three fields parsed on its own (a field that is not hexadecimal keeps the
// default); a "#" line without a blank has no text; any other line is all text.
CaptionLine parseCaptionLine(std::string_view line, const CaptionStyle& defaults);
// "#" + size "%.2x" (at most 255) + font "%.6x" + background "%.6x" + " " + text.
std::string formatCaptionLine(const CaptionStyle& style, std::string_view text);

// The caption file of a picture: its path with the extension changed to ".jp0".
std::string captionPathFor(const std::string& picturePath);
// Whether a path names a caption file (".jp0" in any case).
bool isCaptionFile(const std::string& path);
// The picture a caption file belongs to, among the names of its folder: the ".jpg"
// of the same base name, else (in the given order) another picture of that base
// name; empty when there is none. Base names are compared without regard to case.
std::string pictureNameForCaption(const std::string& captionName, const std::vector<std::string>& folderNames);
// The lines of a caption file's bytes (CR LF, CR or LF ends).
std::vector<std::string> splitCaptionLines(std::string_view bytes);
// What "Schliessen" writes: trailing empty lines dropped, every line in one style,
// CR LF after each; empty when nothing remains (the file is then deleted).
std::string captionFileBytes(const std::vector<std::string>& memoLines, const CaptionStyle& style);

// Where a caption line is drawn over a picture.
struct PlacedCaption {
    int x = 0;
    int y = 0;
    CaptionStyle style;
    bool transparent = false;
    std::string text;  // without a leading "_"
};
// Line i at x = 25 + ox, y = round(size × 1.5 × i) + oy; empty texts are left out,
// and so are lines that start below the picture (a file of 100,000 lines costs
// only the lines that can be seen).
std::vector<PlacedCaption> captionPlan(const std::vector<std::string>& lines, const CaptionStyle& defaults, int ox,
                                       int oy, int pictureHeight);

// "Text 3D schreiben": character i at x + (5 × size × i) div 8.
struct Glyph {
    int x = 0;
    int y = 0;
};
std::vector<Glyph> threeDPositions(std::size_t characters, int x, int y, int size);
// The shadow copies drawn before each character: (j, j) for j = 1 … size div 8.
int threeDShadows(int size);
// A slanted line: the first character at (x, y), each following one d higher and
// the previous one's width × √(w² − d²) ÷ w further right (w the whole text's
// width; |d| is held below w, where the root would be undefined).
std::vector<Glyph> slantPositions(const std::vector<int>& widths, int x, int y, int d);

// The explorer preview's companion text: line i at 12 + round(12 × 1.7 × i) below the preview's top.
inline int companionTextY(int i) { return 12 + (204 * i + 5) / 10; }

// The history of texts written into pictures: the program file + "._text_auf_bild".
std::string historyPath(const std::string& programFolder, const std::string& baseName);

}  // namespace pictra::pictures::captions
