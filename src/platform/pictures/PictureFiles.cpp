#include "PictureFiles.h"

#include "PictureCodecs.h"
#include "QtPictureCodecs.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"

namespace pictra::platform::pictures {

using pictra::pictures::Signature;

namespace {

std::string lowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return text::toLowerAscii(path.substr(dot));
}

LoadedPicture loadJpeg(const std::string& bytes, int targetWidth, int targetHeight) {
    int scale = 8;
    if (targetWidth > 0 && targetHeight > 0) {
        if (auto size = jpegSize(bytes)) scale = jpegScaleFor(size->first, size->second, targetWidth, targetHeight);
    }
    JpegPicture jpeg = decodeJpeg(bytes, scale);
    return {std::move(jpeg.bitmap), std::move(jpeg.exif), jpeg.fullWidth, jpeg.fullHeight};
}

LoadedPicture withFullSize(pictra::pictures::Bitmap32 bitmap) {
    LoadedPicture p;
    p.fullWidth = bitmap.width();
    p.fullHeight = bitmap.height();
    p.bitmap = std::move(bitmap);
    return p;
}

}  // namespace

LoadedPicture loadPicture(const std::string& path, int targetWidth, int targetHeight) {
    const auto bytes = fileio::readFile(path);
    if (!bytes) throw PictureError("Datei \"" + path + "\" kann nicht gelesen werden.");
    if (bytes->empty()) throw PictureError("Datei \"" + path + "\" ist leer.");
    const std::string ext = lowerExtension(path);
    if (ext.find(".jp") != std::string::npos) {
        try {
            return loadJpeg(*bytes, targetWidth, targetHeight);
        } catch (const PictureError&) {
            // Perhaps another format under a JPEG name: the other readers decide.
        }
    }
    switch (pictra::pictures::signatureOf(std::string_view(*bytes).substr(0, 16))) {
        case Signature::Jpeg: return loadJpeg(*bytes, targetWidth, targetHeight);
        case Signature::Gif: return withFullSize(decodeGif(*bytes));
        default: break;
    }
    if (ext == ".wmf") throw PictureError("WMF-Bilder können nicht gelesen werden (kein WMF-Leser vorhanden).");
    return withFullSize(decodeWithQt(*bytes));
}

void savePicture(const std::string& path, const pictra::pictures::Bitmap32& bitmap, int quality,
                 const std::string& exif) {
    const std::string ext = lowerExtension(path);
    std::string bytes;
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") {
        bytes = encodeJpeg(bitmap, quality, exif);
    } else if (ext == ".gif") {
        bytes = encodeGif(bitmap);
    } else if (ext == ".bmp" || ext == ".png" || ext == ".ico") {
        bytes = encodeWithQt(bitmap, ext.c_str() + 1);
    } else if (ext == ".tif" || ext == ".tiff") {
        bytes = encodeWithQt(bitmap, "tif");
    } else {
        throw PictureError("Unbekanntes Bildformat \"" + ext + "\".");
    }
    if (fileio::writeFile(path, bytes, false) != fileio::WriteResult::Written) throw PictureError("Konnte \"" + path + " nicht speichern.");
}

}  // namespace pictra::platform::pictures
