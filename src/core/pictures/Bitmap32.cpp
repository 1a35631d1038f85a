#include "Bitmap32.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include <unistd.h>

#include "common/LargeBuffer.h"
#include "pictures/PixelCombine.h"
#include "pictures/RowGate.h"

namespace pictra::pictures {

Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.empty()) return {};
    return r;
}

void UpdateCounter::endUpdate() {
    if (m_updates == 0) throw std::logic_error("Unpaired TThreadPersistent.EndUpdate");
    --m_updates;
}

namespace {

std::uint64_t physicalHalf() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long size = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || size <= 0) return std::uint64_t{1} << 31;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size) / 2;
}

std::uint64_t& bitmapLimit() {
    static std::uint64_t limit = physicalHalf();
    return limit;
}

}  // namespace

std::uint64_t maxBitmapBytes() { return bitmapLimit(); }
void setMaxBitmapBytes(std::uint64_t bytes) { bitmapLimit() = bytes; }

bool Bitmap32::setSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height) return false;
    const std::uint64_t count = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (count * sizeof(Color32) > maxBitmapBytes()) {
        throw BitmapTooLarge("Das Bild ist zu groß für den Arbeitsspeicher (" + std::to_string(width) + " × " +
                             std::to_string(height) + " Bildpunkte).");
    }
    try {
        // Not zeroed: writing 100 MB of zeros before the decoder writes them again costs a pass.
        m_bits.reset(count > 0 ? new Color32[static_cast<std::size_t>(count)] : nullptr);
        // A photo's pixels on large pages: filling 100 MB of small pages costs a fault for every 4 KB.
        common::adviseLarge(m_bits.get(), static_cast<std::size_t>(count) * sizeof(Color32));
    } catch (const std::bad_alloc&) {
        throw BitmapTooLarge("Das Bild ist zu groß für den Arbeitsspeicher (" + std::to_string(width) + " × " +
                             std::to_string(height) + " Bildpunkte).");
    }
    m_width = width;
    m_height = height;
    changed();
    return true;
}

void Bitmap32::clear(Color32 color) {
    if (empty()) return;
    std::fill(m_bits.get(), m_bits.get() + static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), color);
    changed();
}

void Bitmap32::setPixelChecked(int x, int y, Color32 color) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) row(y)[x] = color;
}

Color32 Bitmap32::pixelChecked(int x, int y) const {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) return row(y)[x];
    return outerColor;
}

void Bitmap32::assign(const Bitmap32& other) {
    if (this == &other) return;
    setSize(other.m_width, other.m_height);
    std::copy(other.bits(), other.bits() + static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), bits());
    drawMode = other.drawMode;
    masterAlpha = other.masterAlpha;
    outerColor = other.outerColor;
    stretchFilter = other.stretchFilter;
    changed();
}

void Bitmap32::writeByDrawMode(Color32 source, Color32& target) const {
    switch (drawMode) {
        case DrawMode::Opaque: target = source; break;
        case DrawMode::Blend:
            if (masterAlpha >= 255) {
                combine::blendMemory(source, target);
            } else {
                combine::blendMemoryMaster(source, target, masterAlpha);
            }
            break;
        case DrawMode::Custom:
            if (onPixelCombine) {
                onPixelCombine(source, target, masterAlpha);
            } else {
                target = source;
            }
            break;
    }
}

void draw(Bitmap32& destination, int x, int y, const Bitmap32& source) {
    const Rect target = intersect(destination.bounds(), {x, y, x + source.width(), y + source.height()});
    if (target.empty()) return;
    for (int row = target.top; row < target.bottom; ++row) {
        const Color32* from = source.row(row - y) + (target.left - x);
        Color32* to = destination.row(row) + target.left;
        const int count = target.width();
        if (source.drawMode == DrawMode::Opaque ||
            (source.drawMode == DrawMode::Custom && !source.onPixelCombine)) {
            std::copy(from, from + count, to);
        } else if (source.drawMode == DrawMode::Blend) {
            if (source.masterAlpha >= 255) {
                combine::blendLine(from, to, count);
            } else {
                combine::blendLineMaster(from, to, count, source.masterAlpha);
            }
        } else {
            for (int i = 0; i < count; ++i) source.onPixelCombine(from[i], to[i], source.masterAlpha);
        }
    }
    destination.changed();
}

namespace {

// Visits every pixel of a w × h picture in square tiles, so that a quarter turn
// reads rows and writes columns within the cache.
template <typename Visit>
void forEachTile(int w, int h, Visit visit, const RowGate* gate = nullptr) {
    constexpr int kTile = 64;
    for (int ty = 0; ty < h; ty += kTile) {
        if (gate) gate->waitFor(std::min(ty + kTile, h));
        for (int tx = 0; tx < w; tx += kTile) {
            const int yEnd = std::min(ty + kTile, h);
            const int xEnd = std::min(tx + kTile, w);
            for (int y = ty; y < yEnd; ++y) {
                for (int x = tx; x < xEnd; ++x) visit(x, y);
            }
        }
    }
}

}  // namespace

void turnRight(const Bitmap32& source, Bitmap32& target, const RowGate* gate) {
    const int w = source.width();
    const int h = source.height();
    target.setSize(h, w);
    forEachTile(w, h, [&](int x, int y) { target.row(x)[h - 1 - y] = source.row(y)[x]; }, gate);
    target.changed();
}

void turnLeft(const Bitmap32& source, Bitmap32& target) {
    const int w = source.width();
    const int h = source.height();
    target.setSize(h, w);
    forEachTile(w, h, [&](int x, int y) { target.row(w - 1 - x)[y] = source.row(y)[x]; });
    target.changed();
}

void turnHalf(const Bitmap32& source, Bitmap32& target) {
    target.setSize(source.width(), source.height());
    const std::size_t count = static_cast<std::size_t>(source.width()) * static_cast<std::size_t>(source.height());
    std::reverse_copy(source.bits(), source.bits() + count, target.bits());
    target.changed();
}

namespace {

template <typename Turn>
void turnInPlace(Bitmap32& bitmap, Turn turn) {
    Bitmap32 temporary;
    turn(bitmap, temporary);
    temporary.drawMode = bitmap.drawMode;
    temporary.stretchFilter = bitmap.stretchFilter;
    temporary.masterAlpha = bitmap.masterAlpha;
    temporary.outerColor = bitmap.outerColor;
    bitmap.assign(temporary);
}

}  // namespace

void turnRight(Bitmap32& bitmap) {
    turnInPlace(bitmap, [](const Bitmap32& s, Bitmap32& t) { turnRight(s, t); });
}
void turnLeft(Bitmap32& bitmap) {
    turnInPlace(bitmap, [](const Bitmap32& s, Bitmap32& t) { turnLeft(s, t); });
}
void turnHalf(Bitmap32& bitmap) {
    turnInPlace(bitmap, [](const Bitmap32& s, Bitmap32& t) { turnHalf(s, t); });
}

void invert(const Bitmap32& source, Bitmap32& destination) {
    destination.setSize(source.width(), source.height());
    const std::size_t count = static_cast<std::size_t>(source.width()) * static_cast<std::size_t>(source.height());
    const Color32* from = source.bits();
    Color32* to = destination.bits();
    for (std::size_t i = 0; i < count; ++i) to[i] = from[i] ^ 0x00FFFFFFu;
    destination.changed();
}

}  // namespace pictra::pictures
