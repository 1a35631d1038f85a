#include "PictureEditingCodecs.h"

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

std::string encodeJpegGrey(const pictra::pictures::Bitmap32& bitmap) {
    JpegEncoding how;
    how.grey = true;
    return encodeJpegAs(bitmap, how);
}

}  // namespace pictra::platform::pictures
