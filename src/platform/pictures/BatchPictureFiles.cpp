#include "BatchPictureFiles.h"

#include <cerrno>

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

}  // namespace pictra::platform::pictures
