#pragma once

#include <string>
#include <string_view>

// The EXIF block of a JPEG (its APP1 segment as read and written by the codec), through libexif.
namespace pictra::platform::pictures {

// The orientation tag, 1 … 8; 1 when there is none or the block cannot be read.
int exifOrientation(std::string_view exif);
// The orientation of a JPEG file, from the first bytes of the file only; 1 for anything else.
int fileOrientation(const std::string& path);
// The block for a picture whose pixels were changed: orientation 1, the new size,
// no thumbnail; date, camera and the rest kept. Empty in, empty out; a block
// libexif cannot read is dropped rather than written back stale.
std::string exifForChangedPixels(const std::string& exif, int width, int height);

}  // namespace pictra::platform::pictures
