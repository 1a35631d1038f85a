#pragma once

#include <functional>
#include <string>
#include <utility>

#include "pictures/Bitmap32.h"

namespace pictra::platform::pictures {

struct LoadedPicture {
    pictra::pictures::Bitmap32 bitmap;
    std::string exif;  // JPEG only
    int fullWidth = 0;
    int fullHeight = 0;
    bool damaged = false;  // its data ended early: shown as far as it goes
};

// Reads a picture file as the picture windows do: an extension holding ".jp" is
// decoded as JPEG first; on failure, and for every other file, the readers for
// what the bytes are (a PNG named ".jpg" is read as PNG). With a target size the
// JPEG decoder scales down by its DCT scaling to no less than twice the target.
// Throws PictureError (with a German text) or pictures::BitmapTooLarge for a
// picture beyond the budget (pictureBudgetBytes), refused from its header.
LoadedPicture loadPicture(const std::string& path, int targetWidth = 0, int targetHeight = 0);

// The picture fitted into maxWidth × maxHeight keeping its proportions (Lanczos
// when shrinking, Mitchell when enlarging). A JPEG is decoded at a DCT scale no
// smaller than twice the target and resampled on the other core while its rows
// are still being decoded.
LoadedPicture loadFitted(const std::string& path, int maxWidth, int maxHeight);
// The same with the target size chosen from the full size.
LoadedPicture loadResized(const std::string& path, const std::function<std::pair<int, int>(int, int)>& sizeFor);

// Whether the header, read from the first bytes of the file only, claims a picture
// beyond the budget; false for a picture whose size cannot be told that way.
bool beyondBudget(const std::string& path);

// The picture turned a quarter to the right; a JPEG is turned while it is decoded.
LoadedPicture loadTurnedRight(const std::string& path);

// The size of a w × h picture fitted into maxWidth × maxHeight.
std::pair<int, int> fittedSize(int width, int height, int maxWidth, int maxHeight);

// Writes by the target's extension: ".jpg"/".jpeg" at `quality` (keeping the EXIF
// segment given), ".gif", ".bmp", ".png", ".ico", ".tif"/".tiff"; through a
// temporary file and a rename, so a failure leaves an existing file intact.
// Throws PictureError.
void savePicture(const std::string& path, const pictra::pictures::Bitmap32& bitmap, int quality = 91,
                 const std::string& exif = {});

}  // namespace pictra::platform::pictures
