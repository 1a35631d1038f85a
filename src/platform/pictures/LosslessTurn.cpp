#include "LosslessTurn.h"

#include <turbojpeg.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "PictureCodecs.h"
#include "PictureExif.h"
#include "PictureFiles.h"
#include "pictures/editing/Orientation.h"

namespace pictra::platform::pictures {

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PictureError("Kann Bild nicht laden");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void writeReplacing(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".pictra-tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            throw PictureError("Datei konnte nicht gespeichert werden!");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw PictureError("Datei konnte nicht gespeichert werden!");
    }
}

}  // namespace

std::optional<std::string> turnJpegLossless(std::string_view jpeg, bool right) {
    tjhandle handle = tjInitTransform();
    if (!handle) return std::nullopt;
    tjtransform transform{};
    transform.op = right ? TJXOP_ROT90 : TJXOP_ROT270;
    transform.options = TJXOPT_PERFECT;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int result = tjTransform(handle, reinterpret_cast<const unsigned char*>(jpeg.data()),
                                   static_cast<unsigned long>(jpeg.size()), 1, &out, &size, &transform, 0);
    std::optional<std::string> turned;
    if (result == 0 && out) turned = std::string(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    tjDestroy(handle);
    return turned;
}

bool turnJpegFile(const std::string& path, bool right) {
    const std::string bytes = readAll(path);
    if (!jpegSize(bytes)) throw PictureError("Kann Bild nicht laden");
    if (fileOrientation(path) == 1) {
        if (auto turned = turnJpegLossless(bytes, right)) {
            writeReplacing(path, *turned);
            return true;
        }
    }
    JpegPicture picture = decodeJpeg(bytes);
    pictra::pictures::editing::orientUpright(picture.bitmap, exifOrientation(picture.exif));
    if (right) {
        pictra::pictures::turnRight(picture.bitmap);
    } else {
        pictra::pictures::turnLeft(picture.bitmap);
    }
    const std::string exif = exifForChangedPixels(picture.exif, picture.bitmap.width(), picture.bitmap.height());
    writeReplacing(path, encodeJpeg(picture.bitmap, 91, exif));
    return false;
}

}  // namespace pictra::platform::pictures
