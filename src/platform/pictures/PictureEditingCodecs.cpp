#include "PictureEditingCodecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

namespace {

struct Errors {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<Errors*>(info->err);
    std::longjmp(errors->jump, 1);
}

}  // namespace

std::string encodeJpegGrey(const pictra::pictures::Bitmap32& bitmap) {
    if (bitmap.empty()) throw PictureError("Ein leeres Bild kann nicht gespeichert werden.");
    jpeg_compress_struct info{};
    Errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw PictureError("JPEG-Datei kann nicht geschrieben werden.");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(bitmap.width());
    info.image_height = static_cast<JDIMENSION>(bitmap.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            reinterpret_cast<const JSAMPLE*>(bitmap.row(static_cast<int>(info.next_scanline))));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace pictra::platform::pictures
