#include "Viewer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/Numbers.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"

namespace pictra::pictures::viewer {

Size displaySize(Size source, Size screen, bool fullSize, bool shrinkLarge) {
    if (source.width <= 0 || source.height <= 0) return {0, 0};
    const bool large = source.width >= screen.width || source.height >= screen.height;
    if (fullSize || (large && !shrinkLarge)) return source;
    Size d{static_cast<int>(static_cast<long long>(source.width) * screen.height / source.height), screen.height};
    if (d.width > screen.width * 9 / 8) {
        d.height = static_cast<int>(static_cast<long long>(d.height) * screen.width / d.width);
        d.width = screen.width;
    }
    if (d.width > source.width || d.height > source.height) return source;
    return d;
}

Size zoomed(Size display, Size source, ZoomKey key) {
    const double factor = key == ZoomKey::Larger    ? 1.4142135623730950488
                          : key == ZoomKey::Smaller ? static_cast<double>(0.91700405f)
                                                    : static_cast<double>(0.99f);
    const int height = std::max(1, static_cast<int>(std::lround(display.height * factor)));
    const int width = std::max(1, static_cast<int>(static_cast<long long>(source.width) * height / std::max(source.height, 1)));
    return {width, height};
}

std::string sizeCaption(Size source) {
    std::string caption = "Original: " + std::to_string(source.width) + ":" + std::to_string(source.height);
    if (source.width <= 0 || source.height <= 0) return caption;
    const double ratio = static_cast<double>(source.width) / source.height;
    // Continued fraction until p/q is within 0.01 of the ratio.
    long long p = 1, pPrev = 0, q = 0, qPrev = 1;
    double y = ratio;
    for (int i = 0; i < 20; ++i) {
        double a = std::floor(y);
        if (y - a > 1 - 1e-5) a += 1;  // just below the next integer
        const long long ai = static_cast<long long>(a);
        const long long pNew = ai * p + pPrev;
        const long long qNew = ai * q + qPrev;
        pPrev = p;
        qPrev = q;
        p = pNew;
        q = qNew;
        if (std::fabs(ratio - static_cast<double>(p) / q) < 0.01) break;
        const double f = y - a;
        if (f <= 0) break;
        y = 1 / f;
    }
    if (p < 30 && q < 30 && std::llabs(source.width - p) >= 11) {
        const bool exact = std::fabs(ratio - static_cast<double>(p) / q) < 0.01;
        caption += (exact ? " (" : " (ca. ") + std::to_string(p) + ":" + std::to_string(q) + ")";
    }
    return caption;
}

std::vector<std::string> pictureList(const std::vector<std::string>& paths) {
    std::vector<std::string> list;
    for (const auto& path : paths) {
        if (isPictureFile(path)) list.push_back(path);
    }
    return list;
}

std::optional<Step> step(const std::vector<std::string>& list, const std::string& current, bool forward) {
    if (list.empty()) return std::nullopt;
    const std::string name = text::toLowerAscii(pathnames::fileNamePart(current));
    int index = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (text::toLowerAscii(pathnames::fileNamePart(list[i])) == name) {
            index = static_cast<int>(i);
            break;
        }
    }
    const int count = static_cast<int>(list.size());
    Step s;
    s.index = index + (forward ? 1 : -1);
    if (s.index >= count) {
        s.index = 0;
        s.wrapped = true;
    } else if (s.index < 0) {
        s.index = count - 1;
        s.wrapped = true;
    }
    return s;
}

Rect toSource(const Rect& marked, Size display, Size source) {
    const float f = static_cast<float>(source.width) / static_cast<float>(std::max(display.width, 1));
    const auto scale = [f](int v) { return static_cast<int>(std::lround(static_cast<float>(v) * f)); };
    return {scale(marked.left), scale(marked.top), scale(marked.right), scale(marked.bottom)};
}

Bitmap32 cut(const Bitmap32& source, const Rect& rect) {
    const Rect r = intersect(rect, source.bounds());
    Bitmap32 out(r.width(), r.height());
    for (int y = 0; y < r.height(); ++y) {
        std::copy(source.row(r.top + y) + r.left, source.row(r.top + y) + r.right, out.row(y));
    }
    return out;
}

void applyCurve(Bitmap32& picture, const Curve& curve, const Rect* inside) {
    const Rect area = inside ? intersect(*inside, picture.bounds()) : picture.bounds();
    const auto channel = [&curve](int value, int percent) {
        const int offset = curve.offsetIsPercent ? percent : curve.offset;
        return std::clamp(offset + value * (100 + percent) / 100, 0, 255);
    };
    for (int y = area.top; y < area.bottom; ++y) {
        Color32* row = picture.row(y);
        for (int x = area.left; x < area.right; ++x) {
            const Color32 p = row[x];
            const int r = channel(static_cast<int>((p >> 16) & 0xFF), curve.red);
            const int g = channel(static_cast<int>((p >> 8) & 0xFF), curve.green);
            const int b = channel(static_cast<int>(p & 0xFF), curve.blue);
            row[x] = (p & 0xFF000000u) | (static_cast<Color32>(r) << 16) | (static_cast<Color32>(g) << 8) |
                     static_cast<Color32>(b);
        }
    }
    picture.changed();
}

