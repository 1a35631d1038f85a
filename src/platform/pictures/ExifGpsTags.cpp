#include "ExifGpsTags.h"

#include <libexif/exif-data.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "common/FileIo.h"

namespace pictra::platform::pictures {

namespace {

struct ExifFree {
    void operator()(ExifData* d) const { exif_data_unref(d); }
};
using ExifPtr = std::unique_ptr<ExifData, ExifFree>;

// Where the EXIF segment sits: from its marker to the end of its data.
struct Segment {
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::optional<Segment> exifSegment(std::string_view jpeg) {
    auto byte = [&jpeg](std::size_t i) { return static_cast<unsigned char>(jpeg[i]); };
    if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return std::nullopt;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && byte(at) == 0xFF) {
        const unsigned char marker = byte(at + 1);
        // The EXIF block always comes before the picture data.
        if (marker == 0xDA || marker == 0xD9)
            return std::nullopt;
        const std::size_t length = static_cast<std::size_t>(byte(at + 2)) << 8 | byte(at + 3);
        if (length < 2 || at + 2 + length > jpeg.size())
            return std::nullopt;
        if (marker == 0xE1 && length >= 8 && jpeg.substr(at + 4, 6) == std::string_view("Exif\0\0", 6))
            return Segment{at, at + 2 + length};
        at += 2 + length;
    }
    return std::nullopt;
}

ExifPtr parse(std::string_view block) {
    ExifPtr data(exif_data_new());
    if (!data)
        return nullptr;
    // Tags libexif does not know and the layout the camera chose are kept as they are.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.data()),
                        static_cast<unsigned int>(block.size()));
    return data;
}

std::string_view blockOf(std::string_view jpeg, const Segment& segment) {
    return jpeg.substr(segment.begin + 4, segment.end - segment.begin - 4);
}

}  // namespace

bool hasGps(std::string_view jpeg) {
    const auto segment = exifSegment(jpeg);
    if (!segment)
        return false;
    const ExifPtr data = parse(blockOf(jpeg, *segment));
    return data && data->ifd[EXIF_IFD_GPS]->count > 0;
}

std::string withoutGps(const std::string& jpeg) {
    const auto segment = exifSegment(jpeg);
    if (!segment)
        return jpeg;
    const ExifPtr data = parse(blockOf(jpeg, *segment));
    if (!data || data->ifd[EXIF_IFD_GPS]->count == 0)
        return jpeg;
    ExifContent* gps = data->ifd[EXIF_IFD_GPS];
    while (gps->count > 0) exif_content_remove_entry(gps, gps->entries[0]);
    unsigned char* out = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data.get(), &out, &size);
    if (!out)
        throw std::runtime_error("Der EXIF-Block lässt sich nicht neu schreiben.");
    const std::string block(reinterpret_cast<const char*>(out), size);
    std::free(out);  // libexif's default allocator
    if (block.size() + 2 > 0xFFFF)
        throw std::runtime_error("Der EXIF-Block ist zu groß.");
    const std::size_t length = block.size() + 2;
    std::string result = jpeg.substr(0, segment->begin);
    result += '\xFF';
    result += '\xE1';
    result += static_cast<char>(length >> 8);
    result += static_cast<char>(length & 0xFF);
    result += block;
    result.append(jpeg, segment->end, std::string::npos);
    return result;
}

bool ExifGpsTags::has(const std::string& path) {
    // The EXIF segment lies within the first 64 KiB after the few segments before it.
    std::ifstream in(path, std::ios::binary);
    std::string head(256 * 1024, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return hasGps(head);
}

void ExifGpsTags::remove(const std::string& path) {
    const auto bytes = fileio::readFile(path);
    if (!bytes)
        throw std::runtime_error("Die Datei lässt sich nicht lesen.");
    const std::string cleaned = withoutGps(*bytes);
    if (cleaned != *bytes && !fileio::writeFileAtomic(path, cleaned))
        throw std::runtime_error("Die Datei lässt sich nicht schreiben.");
}

}  // namespace pictra::platform::pictures
