// libFuzzer target: any bytes into the picture readers (JPEG at every DCT scale,
// GIF, and Qt's readers for PNG, BMP, ICO and TIFF). An error value or a refused
// size is the normal answer to bad bytes; a crash or a sanitizer report is a fault.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "pictures/Bitmap32.h"
#include "platform/pictures/PictureCodecs.h"
#include "platform/pictures/QtPictureCodecs.h"

using namespace pictra::platform::pictures;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Headers may claim any size; keep what the fuzzer may allocate within its limits.
    pictra::pictures::setMaxBitmapBytes(std::uint64_t{64} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int scale = size > 0 ? data[size - 1] % 8 + 1 : 8;
    try {
        (void)jpegSize(bytes);
        (void)decodeJpeg(bytes, scale);
    } catch (const std::runtime_error&) {
    }
    try {
        (void)decodeGif(bytes);
    } catch (const std::runtime_error&) {
    }
    try {
        (void)decodeWithQt(bytes);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
