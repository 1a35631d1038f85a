#include "pictures/editing/Colours.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

namespace pictra::pictures::editing {

namespace {

constexpr int kRedBits = 73;
constexpr int kGreenBits = 146;
constexpr int kBlueBits = 292;

template <typename F>
void forEachPixel(Bitmap32& picture, F f) {
    for (int y = 0; y < picture.height(); ++y) {
        Color32* row = picture.row(y);
        for (int x = 0; x < picture.width(); ++x) row[x] = f(row[x]);
    }
}

bool allBelow(Color32 c, int t) { return redOf(c) < t && greenOf(c) < t && blueOf(c) < t; }
int channelSum(Color32 c) { return redOf(c) + greenOf(c) + blueOf(c); }

// Integer round to nearest with ties to even of n ÷ 100 (n ≥ 0).
int roundHundredths(long long n) {
    long long q = n / 100;
    const long long r = n % 100;
    if (r > 50 || (r == 50 && (q & 1) != 0)) ++q;
    return static_cast<int>(q);
}

bool inBand(int v, int low, int high) { return low < v && v < high; }

}  // namespace

int maskFromItemName(std::string_view name) {
    const std::size_t start = !name.empty() && name[0] == '_' ? 8 : 7;
    if (name.size() <= start) return 0;
    int mask = 0;
    const char* first = name.data() + start;
    const auto result = std::from_chars(first, name.data() + name.size(), mask);
    return result.ec == std::errc() ? mask : 0;
}

int maskedChannel(int mask, int channelBits, int value) {
    if ((mask & channelBits) != 0) {
        if ((mask & (8 | 16 | 32)) != 0) {
            value = value * 9 / 10;
        } else if (mask == 448) {
            value = value > 169 ? 255 : value * 3 / 2;
        } else {
            value = value > 228 ? 255 : value * 10 / 9;
        }
    }
    if ((mask & 512) != 0) value = value > 9 ? value - 10 : 0;
    if ((mask & 1024) != 0) value = std::min(value + 10, 255);
    return value;
}

void applyMask(Bitmap32& picture, int mask) {
    // A table per channel: the mask decides the same for every value.
    int table[3][256];
    const int bits[3] = {kRedBits, kGreenBits, kBlueBits};
    for (int c = 0; c < 3; ++c) {
        for (int v = 0; v < 256; ++v) table[c][v] = maskedChannel(mask, bits[c], v);
    }
    forEachPixel(picture, [&](Color32 p) { return rgb(table[0][redOf(p)], table[1][greenOf(p)], table[2][blueOf(p)]); });
}

void darkToWhite(Bitmap32& picture, int below) {
    forEachPixel(picture, [below](Color32 p) { return allBelow(p, below) ? kWhite : p | 0xFF000000u; });
}

int blackWhiteThreshold(const Bitmap32& picture, const std::function<int(int)>& random) {
    if (picture.empty()) return 0;
    const int rows = picture.height() > 1 ? picture.height() - 1 : 1;
    const int columns = picture.width() > 1 ? picture.width() - 1 : 1;
    long long sum = 0;
    for (int i = 0; i < 1000; ++i) {
        const int y = random(rows);
        const int x = random(columns);
        sum += channelSum(picture.pixel(x, y));
    }
    // Round to nearest, ties to even.
    long long q = sum / 3000;
    const long long r = sum % 3000;
    if (r > 1500 || (r == 1500 && (q & 1) != 0)) ++q;
    return static_cast<int>(q);
}

void blackWhite(Bitmap32& picture, int t) {
    forEachPixel(picture, [t](Color32 p) { return allBelow(p, t) ? kBlack : kWhite; });
}

void greyToBlackWhite(Bitmap32& picture) {
    forEachPixel(picture, [](Color32 p) { return channelSum(p) > 127 ? kWhite : kBlack; });
}

int scaledChannel(int value, int percent) {
    return std::min(255, roundHundredths(static_cast<long long>(value) * (100 + percent)));
}

void brightenDark(Bitmap32& picture, int d) {
    forEachPixel(picture, [d](Color32 p) {
        const int s = channelSum(p);
        const int percent = s < d ? 20 : s < 2 * d ? 10 : s < 3 * d ? 5 : 0;
        if (percent == 0) return p;
        return rgb(scaledChannel(redOf(p), percent), scaledChannel(greenOf(p), percent),
                   scaledChannel(blueOf(p), percent));
    });
}

void darkenBright(Bitmap32& picture, int d) {
    forEachPixel(picture, [d](Color32 p) {
        const int s = channelSum(p);
        const int percent = s > d ? 20 : s > d - 32 ? 10 : s > d - 64 ? 5 : 0;
        if (percent == 0) return p;
        return rgb(scaledChannel(redOf(p), -percent), scaledChannel(greenOf(p), -percent),
                   scaledChannel(blueOf(p), -percent));
    });
}

void invertColours(Bitmap32& picture) {
    forEachPixel(picture, [](Color32 p) { return p ^ 0x00FFFFFFu; });
}

void mirror(Bitmap32& picture) {
    const int w = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        Color32* row = picture.row(y);
        for (int x = 0; x <= (w - 1) / 2; ++x) std::swap(row[x], row[w - 1 - x]);
    }
}

