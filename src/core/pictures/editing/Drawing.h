#pragma once

#include <array>

#include "pictures/Bitmap32.h"

// Shapes drawn into the working picture: the arrow and the five-pointed star.
namespace pictra::pictures::editing {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A straight line `width` pixels thick (a filled circle of radius (width − 1) div 2
// at every pixel of the thin line), clipped to the picture.
void drawLine(Bitmap32& picture, Point from, Point to, int width, Color32 colour);

// "Pfeil zeichnen": the shaft from `from` to the tip `to` and two barbs at the tip,
// each `head` pixels long and 30 degrees off the shaft. A zero-length arrow is a dot.
void drawArrow(Bitmap32& picture, Point from, Point to, int width, int head, Color32 colour);

// The five outer corners of a star of the given radius, the first straight up, clockwise.
std::array<Point, 5> starCorners(Point centre, int radius);
// "Fünfeckstern einzeichnen": each corner joined to the next but one; filled, the
// whole star (its inner pentagon too) takes the colour.
void drawStar(Bitmap32& picture, Point centre, int radius, int width, bool filled, Color32 colour);

}  // namespace pictra::pictures::editing
