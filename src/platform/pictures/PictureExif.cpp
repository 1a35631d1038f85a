#include "PictureExif.h"

#include <libexif/exif-data.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace pictra::platform::pictures {

namespace {

struct ExifFree {
    void operator()(ExifData* d) const { exif_data_unref(d); }
};
using ExifPtr = std::unique_ptr<ExifData, ExifFree>;

ExifPtr parse(std::string_view exif) {
    if (exif.size() < 6 || exif.substr(0, 6) != std::string_view("Exif\0\0", 6)) return nullptr;
    return ExifPtr(exif_data_new_from_data(reinterpret_cast<const unsigned char*>(exif.data()),
                                           static_cast<unsigned int>(exif.size())));
}

void setShort(ExifData* data, ExifIfd ifd, ExifTag tag, unsigned value) {
    ExifEntry* e = exif_content_get_entry(data->ifd[ifd], tag);
    if (!e) return;
    const ExifByteOrder order = exif_data_get_byte_order(data);
    if (e->format == EXIF_FORMAT_SHORT && e->components == 1) {
        exif_set_short(e->data, order, static_cast<ExifShort>(value));
    } else if (e->format == EXIF_FORMAT_LONG && e->components == 1) {
        exif_set_long(e->data, order, value);
    }
}

}  // namespace

int exifOrientation(std::string_view exif) {
    const ExifPtr data = parse(exif);
    if (!data) return 1;
    ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!e || e->format != EXIF_FORMAT_SHORT || e->components < 1) return 1;
    const int value = exif_get_short(e->data, exif_data_get_byte_order(data.get()));
    return value >= 1 && value <= 8 ? value : 1;
}

int fileOrientation(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(4, '\0');
    if (!in.read(head.data(), 4) || static_cast<unsigned char>(head[0]) != 0xFF ||
        static_cast<unsigned char>(head[1]) != 0xD8) {
        return 1;
    }
    // Segments up to the first APP1; the EXIF block always comes before the picture data.
    std::size_t at = 2;
    for (int segments = 0; segments < 32; ++segments) {
        unsigned char marker[4];
        in.seekg(static_cast<std::streamoff>(at));
        if (!in.read(reinterpret_cast<char*>(marker), 4) || marker[0] != 0xFF) return 1;
        const std::size_t length = static_cast<std::size_t>(marker[2]) << 8 | marker[3];
        if (length < 2) return 1;
        if (marker[1] == 0xE1) {
            std::string block(length - 2, '\0');
            if (!in.read(block.data(), static_cast<std::streamsize>(block.size()))) return 1;
            return exifOrientation(block);
        }
        if (marker[1] == 0xDA || marker[1] == 0xD9) return 1;
        at += 2 + length;
    }
    return 1;
}

std::string exifForChangedPixels(const std::string& exif, int width, int height) {
    if (exif.empty()) return {};
    const ExifPtr data = parse(exif);
    if (!data) return {};
    setShort(data.get(), EXIF_IFD_0, EXIF_TAG_ORIENTATION, 1);
    setShort(data.get(), EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, static_cast<unsigned>(width));
    setShort(data.get(), EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, static_cast<unsigned>(height));
    // The old thumbnail shows the old picture.
    if (data->data) {
        std::free(data->data);  // libexif's default allocator
        data->data = nullptr;
        data->size = 0;
    }
    while (data->ifd[EXIF_IFD_1]->count > 0) {
        exif_content_remove_entry(data->ifd[EXIF_IFD_1], data->ifd[EXIF_IFD_1]->entries[0]);
    }
    unsigned char* out = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data.get(), &out, &size);
    if (!out) return {};
    std::string result(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return result;
}

}  // namespace pictra::platform::pictures