void mirrorToMiddleVertical(Bitmap32& picture) {
    const int w = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        Color32* row = picture.row(y);
        for (int x = 0; x <= (w - 1) / 2; ++x) row[x] = row[w - 1 - x];
    }
}

void mirrorToMiddleHorizontal(Bitmap32& picture) {
    const int h = picture.height();
    const auto w = static_cast<std::size_t>(picture.width());
    for (int y = 0; y <= (h - 1) / 2; ++y) std::copy(picture.row(h - 1 - y), picture.row(h - 1 - y) + w, picture.row(y));
}

bool cartoon(Bitmap32& picture, int f) {
    if (f < 1) return false;
    forEachPixel(picture, [f](Color32 p) {
        return rgb(redOf(p) / f * f, greenOf(p) / f * f, blueOf(p) / f * f);
    });
    return true;
}

void shiftColours(Bitmap32& picture, int red, int green, int blue) {
    forEachPixel(picture, [=](Color32 p) {
        return rgb(clampByte(redOf(p) + red), clampByte(greenOf(p) + green), clampByte(blueOf(p) + blue));
    });
}

void replaceColour(Bitmap32& picture, Color32 old, int tolerance, Color32 replacement) {
    const int r = redOf(old), g = greenOf(old), b = blueOf(old);
    forEachPixel(picture, [=](Color32 p) {
        const bool near = inBand(redOf(p), r - tolerance, r + tolerance) &&
                          inBand(greenOf(p), g - tolerance, g + tolerance) &&
                          inBand(blueOf(p), b - tolerance, b + tolerance);
        return near ? (replacement | 0xFF000000u) : p;
    });
}

void hardChange(Bitmap32& picture, Color32 colour1, Color32 colour2, int tolerance, Color32 chosen) {
    const int t = tolerance;
    forEachPixel(picture, [&](Color32 p) {
        const bool in = inBand(redOf(p), redOf(colour1) - t, redOf(colour2) + t) &&
                        inBand(greenOf(p), greenOf(colour1) - t, greenOf(colour2) + t) &&
                        inBand(blueOf(p), blueOf(colour1) - t, blueOf(colour2) + t);
        return in ? (chosen | 0xFF000000u) : p;
    });
}

Color32 meanColour(Color32 colour1, Color32 colour2) {
    return rgb((redOf(colour1) + redOf(colour2)) / 2, (greenOf(colour1) + greenOf(colour2)) / 2,
               (blueOf(colour1) + blueOf(colour2)) / 2);
}

void softChange(Bitmap32& picture, Color32 colour1, Color32 colour2, int tolerance, Color32 chosen) {
    const int w = picture.width();
    const int h = picture.height();
    if (w < 3 || h < 3) return;
    int low[3], high[3];
    const int c1[3] = {redOf(colour1), greenOf(colour1), blueOf(colour1)};
    const int c2[3] = {redOf(colour2), greenOf(colour2), blueOf(colour2)};
    for (int c = 0; c < 3; ++c) {
        low[c] = std::min(c1[c], c2[c]) - tolerance;
        high[c] = std::max(c1[c], c2[c]) + tolerance;
    }
    const Color32 mean = meanColour(colour1, colour2);
    const int shift[3] = {redOf(chosen) - redOf(mean), greenOf(chosen) - greenOf(mean), blueOf(chosen) - blueOf(mean)};
    // The range is judged on the picture as it was, so the order of the pass changes nothing.
    std::vector<unsigned char> inRange(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color32 p = picture.pixel(x, y);
            const int v[3] = {redOf(p), greenOf(p), blueOf(p)};
            bool in = true;
            for (int c = 0; c < 3; ++c) in = in && inBand(v[c], low[c], high[c]);
            inRange[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] = in;
        }
    }
    auto at = [&](int x, int y) {
        return inRange[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
    };
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            if (!at(x, y)) continue;
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) count += at(x + dx, y + dy);
            }
            const int weight = 200 * count;
            const Color32 p = picture.pixel(x, y);
            const int old[3] = {redOf(p), greenOf(p), blueOf(p)};
            int out[3];
            for (int c = 0; c < 3; ++c) {
                const int fresh = clampByte(old[c] + shift[c]);
                out[c] = weight > 1000 ? fresh : (weight * fresh + (1000 - weight) * old[c]) / 1000;
            }
            picture.row(y)[x] = rgb(out[0], out[1], out[2]);
        }
    }
}

std::string colourCode(Color32 colour) {
    static const char* digits = "0123456789ABCDEF";
    std::string code = "#";
    for (int v : {redOf(colour), greenOf(colour), blueOf(colour)}) {
        code += digits[v >> 4];
        code += digits[v & 15];
    }
    return code;
}

}  // namespace pictra::pictures::editing
