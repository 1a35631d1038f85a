#include "PictureFiles.h"
#include "common/PathNames.h"

#include "PictureCodecs.h"
#include "PngWriter.h"
#include "QtPictureCodecs.h"
#include "common/FileIo.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"
#include "pictures/Resampler.h"
#include "pictures/RowGate.h"

#include <QBuffer>
#include <QImageReader>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace pictra::platform::pictures {

using pictra::pictures::Signature;

namespace {

using pathnames::lowerExtension;

LoadedPicture loadJpeg(const std::string& bytes, int targetWidth, int targetHeight) {
    int scale = 8;
    if (targetWidth > 0 && targetHeight > 0) {
        if (auto size = jpegSize(bytes)) scale = jpegScaleFor(size->first, size->second, targetWidth, targetHeight);
    }
    JpegPicture jpeg = decodeJpeg(bytes, scale);
    return {std::move(jpeg.bitmap), std::move(jpeg.exif), jpeg.fullWidth, jpeg.fullHeight, jpeg.truncated};
}

LoadedPicture withFullSize(pictra::pictures::Bitmap32 bitmap, bool damaged = false) {
    LoadedPicture p;
    p.fullWidth = bitmap.width();
    p.fullHeight = bitmap.height();
    p.bitmap = std::move(bitmap);
    p.damaged = damaged;
    return p;
}

// The bytes of a picture file. Only regular files are read (a pipe or a device
// would never end), and none larger than a picture may be.
std::string readPictureFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) {
        throw PictureError("Datei \"" + path + "\" kann nicht gelesen werden.");
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > pictureBudgetBytes()) {
        throw pictra::pictures::BitmapTooLarge("Die Datei ist zu groß für den Arbeitsspeicher (" + std::to_string(size) +
                                               " Bytes).");
    }
    auto bytes = fileio::readFile(path);
    if (!bytes) throw PictureError("Datei \"" + path + "\" kann nicht gelesen werden.");
    if (bytes->empty()) throw PictureError("Datei \"" + path + "\" ist leer.");
    return std::move(*bytes);
}

}  // namespace

bool beyondBudget(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    if (std::filesystem::file_size(path, ec) > pictureBudgetBytes() && !ec) return true;
    // Headers stand at the start; a JPEG's behind at most a few segments of 64 kB.
    std::string head(256 * 1024, '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    long long width = 0;
    long long height = 0;
    const Signature signature = pictra::pictures::signatureOf(head);
    if (signature == Signature::Jpeg) {
        const auto size = jpegSize(head);
        if (!size) return false;
        width = size->first;
        height = size->second;
    } else if (signature == Signature::Gif && head.size() >= 10) {
        // The logical screen, which the first frame is drawn on (Qt tells the frame's size).
        const auto byte = [&head](size_t i) { return static_cast<long long>(static_cast<unsigned char>(head[i])); };
        width = byte(6) | byte(7) << 8;
        height = byte(8) | byte(9) << 8;
    } else {
        QByteArray data = QByteArray::fromRawData(head.data(), static_cast<qsizetype>(head.size()));
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        const QSize size = QImageReader(&buffer).size();
        if (!size.isValid()) return false;
        width = size.width();
        height = size.height();
    }
    try {
        checkPictureBudget(width, height);
    } catch (const pictra::pictures::BitmapTooLarge&) {
        return true;
    }
    return false;
}

LoadedPicture loadPicture(const std::string& path, int targetWidth, int targetHeight) {
    const auto bytes = std::optional<std::string>(readPictureFile(path));
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
        case Signature::Gif: {
            bool truncated = false;
            Bitmap32 gif = decodeGif(*bytes, &truncated);
            return withFullSize(std::move(gif), truncated);
        }
        case Signature::Heif: return withFullSize(decodeHeif(*bytes));
        default: break;
    }
    if (ext == ".wmf") throw PictureError("WMF-Bilder können nicht gelesen werden (kein WMF-Leser vorhanden).");
    return withFullSize(decodeWithQt(*bytes));
}

std::pair<int, int> fittedSize(int width, int height, int maxWidth, int maxHeight) {
    if (width <= 0 || height <= 0) return {0, 0};
    const double f = std::min(static_cast<double>(maxWidth) / width, static_cast<double>(maxHeight) / height);
    return {std::max(1, static_cast<int>(std::lround(width * f))), std::max(1, static_cast<int>(std::lround(height * f)))};
}

