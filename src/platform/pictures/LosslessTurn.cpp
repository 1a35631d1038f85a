#include "LosslessTurn.h"

#include <turbojpeg.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "PictureCodecs.h"
#include "common/FileIo.h"
#include "common/LargeBuffer.h"
#include "PictureExif.h"
#include "PictureFiles.h"
#include "pictures/editing/Orientation.h"

namespace pictra::platform::pictures {

namespace {

// A photo is read in one piece into large pages: every copy of megabytes costs a
// fault per page here, more than the turn itself.
std::string readAll(const std::string& path) {
    auto bytes = fileio::readFile(path);
    if (!bytes) throw PictureError("Kann Bild nicht laden");
    return std::move(*bytes);
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
    const auto* source = reinterpret_cast<const unsigned char*>(jpeg.data());
    const auto sourceSize = static_cast<unsigned long>(jpeg.size());
    // The turned picture is written into a buffer on large pages, room enough for
    // its blocks and every marker of the original; the library's own buffer would
    // take a page fault for every 4 KB it writes.
    unsigned char* out = nullptr;
    int flags = 0;
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handle, source, sourceSize, &width, &height, &subsampling, &colourspace) == 0) {
        const int side = std::max(width, height);
        const unsigned long capacity = tjBufSize(side, side, subsampling) + sourceSize;
        out = tjAlloc(static_cast<int>(std::min<unsigned long>(capacity, 0x7fffffff)));
        if (out && capacity <= 0x7fffffff) {
            common::adviseLarge(out, capacity);
            flags = TJFLAG_NOREALLOC;
        } else {
            tjFree(out);
            out = nullptr;
        }
    }
    unsigned long size = 0;
    const int result = tjTransform(handle, source, sourceSize, 1, &out, &size, &transform, flags);
    std::optional<std::string> turned;
    if (result == 0 && out) {
        turned.emplace();
        common::reserveLarge(*turned, size);
        turned->assign(reinterpret_cast<const char*>(out), size);
    }
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