long long diagonalSum(const Bitmap32& picture) {
    long long sum = 0;
    for (int i = 0; i < std::min(picture.width(), picture.height()); ++i) {
        const Color32 p = picture.pixel(i, i);
        sum += static_cast<long long>(p & 0xFF) * 65536 + ((p >> 8) & 0xFF) * 256 + ((p >> 16) & 0xFF);
    }
    return sum;
}

void brighten(Bitmap32& picture, int percent, const Rect* inside) {
    const long long before = diagonalSum(picture);
    applyCurve(picture, {percent, percent, percent, 0}, inside);
    if (std::llabs(diagonalSum(picture) - before) < 100) applyCurve(picture, {percent, percent, percent, percent}, inside);
}

Ratio parseRatio(const std::string& text) {
    const char* example = "Beispiel für die Eingabe: \"13:9\" !";
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return {0, 0, std::string("Doppelpunkt fehlt!\r") + example};
    const auto a = text::parseInt(text::trim(text.substr(0, colon)));
    const auto b = text::parseInt(text::trim(text.substr(colon + 1)));
    if (!a || !b || *a <= 0 || *b <= 0 || *a > 100000 || *b > 100000) {
        return {0, 0, std::string("Falsche Eingabe!\r") + example};
    }
    return {static_cast<int>(*a), static_cast<int>(*b), {}};
}

Corners keepRatio(Corners c, int a, int b, int pictureWidth) {
    const int w = c.x1 - c.x0;
    const int h = c.y1 - c.y0;
    if ((w < h && a > b) || (h < w && a < b)) std::swap(a, b);
    auto xFor = [&](int height) { return c.x0 + static_cast<int>(static_cast<long long>(height) * a / b); };
    c.x1 = xFor(c.y1 - c.y0);
    while (c.x1 >= pictureWidth && c.y1 > c.y0) {
        --c.y1;
        c.x1 = xFor(c.y1 - c.y0);
    }
    return c;
}

void colourIn(Bitmap32& picture, Color32 remembered, int tolerance, Color32 paint) {
    const auto channel = [](Color32 p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    const std::size_t n = static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height());
    Color32* bits = picture.bits();
    for (std::size_t i = 0; i < n; ++i) {
        const Color32 p = bits[i];
        bool hit = true;
        for (int shift : {0, 8, 16}) {
            hit = hit && (tolerance >= 256 ? true : std::abs(channel(p, shift) - channel(remembered, shift)) < tolerance);
        }
        if (tolerance >= 256) hit = channel(p, 0) <= 240 || channel(p, 8) <= 240 || channel(p, 16) <= 240;
        if (hit) bits[i] = paint;
    }
    picture.changed();
}

namespace {

std::string percentText(double percent) {
    std::string text = text::formatFixed(percent, 2);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text::replaceAll(text, ".", ",");
}

}  // namespace

PanelSize fromWidth(Size source, int width) {
    const int height = source.width > 0 ? static_cast<int>(static_cast<long long>(source.height) * width / source.width) : 0;
    return {width, height, percentText(source.width > 0 ? width * 100.0 / source.width : 0)};
}

PanelSize fromHeight(Size source, int height) {
    const int width = source.height > 0 ? static_cast<int>(static_cast<long long>(source.width) * height / source.height) : 0;
    return {width, height, percentText(source.width > 0 ? width * 100.0 / source.width : 0)};
}

PanelSize fromPercent(Size source, double percent) {
    return {static_cast<int>(std::lround(percent * source.width / 100)),
            static_cast<int>(std::lround(percent * source.height / 100)), percentText(percent)};
}

void insertPicture(Bitmap32& picture, const Bitmap32& extra, int x, int y, InsertMode mode) {
    for (int j = 0; j < extra.height(); ++j) {
        const int ty = y + j;
        if (ty < 0 || ty >= picture.height()) continue;
        for (int i = 0; i < extra.width(); ++i) {
            const int tx = x + i;
            if (tx < 0 || tx >= picture.width()) continue;
            const Color32 add = extra.pixel(i, j);
            Color32& old = picture.row(ty)[tx];
            switch (mode) {
                case InsertMode::Copy: old = add; break;
                case InsertMode::SkipBlack: {
                    const Color32 value = (add & 0xFF) * 65536 + ((add >> 8) & 0xFF) * 256 + ((add >> 16) & 0xFF);
                    if (value > 6) old = add;
                    break;
                }
                case InsertMode::Smooth: {
                    // Weight 1000 in the middle, falling to 0 at the edge over a quarter of the size.
                    const int edge = std::min({i, j, extra.width() - 1 - i, extra.height() - 1 - j});
                    const int ramp = std::max(1, std::min(extra.width(), extra.height()) / 4);
                    const Color32 w = static_cast<Color32>(std::min(1000, edge * 1000 / ramp));
                    Color32 mixed = 0xFF000000u;
                    for (int shift : {0, 8, 16}) {
                        const Color32 c = (w * ((add >> shift) & 0xFF) + (1000 - w) * ((old >> shift) & 0xFF)) / 1000;
                        mixed |= c << shift;
                    }
                    old = mixed;
                    break;
                }
                case InsertMode::Transparent: {
                    Color32 mixed = 0xFF000000u;
                    for (int shift : {0, 8, 16}) {
                        const Color32 c = (500 * ((add >> shift) & 0xFF) + 500 * ((old >> shift) & 0xFF)) / 1000;
                        mixed |= c << shift;
                    }
                    old = mixed;
                    break;
                }
            }
        }
    }
    picture.changed();
}

