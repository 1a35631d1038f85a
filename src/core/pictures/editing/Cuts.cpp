#include "pictures/editing/Cuts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "pictures/Resampler.h"
#include "pictures/editing/Colours.h"

namespace pictra::pictures::editing {

Rect markedRect(const MarkerShape& topLeft, const MarkerShape& bottomRight, int pictureWidth, int pictureHeight) {
    return {std::max(topLeft.left, 0), std::max(topLeft.top, 0),
            std::min(bottomRight.left + bottomRight.width, pictureWidth),
            std::min(bottomRight.top + bottomRight.height, pictureHeight)};
}

Rect cutRect(CutKind kind, const Rect& m, int pictureWidth, int pictureHeight) {
    switch (kind) {
        case CutKind::Section: return m;
        case CutKind::KeepFromTopLeft: return {m.left, m.top, pictureWidth, pictureHeight};
        case CutKind::KeepToBottomRight: return {0, 0, m.right, m.bottom};
        case CutKind::RightOnly: return {0, 0, m.right, pictureHeight};
        case CutKind::Horizontal: return {0, m.top, pictureWidth, m.bottom};
        case CutKind::Vertical: return {m.left, 0, m.right, pictureHeight};
    }
    return m;
}

const char* cutNote(CutKind kind) {
    switch (kind) {
        case CutKind::KeepFromTopLeft: return "Nur der Teil links-oben wird abgeschnitten";
        case CutKind::KeepToBottomRight: return "Nur der Teil rechts-unten wird abgeschnitten";
        case CutKind::RightOnly: return "Nur der Teil rechts wird abgeschnitten";
        case CutKind::Horizontal: return "Die Breite bleibt erhalten. Die Höhe wird kleiner.";
        case CutKind::Vertical: return "Die Höhe bleibt erhalten. Die Breite wird kleiner.";
        case CutKind::Section: break;
    }
    return "";
}

Bitmap32 copyRect(const Bitmap32& picture, const Rect& rect) {
    const Rect r = intersect(rect, picture.bounds());
    Bitmap32 part;
    if (r.empty()) return part;
    part.setSize(r.width(), r.height());
    for (int y = 0; y < r.height(); ++y) {
        std::copy_n(picture.row(r.top + y) + r.left, r.width(), part.row(y));
    }
    return part;
}

void cutTo(Bitmap32& picture, const Rect& rect) {
    const Rect r = intersect(rect, picture.bounds());
    if (r.empty()) return;
    picture = copyRect(picture, r);
}

void removeRows(Bitmap32& picture, int top, int bottom) {
    top = std::clamp(top, 0, picture.height());
    bottom = std::clamp(bottom, top, picture.height());
    if (bottom == top || bottom - top >= picture.height()) return;
    const auto w = static_cast<std::size_t>(picture.width());
    for (int y = bottom; y < picture.height(); ++y) {
        std::copy_n(picture.row(y), w, picture.row(top + y - bottom));
    }
    Bitmap32 shorter(picture.width(), picture.height() - (bottom - top));
    std::copy_n(picture.bits(), w * static_cast<std::size_t>(shorter.height()), shorter.bits());
    picture = std::move(shorter);
}

void pasteAt(Bitmap32& picture, const Bitmap32& part, int x, int y) {
    if (part.empty()) return;
    x = std::max(x, 0);
    y = std::max(y, 0);
    const int w = std::max(picture.width(), x + part.width());
    const int h = std::max(picture.height(), y + part.height());
    if (w != picture.width() || h != picture.height()) {
        Bitmap32 larger(w, h);
        larger.clear(kWhite);
        draw(larger, 0, 0, picture);
        picture = std::move(larger);
    }
    for (int row = 0; row < part.height(); ++row) {
        Color32* target = picture.row(y + row) + x;
        const Color32* source = part.row(row);
        for (int i = 0; i < part.width(); ++i) target[i] = source[i] | 0xFF000000u;
    }
}

int aspectWidth(int markedWidth, int markedHeight, float q) {
    const float h = static_cast<float>(markedHeight);
    return static_cast<int>(std::nearbyint(markedWidth < markedHeight ? h / q : h * q));
}

Scaled scaledSize(int width, int height, double f) {
    const double w = std::nearbyint(f * width);
    const double h = std::nearbyint(f * height);
    return {static_cast<int>(std::clamp(w, 1.0, 1e9)), static_cast<int>(std::clamp(h, 1.0, 1e9))};
}

std::string percentLabel(double f) {
    // "#0.#": at most one decimal, none when it is 0.
    const long long tenths = std::llround(f * 1000);
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += "," + std::to_string(std::llabs(tenths % 10));
    return "(" + text + "%)";
}

Bitmap32 stretched(const Bitmap32& picture, int width, int height) {
    Bitmap32 out(width, height);
    if (picture.empty() || out.empty()) return out;
    if (picture.stretchFilter == StretchFilter::Nearest && picture.drawMode == DrawMode::Opaque) {
        stretchDraw(out, out.bounds(), picture, picture.bounds());
        return out;
    }
    Bitmap32 source(picture);
    source.stretchFilter = StretchFilter::Nearest;
    source.drawMode = DrawMode::Opaque;
    stretchDraw(out, out.bounds(), source, source.bounds());
    return out;
}

std::optional<double> fitFactor(int width, int height, int screenWidth, int screenHeight) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const double f = std::min(static_cast<double>(screenHeight) / height, static_cast<double>(screenWidth) / width);
    if (f >= 0.9 && f <= 1.1) return std::nullopt;
    return f;
}

std::optional<double> usableFactor(double f) {
    if (!(f > 0) || !std::isfinite(f) || f > 100) return std::nullopt;
    return f;
}

std::string withBeforeExtension(const std::string& path, const std::string& insert) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + insert;
    return path.substr(0, dot) + insert + path.substr(dot);
}

Halves halves(const Bitmap32& picture) {
    const int split = picture.width() / 2;
    return {copyRect(picture, {0, 0, split, picture.height()}),
            copyRect(picture, {split, 0, picture.width(), picture.height()})};
}

Bitmap32 framed(const Bitmap32& picture, int border, Color32 colour) {
    border = std::clamp(border, 0, 10000);
    Bitmap32 out(picture.width() + 2 * border, picture.height() + 2 * border);
    out.clear(colour | 0xFF000000u);
    draw(out, border, border, picture);
    return out;
}

void fillCircle(Bitmap32& picture, int cx, int cy, int r, Color32 colour) {
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            if (dx * dx + dy * dy <= r * r) picture.setPixelChecked(cx + dx, cy + dy, colour | 0xFF000000u);
        }
    }
}

}  // namespace pictra::pictures::editing
