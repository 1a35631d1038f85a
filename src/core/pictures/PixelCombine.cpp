#include "PixelCombine.h"

#include <algorithm>
#include <cstdlib>

namespace pictra::pictures::combine {

namespace {

template <typename Op>
Color32 perChannel(Color32 f, Color32 b, Op op) {
    Color32 out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int fc = static_cast<int>((f >> shift) & 0xFF);
        const int bc = static_cast<int>((b >> shift) & 0xFF);
        out |= static_cast<Color32>(op(fc, bc) & 0xFF) << shift;
    }
    return out;
}

}  // namespace

// Two channels at a time (red with blue, alpha with green): each product stays
// below 65536, so the halves never carry into each other.
Color32 combine(Color32 x, Color32 y, int weight) {
    const Color32 w = static_cast<Color32>(weight);
    const Color32 v = 255 - w;
    const Color32 xRb = ((((x & 0x00FF00FF) * w) + 0x00800080) >> 8) & 0x00FF00FF;
    const Color32 yRb = ((((y & 0x00FF00FF) * v) + 0x00800080) >> 8) & 0x00FF00FF;
    const Color32 xAg = (((((x >> 8) & 0x00FF00FF) * w) + 0x00800080) >> 8) & 0x00FF00FF;
    const Color32 yAg = (((((y >> 8) & 0x00FF00FF) * v) + 0x00800080) >> 8) & 0x00FF00FF;
    return ((xAg + yAg) << 8) + (xRb + yRb);
}

Color32 blend(Color32 foreground, Color32 background) {
    const int alpha = static_cast<int>(foreground >> 24);
    if (alpha == 255) return foreground;
    if (alpha == 0) return background;
    return combine(foreground, background, alpha);
}

Color32 blendMaster(Color32 foreground, Color32 background, int masterAlpha) {
    const int w = (masterAlpha + 1) * static_cast<int>(foreground >> 24);
    if (w < 256) return background;
    return combine(foreground, background, w >> 8) & 0x00FFFFFF;
}

void blendMemory(Color32 foreground, Color32& background) { background = blend(foreground, background); }

void blendMemoryMaster(Color32 foreground, Color32& background, int masterAlpha) {
    background = blendMaster(foreground, background, masterAlpha);
}

void blendLine(const Color32* source, Color32* destination, int count) {
    for (int i = 0; i < count; ++i) destination[i] = blend(source[i], destination[i]);
}

void blendLineMaster(const Color32* source, Color32* destination, int count, int masterAlpha) {
    for (int i = 0; i < count; ++i) destination[i] = blendMaster(source[i], destination[i], masterAlpha);
}

Color32 add(Color32 f, Color32 b) {
    return perChannel(f, b, [](int x, int y) { return std::min(x + y, 255); });
}
Color32 subtract(Color32 f, Color32 b) {
    return perChannel(f, b, [](int x, int y) { return std::max(x - y, 0); });
}
Color32 modulate(Color32 f, Color32 b) {
    return perChannel(f, b, [](int x, int y) { return (x * y) >> 8; });
}
Color32 maximum(Color32 f, Color32 b) {
    return perChannel(f, b, [](int x, int y) { return std::max(x, y); });
}
Color32 minimum(Color32 f, Color32 b) {
    return perChannel(f, b, [](int x, int y) { return std::min(x, y); });
}
Color32 difference(Color32 f, Color32 b) {
    return perChannel(f, b, [](int x, int y) { return std::abs(x - y); });
}
Color32 exclusion(Color32 f, Color32 b) {
    return perChannel(f, b, [](int x, int y) { return x + y - (x * y) / 128; });
}

}  // namespace pictra::pictures::combine
