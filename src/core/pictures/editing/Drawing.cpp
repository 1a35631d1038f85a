#include "Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Cuts.h"

namespace pictra::pictures::editing {

namespace {

constexpr double kPi = 3.14159265358979323846;

Point rounded(double x, double y) { return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))}; }

// Whether the pixel centre (x, y) lies inside the closed polygon by the non-zero winding rule.
bool inside(const std::array<Point, 5>& polygon, double x, double y) {
    int winding = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i];
        const Point b = polygon[(i + 1) % polygon.size()];
        const double cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y) {
            if (b.y > y && cross > 0) ++winding;
        } else if (b.y <= y && cross < 0) {
            --winding;
        }
    }
    return winding != 0;
}

}  // namespace

void drawLine(Bitmap32& picture, Point from, Point to, int width, Color32 colour) {
    const int r = std::max(0, (width - 1) / 2);
    // Bresenham: every step moves one pixel along the longer side.
    int x = from.x;
    int y = from.y;
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    // A line far outside the picture still ends: at most the longer side in steps.
    for (long long steps = 0; steps <= static_cast<long long>(dx) - dy; ++steps) {
        fillCircle(picture, x, y, r, colour);
        if (x == to.x && y == to.y) break;
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void drawArrow(Bitmap32& picture, Point from, Point to, int width, int head, Color32 colour) {
    drawLine(picture, from, to, width, colour);
    if (from == to || head <= 0) return;
    const double back = std::atan2(static_cast<double>(from.y - to.y), static_cast<double>(from.x - to.x));
    for (double turn : {-kPi / 6, kPi / 6}) {
        const Point end = rounded(to.x + head * std::cos(back + turn), to.y + head * std::sin(back + turn));
        drawLine(picture, to, end, width, colour);
    }
}

std::array<Point, 5> starCorners(Point centre, int radius) {
    std::array<Point, 5> corners;
    for (int k = 0; k < 5; ++k) {
        const double angle = -kPi / 2 + k * 2 * kPi / 5;
        corners[static_cast<std::size_t>(k)] =
            rounded(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle));
    }
    return corners;
}

void drawStar(Bitmap32& picture, Point centre, int radius, int width, bool filled, Color32 colour) {
    const auto corners = starCorners(centre, radius);
    // The drawing order of the pentagram: every second corner.
    const std::array<Point, 5> path = {corners[0], corners[2], corners[4], corners[1], corners[3]};
    if (filled) {
        const int top = std::max(0, centre.y - radius);
        const int bottom = std::min(picture.height() - 1, centre.y + radius);
        const int left = std::max(0, centre.x - radius);
        const int right = std::min(picture.width() - 1, centre.x + radius);
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                if (inside(path, x, y)) picture.row(y)[x] = colour | 0xFF000000u;
            }
        }
    }
    for (std::size_t i = 0; i < path.size(); ++i) drawLine(picture, path[i], path[(i + 1) % path.size()], width, colour);
}

}  // namespace pictra::pictures::editing
