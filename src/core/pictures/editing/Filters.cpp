#include "pictures/editing/Filters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "pictures/editing/Colours.h"

namespace pictra::pictures::editing {

void smooth(Bitmap32& picture) {
    const int w = picture.width();
    const int h = picture.height();
    // The pass is bound to its order (each pixel reads already smoothed ones), so it
    // runs column by column as a whole; the sums slide down the column.
    for (int x = 1; x < w - 1; ++x) {
        for (int y = 1; y < h - 1; ++y) {
            int r = 0, g = 0, b = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                const Color32* row = picture.row(y + dy) + x - 1;
                for (int dx = 0; dx < 3; ++dx) {
                    r += redOf(row[dx]);
                    g += greenOf(row[dx]);
                    b += blueOf(row[dx]);
                }
            }
            picture.row(y)[x] = rgb(r / 9, g / 9, b / 9);
        }
    }
}

double sharpenFactor(double a) {
    if (!(a > 1)) return 1.1;
    if (a >= 6) return 5.9;
    return a;
}

Bitmap32 sharpened(const Bitmap32& picture, double factor) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 2 || h <= 2) return Bitmap32(picture);
    const double a = sharpenFactor(factor);
    const double b = (a - 1) / 5;
    // Both products stay below 2^31: c ≤ 255 with A < 6 · 65536, S ≤ 1275 with B < 65536.
    const auto A = static_cast<std::int32_t>(std::nearbyint(a * 65536));
    const auto B = static_cast<std::int32_t>(std::nearbyint(b * 65536));
    Bitmap32 out(w, h);
    out.drawMode = picture.drawMode;
    out.masterAlpha = picture.masterAlpha;
    out.outerColor = picture.outerColor;
    out.stretchFilter = picture.stretchFilter;
    const auto rowBytes = static_cast<std::size_t>(w);
    std::copy_n(picture.row(0), rowBytes, out.row(0));
    std::copy_n(picture.row(h - 1), rowBytes, out.row(h - 1));
    auto channel = [A, B](std::int32_t c, std::int32_t s) {
        const std::int32_t v = ((c * A + 32767) >> 16) - ((s * B + 32767) >> 16);
        return static_cast<Color32>(v < 0 ? 0 : v > 255 ? 255 : v);
    };
    for (int y = 1; y < h - 1; ++y) {
        const Color32* up = picture.row(y - 1);
        const Color32* mid = picture.row(y);
        const Color32* down = picture.row(y + 1);
        Color32* target = out.row(y);
        target[0] = mid[0];
        target[w - 1] = mid[w - 1];
        for (int x = 1; x < w - 1; ++x) {
            const Color32 c = mid[x];
            const Color32 l = mid[x - 1], r = mid[x + 1], u = up[x], d = down[x];
            const auto sum = [&](int shift) {
                return static_cast<std::int32_t>(((c >> shift) & 0xFF) + ((l >> shift) & 0xFF) + ((r >> shift) & 0xFF) +
                                                 ((u >> shift) & 0xFF) + ((d >> shift) & 0xFF));
            };
            target[x] = 0xFF000000u | channel(static_cast<std::int32_t>((c >> 16) & 0xFF), sum(16)) << 16 |
                        channel(static_cast<std::int32_t>((c >> 8) & 0xFF), sum(8)) << 8 |
                        channel(static_cast<std::int32_t>(c & 0xFF), sum(0));
        }
    }
    return out;
}

int contourThreshold(int input) {
    const int t = 256 - input;
    return t >= 1 && t <= 255 ? t : 128;
}

namespace {

int channelOf(Color32 c, int channel) { return channel == 0 ? redOf(c) : channel == 1 ? greenOf(c) : blueOf(c); }
long long colourValue(Color32 c) {
    return static_cast<long long>(blueOf(c)) * 65536 + greenOf(c) * 256 + redOf(c);
}

// One line of a contour pass: `value(i)` along the line, `mark(i)` where it jumps.
template <typename Value, typename Mark>
void pass(int length, long long threshold, Value value, Mark mark) {
    if (length == 0) return;
    long long reference = value(0);
    for (int i = 1; i < length; ++i) {
        const long long v = value(i);
        if (std::llabs(reference - v) > threshold) {
            mark(i);
            reference = v;
        }
    }
}

}  // namespace

void contourRows(const Bitmap32& source, Bitmap32& target, int channel, int t, Color32 mark) {
    for (int y = 0; y < source.height(); ++y) {
        pass(source.width(), t, [&](int x) { return channelOf(source.pixel(x, y), channel); },
             [&](int x) { target.row(y)[x] = mark; });
    }
}

void contourColumns(const Bitmap32& source, Bitmap32& target, int channel, int t, Color32 mark) {
    for (int x = 0; x < source.width(); ++x) {
        pass(source.height(), t, [&](int y) { return channelOf(source.pixel(x, y), channel); },
             [&](int y) { target.row(y)[x] = mark; });
    }
}

void contourGreyRows(const Bitmap32& source, Bitmap32& target, int t) {
    const long long cube = static_cast<long long>(t) * t * t;
    for (int y = 0; y < source.height(); ++y) {
        pass(source.width(), cube, [&](int x) { return colourValue(source.pixel(x, y)); },
             [&](int x) { target.row(y)[x] = kBlack; });
    }
}

void contourGreyColumns(const Bitmap32& source, Bitmap32& target, int t) {
    const long long cube = static_cast<long long>(t) * t * t;
    for (int x = 0; x < source.width(); ++x) {
        pass(source.height(), cube, [&](int y) { return colourValue(source.pixel(x, y)); },
             [&](int y) { target.row(y)[x] = kBlack; });
    }
}

void takeContours(const Bitmap32& target, Bitmap32& picture) {
    const int w = std::min(target.width(), picture.width());
    const int h = std::min(target.height(), picture.height());
    for (int y = 1; y < h; ++y) {
        for (int x = 1; x < w; ++x) {
            const Color32 p = target.pixel(x, y);
            if ((p & 0x00FFFFFFu) != 0x00FFFFFFu) picture.row(y)[x] = p | 0xFF000000u;
        }
    }
}

}  // namespace pictra::pictures::editing