namespace {

// Runs `work` on the decoded rows on a second thread while the decoder goes on.
class Alongside : public DecodeObserver {
public:
    explicit Alongside(std::function<void(const pictra::pictures::Bitmap32&, const pictra::pictures::RowGate&)> work)
        : m_work(std::move(work)) {}
    ~Alongside() override { finish(); }
    void started(const pictra::pictures::Bitmap32& bitmap) override {
        m_worker = std::thread([this, &bitmap] { m_work(bitmap, m_gate); });
    }
    void rowsDone(int rows) override { m_gate.publish(rows); }
    void finish() {
        m_gate.finish();
        if (m_worker.joinable()) m_worker.join();
    }

private:
    std::function<void(const pictra::pictures::Bitmap32&, const pictra::pictures::RowGate&)> m_work;
    pictra::pictures::RowGate m_gate;
    std::thread m_worker;
};

// A JPEG decoded with `work` running beside it; false when the bytes are no JPEG
// (the caller then reads them by their format).
bool decodeAlongside(const std::string& bytes, int scale, LoadedPicture& out,
                     std::function<void(const pictra::pictures::Bitmap32&, const pictra::pictures::RowGate&)> work) {
    JpegPicture jpeg;
    Alongside alongside(std::move(work));
    try {
        decodeJpegInto(bytes, scale, jpeg, &alongside);
    } catch (const PictureError&) {
        alongside.finish();
        return false;
    }
    alongside.finish();
    out.damaged = jpeg.truncated;
    out.exif = std::move(jpeg.exif);
    out.fullWidth = jpeg.fullWidth;
    out.fullHeight = jpeg.fullHeight;
    return true;
}

pictra::pictures::StretchFilter filterFor(int fromWidth, int toWidth) {
    return toWidth < fromWidth ? pictra::pictures::StretchFilter::Lanczos : pictra::pictures::StretchFilter::Mitchell;
}

}  // namespace

LoadedPicture loadFitted(const std::string& path, int maxWidth, int maxHeight) {
    return loadResized(path, [maxWidth, maxHeight](int w, int h) { return fittedSize(w, h, maxWidth, maxHeight); });
}

LoadedPicture loadResized(const std::string& path, const std::function<std::pair<int, int>(int, int)>& sizeFor) {
    const auto bytes = std::optional<std::string>(readPictureFile(path));
    if (bytes && lowerExtension(path).find(".jp") != std::string::npos) {
        if (const auto size = jpegSize(*bytes)) {
            const auto [w, h] = sizeFor(size->first, size->second);
            const int scale = jpegScaleFor(size->first, size->second, w, h);
            LoadedPicture out;
            pictra::pictures::Bitmap32 fitted;
            const bool decoded = decodeAlongside(*bytes, scale, out, [&](const auto& source, const auto& gate) {
                fitted = pictra::pictures::resized(source, w, h, filterFor(source.width(), w), &gate);
            });
            if (decoded) {
                out.bitmap = std::move(fitted);
                return out;
            }
        }
    }
    LoadedPicture picture = loadPicture(path);
    const auto [w, h] = sizeFor(picture.fullWidth, picture.fullHeight);
    if (w != picture.bitmap.width() || h != picture.bitmap.height()) {
        picture.bitmap = pictra::pictures::resized(picture.bitmap, w, h, filterFor(picture.bitmap.width(), w));
    }
    return picture;
}

LoadedPicture loadTurnedRight(const std::string& path) {
    const auto bytes = std::optional<std::string>(readPictureFile(path));
    if (bytes && lowerExtension(path).find(".jp") != std::string::npos) {
        LoadedPicture out;
        pictra::pictures::Bitmap32 turned;
        const bool decoded = decodeAlongside(*bytes, 8, out, [&](const auto& source, const auto& gate) {
            pictra::pictures::turnRight(source, turned, &gate);
        });
        if (decoded) {
            out.bitmap = std::move(turned);
            return out;
        }
    }
    LoadedPicture picture = loadPicture(path);
    pictra::pictures::turnRight(picture.bitmap);
    return picture;
}

void savePicture(const std::string& path, const pictra::pictures::Bitmap32& bitmap, int quality,
                 const std::string& exif) {
    const std::string ext = lowerExtension(path);
    std::string bytes;
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") {
        bytes = encodeJpeg(bitmap, quality, exif);
    } else if (ext == ".gif") {
        bytes = encodeGif(bitmap);
    } else if (ext == ".png") {
        bytes = encodePng(bitmap);
    } else if (ext == ".bmp" || ext == ".ico") {
        bytes = encodeWithQt(bitmap, ext.c_str() + 1);
    } else if (ext == ".tif" || ext == ".tiff") {
        bytes = encodeWithQt(bitmap, "tif");
    } else {
        throw PictureError("Unbekanntes Bildformat \"" + ext + "\".");
    }
    if (fileio::writeFile(path, bytes, false) != fileio::WriteResult::Written) throw PictureError("Konnte \"" + path + " nicht speichern.");
}

}  // namespace pictra::platform::pictures
