#include "GalleryPictureFiles.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "PictureCodecs.h"
#include "PictureExif.h"
#include "PictureFiles.h"
#include "common/FileIo.h"
#include "pictures/editing/Orientation.h"

namespace pictra::platform::pictures {

namespace batch = pictra::pictures::batch;
namespace ed = pictra::pictures::editing;

namespace {

constexpr pictra::pictures::Color32 kInk = 0xFF000080u;
constexpr pictra::pictures::Color32 kPaper = 0xFFFFFFFFu;

// A filled triangle pointing left, right or up inside w × h.
pictra::pictures::Bitmap32 arrowPicture(int w, int h, char direction) {
    pictra::pictures::Bitmap32 b(w, h);
    b.clear(kPaper);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool inside = false;
            if (direction == 'o') {
                const int half = (w * (y + 1)) / (2 * h);  // widens towards the bottom
                inside = x >= w / 2 - half && x < w / 2 + half + 1 && y >= 1;
            } else {
                const int reach = (w * std::min(y + 1, h - y)) / h * 2;  // the base's side is widest in the middle row
                inside =
                    direction == 'r' ? x < reach && x >= 1 : x >= w - reach && x < w - 1;  // the tip where it points
            }
            if (inside)
                b.row(y)[x] = kInk;
        }
    }
    return b;
}

void writeOrThrow(const std::string& path, const std::string& bytes) {
    int error = 0;
    if (!fileio::writeFileCached(path, bytes, &error))
        throw PictureError("\"" + path + "\" konnte nicht gespeichert werden.");
}

}  // namespace

void GalleryPictureFiles::makeSmall(const std::string& source, const std::string& target, int height, int quality) {
    const int orientation = fileOrientation(source);
    const bool swap = ed::orientationSwapsSides(orientation);
    LoadedPicture small = loadResized(source, [height, swap](int w, int h) {
        const int uprightWidth = swap ? h : w;
        const int uprightHeight = swap ? w : h;
        const int width =
            std::max(1, static_cast<int>(static_cast<long long>(uprightWidth) * height / std::max(1, uprightHeight)));
        return swap ? std::pair<int, int>{height, width} : std::pair<int, int>{width, height};
    });
    if (small.damaged)
        throw PictureError("Die Datei ist unvollständig.");
    ed::orientUpright(small.bitmap, orientation);
    JpegEncoding how;
    how.quality = std::clamp(quality, 1, 100);
    if (!small.exif.empty())
        how.exif = exifForChangedPixels(small.exif, small.bitmap.width(), small.bitmap.height());
    writeOrThrow(target, encodeJpegAs(small.bitmap, how));
}

std::optional<batch::Size> GalleryPictureFiles::sizeOf(const std::string& path) {
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    return batch::Size{size.width(), size.height()};
}

void GalleryPictureFiles::writeArrows(const std::string& folder) {
    writeOrThrow(folder + "/zzzweiter_l.gif", encodeGif(arrowPicture(24, 14, 'l')));
    writeOrThrow(folder + "/zzzweiter_r.gif", encodeGif(arrowPicture(24, 14, 'r')));
    writeOrThrow(folder + "/zzzweiter_o.gif", encodeGif(arrowPicture(14, 16, 'o')));
}

}  // namespace pictra::platform::pictures
