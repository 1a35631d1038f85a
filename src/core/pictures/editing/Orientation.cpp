#include "pictures/editing/Orientation.h"

#include <algorithm>

#include "pictures/editing/Colours.h"

namespace pictra::pictures::editing {

namespace {

void mirrorRows(Bitmap32& picture) {
    const int h = picture.height();
    const auto w = static_cast<std::size_t>(picture.width());
    for (int y = 0; y < h / 2; ++y) std::swap_ranges(picture.row(y), picture.row(y) + w, picture.row(h - 1 - y));
}

}  // namespace

void orientUpright(Bitmap32& picture, int orientation) {
    switch (orientation) {
        case 2: mirror(picture); break;
        case 3: turnHalf(picture); break;
        case 4: mirrorRows(picture); break;
        case 5:  // the main diagonal
            turnRight(picture);
            mirror(picture);
            break;
        case 6: turnRight(picture); break;
        case 7:  // the other diagonal
            turnLeft(picture);
            mirror(picture);
            break;
        case 8: turnLeft(picture); break;
        default: break;
    }
}

}  // namespace pictra::pictures::editing
