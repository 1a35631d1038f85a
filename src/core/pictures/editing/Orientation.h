#pragma once

#include "pictures/Bitmap32.h"

namespace pictra::pictures::editing {

// The picture turned and mirrored as an EXIF orientation tag (1 … 8) asks for
// it to be shown: 6 is a quarter turn right, 8 a quarter turn left, 3 a half
// turn, 2 and 4 mirrors, 5 and 7 the diagonal mirrors. Other values change nothing.
void orientUpright(Bitmap32& picture, int orientation);
// Whether the upright picture has width and height exchanged.
inline bool orientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

}  // namespace pictra::pictures::editing
