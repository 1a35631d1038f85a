#include "BatchPictureFiles.h"

#include <cerrno>
#include <filesystem>

#include "CaptionDrawing.h"
#include "PictureCodecs.h"
#include "PictureExif.h"
#include "PictureFiles.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "explorer/CopyChecked.h"
#include "pictures/editing/Orientation.h"

namespace pictra::platform::pictures {

namespace batch = pictra::pictures::batch;

batch::Picture BatchPictureFiles::load(const std::string& path) {
    LoadedPicture loaded = loadPicture(path);
    batch::Picture picture{std::move(loaded.bitmap), std::move(loaded.exif), loaded.damaged};
    pictra::pictures::editing::orientUpright(picture.bitmap, exifOrientation(picture.exif));
    return picture;
}

namespace {

// The smallest scale in eighths whose picture still covers the target in both directions.
int coveringScale(int fullWidth, int fullHeight, int targetWidth, int targetHeight) {
    for (int m = 1; m < 8; ++m) {
        const long long w = (static_cast<long long>(fullWidth) * m + 7) / 8;
        const long long h = (static_cast<long long>(fullHeight) * m + 7) / 8;
        if (w >= targetWidth && h >= targetHeight)
            return m;
    }
    return 8;
}

}  // namespace

batch::Picture BatchPictureFiles::load(const std::string& path, const batch::SizeHint& hint) {
    // Files the JPEG decoder would not take first, and anything odd about the file itself,
    // go the whole way with its messages.
    std::error_code ec;
    if (!hint || pathnames::lowerExtension(path).find(".jp") == std::string::npos ||
        !std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) > pictureBudgetBytes() || ec)
        return load(path);
    const auto bytes = fileio::readFile(path);
    if (!bytes)
        return load(path);
    const auto stored = jpegSize(*bytes);
    if (!stored)
        return load(path);
    const bool swapped = pictra::pictures::editing::orientationSwapsSides(fileOrientation(path));
    const int uprightWidth = swapped ? stored->second : stored->first;
    const int uprightHeight = swapped ? stored->first : stored->second;
    const auto target = hint(uprightWidth, uprightHeight);
    if (!target)
        return load(path);
    const int scale = coveringScale(stored->first, stored->second, swapped ? target->height : target->width,
                                    swapped ? target->width : target->height);
    JpegPicture jpeg;
    try {
        jpeg = decodeJpeg(*bytes, scale);
    } catch (const PictureError&) {
        return load(path);  // perhaps another format under a JPEG name
    }
    batch::Picture picture{std::move(jpeg.bitmap), std::move(jpeg.exif), jpeg.truncated};
    pictra::pictures::editing::orientUpright(picture.bitmap, exifOrientation(picture.exif));
    if (picture.bitmap.width() < target->width || picture.bitmap.height() < target->height)
        return load(path);  // the block read whole turns otherwise than its first part said
    if (scale < 8) {
        picture.fullWidth = uprightWidth;
        picture.fullHeight = uprightHeight;
    }
    return picture;
}

void BatchPictureFiles::save(const std::string& path, const pictra::pictures::Bitmap32& bitmap,
                             const batch::Encoding& how, const std::string& exif) {
    const std::string ext = pathnames::lowerExtension(path);
    const bool jpeg = how.jpeg || ext == ".jpg" || ext == ".jpeg" || ext == ".jpe";
    const std::string kept = exif.empty() ? std::string() : exifForChangedPixels(exif, bitmap.width(), bitmap.height());
    if (!jpeg) {
        savePicture(path, bitmap, 91, kept);
        return;
    }
    JpegEncoding encoding;
    encoding.quality = how.quality;
    encoding.grey = how.grey;
    encoding.exif = kept;
    const std::string bytes = encodeJpegAs(bitmap, encoding);
    int error = 0;
    if (fileio::writeFileCached(path, bytes, &error))
        return;
    if (error == ENOSPC)
        throw PictureError(fullVolumeText(path));
    throw PictureError("\"" + path + "\" konnte nicht gespeichert werden.");
}

void BatchPictureFiles::drawCaption(pictra::pictures::Bitmap32& result, const std::string& picturePath) {
    drawCaptionFile(result, picturePath, pictra::pictures::captions::CaptionStyle{});
}

}  // namespace pictra::platform::pictures
