#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// The 32-bit bitmap that every resampling, turning and pixel operation of the
// picture windows goes through.
namespace pictra::pictures {

using Color32 = std::uint32_t;  // 0xAARRGGBB

enum class DrawMode { Opaque = 0, Blend = 1, Custom = 2 };
enum class StretchFilter { Nearest = 0, Draft = 1, Linear = 2, Cosine = 3, Spline = 4, Lanczos = 5, Mitchell = 6 };

// Errors of the transfer and transformation code, with their fixed texts.
class TransformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A bitmap whose pixels would not fit into memory.
class BitmapTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

Rect intersect(const Rect& a, const Rect& b);

// Update nesting and change notification.
class UpdateCounter {
public:
    void beginUpdate() { ++m_updates; }
    // Throws std::logic_error("Unpaired TThreadPersistent.EndUpdate") without a beginUpdate.
    void endUpdate();
    void changed() const {
        if (m_updates == 0 && onChange) onChange();
    }
    std::function<void()> onChange;

private:
    int m_updates = 0;
};

class Bitmap32 : public UpdateCounter {
public:
    using PixelCombine = std::function<void(Color32 foreground, Color32& background, int masterAlpha)>;

    Bitmap32() = default;
    Bitmap32(int width, int height) { setSize(width, height); }
    Bitmap32(const Bitmap32& other) : UpdateCounter() { assign(other); }
    Bitmap32& operator=(const Bitmap32& other) {
        assign(other);
        return *this;
    }
    Bitmap32(Bitmap32&&) noexcept = default;
    Bitmap32& operator=(Bitmap32&&) noexcept = default;

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool empty() const { return m_width == 0 || m_height == 0; }
    Rect bounds() const { return {0, 0, m_width, m_height}; }

    // Negative sizes become 0; false when nothing changed. New pixels are
    // undefined until cleared (a decoder overwrites them anyway).
    // Throws BitmapTooLarge when the pixels would not fit into memory.
    bool setSize(int width, int height);
    bool setWidth(int width) { return setSize(width, m_height); }
    bool setHeight(int height) { return setSize(m_width, height); }

    Color32* bits() { return m_bits.get(); }
    const Color32* bits() const { return m_bits.get(); }
    Color32* row(int y) { return m_bits.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width); }
    const Color32* row(int y) const {
        return m_bits.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    Color32 pixel(int x, int y) const { return row(y)[x]; }

    void clear(Color32 color);
    // Checked access: writes only inside, reads `outerColor` outside.
    void setPixelChecked(int x, int y, Color32 color);
    Color32 pixelChecked(int x, int y) const;

    // Size, pixels and the drawing properties.
    void assign(const Bitmap32& other);

    // Writes one source pixel onto `target` by this bitmap's draw mode.
    void writeByDrawMode(Color32 source, Color32& target) const;

    DrawMode drawMode = DrawMode::Opaque;
    int masterAlpha = 255;
    Color32 outerColor = 0;
    StretchFilter stretchFilter = StretchFilter::Nearest;
    PixelCombine onPixelCombine;

private:
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Color32[]> m_bits;
};

// The largest bitmap this machine can hold, in bytes (half the physical memory
// unless set lower, as the fuzz targets do).
std::uint64_t maxBitmapBytes();
void setMaxBitmapBytes(std::uint64_t bytes);

// Block transfer of the whole source to (x, y) of the destination, clipped, by the source's draw mode.
void draw(Bitmap32& destination, int x, int y, const Bitmap32& source);

class RowGate;

// Quarter turn clockwise: source (x, y) goes to (height − 1 − y, x). With a gate
// the source is still being filled and each band of rows waits for its rows.
void turnRight(const Bitmap32& source, Bitmap32& target, const RowGate* gate = nullptr);
// Quarter turn counter-clockwise: source (x, y) goes to (y, width − 1 − x).
void turnLeft(const Bitmap32& source, Bitmap32& target);
void turnHalf(const Bitmap32& source, Bitmap32& target);
// In place, through a temporary bitmap whose drawing properties are kept.
void turnRight(Bitmap32& bitmap);
void turnLeft(Bitmap32& bitmap);
void turnHalf(Bitmap32& bitmap);

// Every pixel XOR 0xFFFFFF; the alpha byte is kept.
void invert(const Bitmap32& source, Bitmap32& destination);

}  // namespace pictra::pictures
