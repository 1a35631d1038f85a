#pragma once

#include <string>

#include "pictures/Bitmap32.h"

namespace pictra::platform::pictures {

// A PNG of the bitmap: RGB when every pixel is opaque (a photo), RGBA otherwise. Rows
// are filtered with the Sub filter only instead of libpng's trial of all five per row,
// which took most of the time on a photo and gained little; deflate with run lengths only.
// Throws PictureError.
std::string encodePng(const pictra::pictures::Bitmap32& bitmap);

}  // namespace pictra::platform::pictures
