#pragma once

#include <optional>
#include <string>

#include "pictures/Bitmap32.h"

// Cutting, pasting, scaling and halving the working picture.
namespace pictra::pictures::editing {

// The marked rectangle from the two marker shapes (their left/top and size).
struct MarkerShape {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
Rect markedRect(const MarkerShape& topLeft, const MarkerShape& bottomRight, int pictureWidth, int pictureHeight);

enum class CutKind {
    Section,          // "Bild auf Abschnitt verkleinern"
    KeepFromTopLeft,  // "(nur links-oben abschneiden)"
    KeepToBottomRight,  // "(nur rechts-unten abschneiden"
    RightOnly,        // "(nur rechts abschneiden)"
    Horizontal,       // "Horizontal schneiden"
    Vertical,         // "Vertikal schneiden"
};
// The rectangle a cut uses, and the note it shows ("" for none).
Rect cutRect(CutKind kind, const Rect& marked, int pictureWidth, int pictureHeight);
const char* cutNote(CutKind kind);
// The rectangle copied to the origin; the picture takes its size. Empty rectangles change nothing.
void cutTo(Bitmap32& picture, const Rect& rect);
// "Horizontalen Teil wegschneiden": rows top … bottom − 1 removed.
void removeRows(Bitmap32& picture, int top, int bottom);
// The part copied with its top-left at (x, y); the picture grows (white) when needed.
void pasteAt(Bitmap32& picture, const Bitmap32& part, int x, int y);
// The part of the picture inside the rectangle (clipped).
Bitmap32 copyRect(const Bitmap32& picture, const Rect& rect);

// The width an aspect command gives the marking of height h and width w: upright
// (w < h) round(h ÷ q), else round(h × q).
int aspectWidth(int markedWidth, int markedHeight, float q);

// The size scaling by f gives: round(f × width) × round(f × height), at least 1 × 1.
struct Scaled {
    int width = 0;
    int height = 0;
};
Scaled scaledSize(int width, int height, double f);
// The label appended to the name: "(" + percent as "#0.#" with a German comma + "%)".
std::string percentLabel(double f);
// The picture stretched to the size by nearest drawing.
Bitmap32 stretched(const Bitmap32& picture, int width, int height);
// The factor fitting the picture into the screen: min(sh ÷ h, sw ÷ w); nullopt within 0.9 … 1.1.
std::optional<double> fitFactor(int width, int height, int screenWidth, int screenHeight);
// A factor typed by the user: its value, nullopt for one that cannot make a picture.
std::optional<double> usableFactor(double f);

// A path with `insert` put before its extension ("a/b.jpg", "_l" → "a/b_l.jpg").
std::string withBeforeExtension(const std::string& path, const std::string& insert);
// The halves of "Bild halbieren": split at width div 2.
struct Halves {
    Bitmap32 left;
    Bitmap32 right;
};
Halves halves(const Bitmap32& picture);

// A white frame of `border` pixels around the picture ("Bildrahmen vergrößern").
Bitmap32 framed(const Bitmap32& picture, int border, Color32 colour);
// A filled circle of radius r around (cx, cy), clipped (the pixel pen).
void fillCircle(Bitmap32& picture, int cx, int cy, int r, Color32 colour);

}  // namespace pictra::pictures::editing
