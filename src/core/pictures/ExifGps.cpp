#include "pictures/ExifGps.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace pictra::pictures {

namespace {

constexpr std::string_view kExifHeader("Exif\0\0", 6);
constexpr std::uint16_t kGpsPointerTag = 0x8825;
constexpr std::size_t kEntrySize = 12;

// The TIFF structure behind "Exif\0\0", in its own byte order.
class Tiff {
public:
    explicit Tiff(std::string& bytes) : m_bytes(bytes) {}

    bool valid() const {
        if (m_bytes.size() < kExifHeader.size() + 8 || std::string_view(m_bytes).substr(0, 6) != kExifHeader)
            return false;
        const std::string_view order = std::string_view(m_bytes).substr(6, 2);
        return (order == "II" || order == "MM") && u16(2) == 42;
    }
    std::size_t size() const { return m_bytes.size() - kExifHeader.size(); }
    bool fits(std::size_t at, std::size_t length) const { return at <= size() && length <= size() - at; }

    std::uint32_t u16(std::size_t at) const { return read(at, 2); }
    std::uint32_t u32(std::size_t at) const { return read(at, 4); }

    void zero(std::size_t at, std::size_t length) {
        std::fill_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(kExifHeader.size() + at), length, '\0');
    }
    void move(std::size_t to, std::size_t from, std::size_t length) {
        const auto base = m_bytes.begin() + static_cast<std::ptrdiff_t>(kExifHeader.size());
        std::copy(base + static_cast<std::ptrdiff_t>(from), base + static_cast<std::ptrdiff_t>(from + length),
                  base + static_cast<std::ptrdiff_t>(to));
    }
    void putU16(std::size_t at, std::uint32_t value) {
        const bool little = m_bytes[6] == 'I';
        m_bytes[kExifHeader.size() + at + (little ? 0 : 1)] = static_cast<char>(value & 0xFF);
        m_bytes[kExifHeader.size() + at + (little ? 1 : 0)] = static_cast<char>(value >> 8 & 0xFF);
    }

private:
    std::uint32_t read(std::size_t at, int length) const {
        const bool little = m_bytes[6] == 'I';
        std::uint32_t value = 0;
        for (int i = 0; i < length; ++i) {
            const auto byte =
                static_cast<std::uint32_t>(static_cast<unsigned char>(m_bytes[kExifHeader.size() + at + static_cast<std::size_t>(i)]));
            value |= byte << (8 * (little ? i : length - 1 - i));
        }
        return value;
    }

    std::string& m_bytes;
};

struct Directory {
    std::size_t at = 0;
    std::size_t count = 0;
    std::size_t end() const { return at + 2 + count * kEntrySize + 4; }
};

std::optional<Directory> directoryAt(const Tiff& tiff, std::size_t at) {
    if (at < 8 || !tiff.fits(at, 2))
        return std::nullopt;
    Directory d{at, tiff.u16(at)};
    if (!tiff.fits(at, 2 + d.count * kEntrySize + 4))
        return std::nullopt;
    return d;
}

std::optional<Directory> firstDirectory(const Tiff& tiff) {
    if (!tiff.valid())
        return std::nullopt;
    return directoryAt(tiff, tiff.u32(4));
}

std::optional<std::size_t> gpsEntryIndex(const Tiff& tiff, const Directory& d) {
    for (std::size_t i = 0; i < d.count; ++i) {
        if (tiff.u16(d.at + 2 + i * kEntrySize) == kGpsPointerTag)
            return i;
    }
    return std::nullopt;
}

std::size_t typeSize(std::uint32_t type) {
    switch (type) {
    case 1:  // BYTE
    case 2:  // ASCII
    case 6:  // SBYTE
    case 7:  // UNDEFINED
        return 1;
    case 3:  // SHORT
    case 8:  // SSHORT
        return 2;
    case 4:   // LONG
    case 9:   // SLONG
    case 11:  // FLOAT
        return 4;
    case 5:   // RATIONAL
    case 10:  // SRATIONAL
    case 12:  // DOUBLE
        return 8;
    default:
        return 0;
    }
}

bool overlaps(std::size_t at, std::size_t length, const Directory& d) { return at < d.end() && d.at < at + length; }

// The GPS directory's values and the directory itself become zeros; the first
// directory, which the caller is about to rewrite, is never touched here.
void clearGpsDirectory(Tiff& tiff, std::size_t at, const Directory& first) {
    const auto gps = directoryAt(tiff, at);
    if (!gps || overlaps(gps->at, gps->end() - gps->at, first))
        return;
    for (std::size_t i = 0; i < gps->count; ++i) {
        const std::size_t entry = gps->at + 2 + i * kEntrySize;
        const std::uint64_t length = static_cast<std::uint64_t>(typeSize(tiff.u16(entry + 2))) * tiff.u32(entry + 4);
        if (length <= 4 || length > tiff.size())
            continue;  // the value stands in the entry itself, or the entry is broken
        const std::size_t value = tiff.u32(entry + 8);
        const auto n = static_cast<std::size_t>(length);
        if (value >= 8 && tiff.fits(value, n) && !overlaps(value, n, first))
            tiff.zero(value, n);
    }
    tiff.zero(gps->at, gps->end() - gps->at);
}

}  // namespace

bool exifHasGps(std::string_view exif) {
    std::string bytes(exif);
    const Tiff tiff(bytes);
    const auto first = firstDirectory(tiff);
    return first && gpsEntryIndex(tiff, *first).has_value();
}

std::string exifWithoutGps(std::string_view exif) {
    std::string bytes(exif);
    Tiff tiff(bytes);
    const auto first = firstDirectory(tiff);
    if (!first)
        return bytes;
    const auto index = gpsEntryIndex(tiff, *first);
    if (!index)
        return bytes;
    const std::size_t entry = first->at + 2 + *index * kEntrySize;
    clearGpsDirectory(tiff, tiff.u32(entry + 8), *first);
    // The entries after the pointer and the next directory's offset move up by one entry;
    // the directory keeps its room, so every offset into the block stays right.
    tiff.move(entry, entry + kEntrySize, first->end() - entry - kEntrySize);
    tiff.zero(first->end() - kEntrySize, kEntrySize);
    tiff.putU16(first->at, static_cast<std::uint32_t>(first->count - 1));
    return bytes;
}

}  // namespace pictra::pictures
