#pragma once

#include <string>
#include <string_view>

// Where a photo was taken, as its EXIF block tells it: the GPS directory that the
// first directory points to. Works on the block's bytes ("Exif\0\0" and the TIFF
// structure, as a JPEG's APP1 segment holds it), without any library.
namespace pictra::pictures {

// Whether the first directory points to a GPS directory.
bool exifHasGps(std::string_view exif);

// The block without the pointer to the GPS directory, and with that directory and
// the values it points to overwritten by zeros, so that no reader finds the place
// any more. Everything else keeps its offset: camera, date and orientation stay
// readable. A block without GPS, or no EXIF block at all, comes back unchanged.
std::string exifWithoutGps(std::string_view exif);

}  // namespace pictra::pictures