void growToFit(Bitmap32& picture, int& x, int& y, int w, int h) {
    const int left = std::max(0, -x);
    const int top = std::max(0, -y);
    const int width = std::max(picture.width() + left, x + left + w);
    const int height = std::max(picture.height() + top, y + top + h);
    if (left == 0 && top == 0 && width == picture.width() && height == picture.height()) return;
    Bitmap32 grown(width, height);
    grown.clear(0xFFFFFFFF);
    for (int j = 0; j < picture.height(); ++j) {
        std::copy(picture.row(j), picture.row(j) + picture.width(), grown.row(j + top) + left);
    }
    picture = std::move(grown);
    x += left;
    y += top;
}

void drawRainbow(Bitmap32& picture) {
    for (int x = 0; x < picture.width(); ++x) {
        // Hue from 0 (red) to 300 degrees (violet), full saturation and value.
        const double hue = 300.0 * x / std::max(1, picture.width() - 1);
        const int sector = static_cast<int>(hue / 60) % 6;
        const double f = hue / 60 - std::floor(hue / 60);
        const int up = static_cast<int>(std::lround(255 * f));
        const int down = 255 - up;
        int r = 0, g = 0, b = 0;
        switch (sector) {
            case 0: r = 255, g = up; break;
            case 1: r = down, g = 255; break;
            case 2: g = 255, b = up; break;
            case 3: g = down, b = 255; break;
            case 4: r = up, b = 255; break;
            default: r = 255, b = down; break;
        }
        const Color32 colour = 0xFF000000u | (static_cast<Color32>(r) << 16) | (static_cast<Color32>(g) << 8) |
                               static_cast<Color32>(b);
        for (int y = 0; y < picture.height(); ++y) picture.row(y)[x] = colour;
    }
    picture.changed();
}

void darkenKeepingWhite(Bitmap32& picture, int t, const Rect* inside) {
    const Rect area = inside ? intersect(*inside, picture.bounds()) : picture.bounds();
    const auto channel = [](int value) { return std::clamp(-5 + value * 95 / 100, 0, 255); };
    for (int y = area.top; y < area.bottom; ++y) {
        Color32* row = picture.row(y);
        for (int x = area.left; x < area.right; ++x) {
            const Color32 p = row[x];
            const int r = static_cast<int>((p >> 16) & 0xFF);
            const int g = static_cast<int>((p >> 8) & 0xFF);
            const int b = static_cast<int>(p & 0xFF);
            if (r + g + b >= 765 - t) continue;
            row[x] = (p & 0xFF000000u) | (static_cast<Color32>(channel(r)) << 16) |
                     (static_cast<Color32>(channel(g)) << 8) | static_cast<Color32>(channel(b));
        }
    }
    picture.changed();
}

Rect visiblePart(int left, int top, Size display, Size screen, Size source) {
    const Rect shown = intersect({-left, -top, screen.width - left, screen.height - top}, {0, 0, display.width, display.height});
    if (shown.empty()) return {};
    return intersect(toSource(shown, display, source), {0, 0, source.width, source.height});
}

std::string nextCutName(const std::string& base) {
    const size_t first = base.find_first_of("0123456789");
    if (first == std::string::npos) return base + "1";
    size_t end = first;
    while (end < base.size() && base[end] >= '0' && base[end] <= '9') ++end;
    // Counted up digit by digit, so that leading zeros and long runs stay as they are.
    std::string digits = base.substr(first, end - first);
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
        digits.insert(digits.begin(), '1');
    } else {
        ++digits[i - 1];
    }
    return base.substr(0, first) + digits + base.substr(end);
}

bool nearEdge(int position, int extent, bool lowSide) {
    const int distance = lowSide ? position : extent - 1 - position;
    return distance > 0 && distance < 5;
}

Bitmap32 messagePicture() {
    Bitmap32 b(600, 300);
    b.clear(0xFF000000);
    return b;
}

}  // namespace pictra::pictures::viewer
