#pragma once

#include <optional>
#include <string>

#include "html/preview/PictureInsertion.h"

// The files behind "Bild einfügen": sizes read from headers, copies into the document's folder.
namespace pictra::platform::pictures {

// Width and height as a browser shows the picture, from the file's first bytes only (never a
// decode, so a 100-megapixel file costs what a small one does): a JPEG through its markers, its
// sides swapped when the EXIF orientation stands it upright; a GIF's logical screen; the other
// formats through Qt's readers. None for a file that is no readable picture.
std::optional<preview::PictureSize> headerSize(const std::string& path);

// What picture insertion works with for a document in `documentFolder` (with a trailing "/",
// empty for an untitled document): the header sizes, and copies that never replace a file.
preview::PictureSources pictureInsertionSources(const std::string& documentFolder);

}  // namespace pictra::platform::pictures
