#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pictures/Bitmap32.h"

// The picture window's rules as functions of sizes, lists and bitmaps.
namespace pictra::pictures::viewer {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The display size: the source itself at full size (or when it is at least as
// large as the screen and "Zu große Bilder auf Dauer verkleinern" is off);
// otherwise fitted to the screen height, the width allowed to pass the screen
// width by an eighth, never larger than the source.
Size displaySize(Size source, Size screen, bool fullSize, bool shrinkLarge);

enum class ZoomKey { Larger, Smaller, Slightly };  // Right arrow, Left arrow, "<"
// The new display size after a zoom key: the height times √2, 0.91700405 or 0.99, rounded.
Size zoomed(Size display, Size source, ZoomKey key);

// "Original: " + width + ":" + height, with " (p:q)" or " (ca. p:q)" for a simple ratio.
std::string sizeCaption(Size source);

// The pictures of a folder listing, in its order: the paths that pass the picture test.
std::vector<std::string> pictureList(const std::vector<std::string>& paths);

// Stepping through the list from the current file (compared by file name, ignoring
// case; a file not in the list counts as index 0); `wrapped` when it went round.
struct Step {
    int index = 0;
    bool wrapped = false;
};
std::optional<Step> step(const std::vector<std::string>& list, const std::string& current, bool forward);

// A rectangle marked on the display, in source pixels (× source width ÷ display width, rounded).
Rect toSource(const Rect& marked, Size display, Size source);
// The source cut to the rectangle (clipped to the picture).
Bitmap32 cut(const Bitmap32& source, const Rect& rect);

// The colour steps: new = clamp(offset + value × (100 + percent) ÷ 100, 0, 255) per channel.
struct Curve {
    int red = 0;
    int green = 0;
    int blue = 0;
    int offset = 0;
    bool offsetIsPercent = false;  // each channel's offset is its own percent ("mehr rot" …)
};
void applyCurve(Bitmap32& picture, const Curve& curve, const Rect* inside = nullptr);
// Sum of the colour values (blue × 65536 + green × 256 + red) on the diagonal x = y.
long long diagonalSum(const Bitmap32& picture);
// "Heller", "Dunkler", "mehr Kontrast": all three percents set, so the curve runs
// with offset 0 and, if that changed the diagonal by less than 100, once more
// with offset = percent.
void brighten(Bitmap32& picture, int percent, const Rect* inside = nullptr);

// "13:9" → (13, 9); otherwise the German error text to show.
struct Ratio {
    int a = 0;
    int b = 0;
    std::string error;
};
Ratio parseRatio(const std::string& text);
// F3: the bottom-right corner moved so that the marking has the ratio a:b (turned
// to the marking's orientation), moving it up while it would leave the picture.
struct Corners {
    int x0, y0, x1, y1;
};
Corners keepRatio(Corners c, int a, int b, int pictureWidth);

// "Einfärben": with tolerance 256 every pixel with a channel at or below 240 is
// painted; otherwise a pixel each of whose channels differs from `remembered` by
// less than the tolerance.
void colourIn(Bitmap32& picture, Color32 remembered, int tolerance, Color32 paint);

// The size panel's linked fields, always from the source size: a new width, a new
// height or a new percent gives the other two (percent as "0.##" with a comma).
struct PanelSize {
    int width;
    int height;
    std::string percent;
};
PanelSize fromWidth(Size source, int width);
PanelSize fromHeight(Size source, int height);
PanelSize fromPercent(Size source, double percent);

// Inserting an extra picture at (x, y) of the picture (the picture already large
// enough): copied, copied where not nearly black (colour value above 6), or mixed
// half and half.
// Smooth: the extra picture fades into the picture towards its edges (its own
// pixels full in the middle, the picture's at the border).
enum class InsertMode { Copy, SkipBlack, Transparent, Smooth };
void insertPicture(Bitmap32& picture, const Bitmap32& extra, int x, int y, InsertMode mode);
// The picture grown by white margins so that a w × h part fits at (x, y); x and y
// become the part's place in the grown picture.
void growToFit(Bitmap32& picture, int& x, int& y, int w, int h);

// "Zeichne Regenbogenfarben": the hues from red to violet across the picture.
void drawRainbow(Bitmap32& picture);

// The drawn message picture: 600 × 300, black (the texts are written by the window).
Bitmap32 messagePicture();

// "Dunkler, aber weiß bleibt weiß": the step of percent −5 with offset −5, only on
// pixels whose channel sum red + green + blue is below 765 − t.
void darkenKeepingWhite(Bitmap32& picture, int t, const Rect* inside = nullptr);

// F7: the part of the picture the screen still shows when the window stands at
// (left, top) with the display size, in source pixels.
Rect visiblePart(int left, int top, Size display, Size screen, Size source);

// The base name for the next cut of a picture: the name split at its first digit,
// the number there counted on ("bild07" → "bild08", "foto" → "foto1").
std::string nextCutName(const std::string& base);

// A corner put within 5 pixels of an edge (not on it) is offered that edge: the
// low side is 0, the high side extent − 1.
bool nearEdge(int position, int extent, bool lowSide);

}  // namespace pictra::pictures::viewer
