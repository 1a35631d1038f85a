#pragma once

#include <QImage>
#include <string>
#include <string_view>

#include "pictures/Bitmap32.h"

namespace pictra::platform::pictures {

// QImage::Format_ARGB32 has the bitmap's layout; the rows are copied as blocks.
QImage toQImage(const pictra::pictures::Bitmap32& bitmap);
pictra::pictures::Bitmap32 fromQImage(const QImage& image);

// BMP, PNG, ICO, TIFF and whatever else Qt's image readers know. Throws PictureError.
pictra::pictures::Bitmap32 decodeWithQt(std::string_view bytes);
// `format` as Qt names it ("bmp", "png", "ico", "tif").
std::string encodeWithQt(const pictra::pictures::Bitmap32& bitmap, const char* format);

}  // namespace pictra::platform::pictures
