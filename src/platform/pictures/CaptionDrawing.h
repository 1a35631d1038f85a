#pragma once

#include <string>
#include <vector>

#include "pictures/Bitmap32.h"
#include "pictures/captions/Captions.h"

// Text drawn into a picture's own pixels (QPainter over the bitmap, no copy):
// sizes are points at 96 dpi, so the pixels do not depend on the desktop.
namespace pictra::platform::pictures {

// The pixel height of a font of `points` points at 96 dpi.
int pixelsForPoints(int points);
// Draws each placed caption line (Windows-1252 text) at its place, antialiased,
// on its background unless it is transparent. The default family is "Arial".
void drawCaptions(pictra::pictures::Bitmap32& picture, const std::vector<pictra::pictures::captions::PlacedCaption>& plan,
                  const std::string& family = "Arial");
// The caption file of the picture drawn over it (nothing when there is none or it
// cannot be read, a folder or a FIFO included); true when any line was drawn.
bool drawCaptionFile(pictra::pictures::Bitmap32& picture, const std::string& picturePath,
                     const pictra::pictures::captions::CaptionStyle& defaults, int ox = 0, int oy = 0);
// The picture a ".jp0" belongs to (see pictureNameForCaption), as a full path; empty when none.
std::string pictureOfCaption(const std::string& captionPath);
// The lines of the picture's caption file; empty when there is none or it is no regular file.
std::vector<std::string> readCaptionLines(const std::string& picturePath);

}  // namespace pictra::platform::pictures
