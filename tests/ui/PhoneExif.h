#pragma once

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace pictra::test {

// A phone's EXIF block: camera, date and where the photo was taken.
inline std::string phoneExif(ExifByteOrder order = EXIF_BYTE_ORDER_MOTOROLA) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, order);
    const auto add = [data](ExifIfd ifd, int tag, const char* text) {
        ExifEntry* e = exif_entry_new();
        exif_content_add_entry(data->ifd[ifd], e);
        e->tag = static_cast<ExifTag>(tag);
        e->format = EXIF_FORMAT_ASCII;
        e->size = static_cast<unsigned int>(std::strlen(text) + 1);
        e->components = e->size;
        e->data = static_cast<unsigned char*>(std::malloc(e->size));
        std::memcpy(e->data, text, e->size);
        exif_entry_unref(e);
    };
    add(EXIF_IFD_0, EXIF_TAG_MAKE, "Kamera");
    add(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, "2024:05:01 10:20:30");
    add(EXIF_IFD_GPS, EXIF_TAG_GPS_LATITUDE_REF, "N");
    add(EXIF_IFD_GPS, EXIF_TAG_GPS_LONGITUDE_REF, "E");
    unsigned char* out = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &out, &size);
    std::string block(reinterpret_cast<const char*>(out), size);
    std::free(out);
    exif_data_unref(data);
    return block;
}

}  // namespace pictra::test
