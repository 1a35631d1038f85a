#pragma once

#include <string>

#include "pictures/Bitmap32.h"

// What the picture editor needs of the codecs beyond reading and writing files.
namespace pictra::platform::pictures {

// The picture as a greyscale JPEG with the encoder's default settings (its
// luminance, with its compression loss). Throws PictureError.
std::string encodeJpegGrey(const pictra::pictures::Bitmap32& bitmap);

}  // namespace pictra::platform::pictures
