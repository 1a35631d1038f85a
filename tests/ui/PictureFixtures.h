#pragma once

// Small picture files written by the tests: headers that claim any size, a
// progressive JPEG, and JPEGs cut short.
#include <cstdlib>
#include <string>
#include <string_view>

#include "pictures/Bitmap32.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/QtPictureCodecs.h"

namespace pictra::test {

using pictures::Bitmap32;
using namespace platform::pictures;

inline Bitmap32 gradient(int w, int h) {
    Bitmap32 b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) b.row(y)[x] = 0xFF000000u | static_cast<std::uint32_t>((x * 7 + y * 3) & 0xFF) * 0x010101u;
    }
    return b;
}

inline std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putBigEndian(std::string& bytes, size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * (count - 1 - i)));
}

// A 1 × 1 PNG whose header claims w × h (with a valid checksum, so that readers believe it).
inline std::string pngClaiming(std::uint32_t w, std::uint32_t h) {
    std::string png = encodeWithQt(gradient(1, 1), "png");
    putBigEndian(png, 16, w, 4);
    putBigEndian(png, 20, h, 4);
    putBigEndian(png, 29, crc32(std::string_view(png).substr(12, 17)), 4);
    return png;
}

// A 2 × 1 GIF on a logical screen of w × h.
inline std::string gifOnScreen(int w, int h) {
    std::string gif("GIF89a\0\0\0\0\x80\0\0\0\0\0\xFF\xFF\xFF"
                    "\x2C\0\0\0\0\x02\0\x01\0\0\x02\x02\x44\x0A\0\x3B",
                    33);
    gif[6] = static_cast<char>(w & 0xFF);
    gif[7] = static_cast<char>(w >> 8);
    gif[8] = static_cast<char>(h & 0xFF);
    gif[9] = static_cast<char>(h >> 8);
    return gif;
}

// A progressive JPEG (every channel at full resolution with `fullChroma`).
inline std::string progressiveJpeg(const Bitmap32& bitmap, bool fullChroma) {
    JpegEncoding how;
    how.quality = 90;
    how.progressive = true;
    how.fullChroma = fullChroma;
    return encodeJpegAs(bitmap, how);
}

// The size in the frame header (SOF0 or SOF2) set to w × h.
inline std::string withFrameSize(std::string jpeg, std::uint32_t w, std::uint32_t h) {
    size_t at = jpeg.find("\xFF\xC2");
    if (at == std::string::npos) at = jpeg.find("\xFF\xC0");
    putBigEndian(jpeg, at + 5, h, 2);
    putBigEndian(jpeg, at + 7, w, 2);
    return jpeg;
}

// Cut at the start of the second scan: only the first (the coarse colours) is there.
inline std::string cutAfterFirstScan(const std::string& jpeg) {
    const size_t first = jpeg.find("\xFF\xDA");
    return jpeg.substr(0, jpeg.find("\xFF\xDA", first + 2));
}

inline std::string cannotLoad(const std::string& path) {
    return "Kann Bild nicht laden!\rDatei\r" + path + "\rist keine Bilddatei oder beschädigt.\r\r"
           "Soll die Datei als Textdatei gelesen werden, soweit möglich.\r"
           "Vielleicht gibt das einen Hinweis, um was für eine Datei es sich handelt.\r"
           "Durch umbenennen als .TXT, .DOC, .PDF etc. ist es vielleicht möglich die Datei zu öffnen.";
}

struct PictureFixture {
    const char* name;
    std::string bytes;
};

}  // namespace pictra::test
