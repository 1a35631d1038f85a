#include "PictureInsertionFiles.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "PictureCodecs.h"
#include "pictures/PictureNames.h"

namespace pictra::platform::pictures {

namespace {

using pictra::pictures::Signature;

// A JPEG's frame header stands behind its EXIF block, so the read starts small and grows, up to
// 4 MB for colour profiles and previews in further segments.
constexpr qint64 kFirstRead = 32 * 1024;
constexpr qint64 kMostRead = 4 * 1024 * 1024;

std::string_view viewOf(const QByteArray& bytes) { return {bytes.constData(), static_cast<std::size_t>(bytes.size())}; }

unsigned byteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The orientation tag of an EXIF block's first directory; 1 when it has none. Only this one tag
// is read: parsing the whole block (maker notes, thumbnail) took longer than all the rest of an
// insertion.
int orientationTag(std::string_view exif) {
    if (exif.size() < 14 || exif.substr(0, 6) != std::string_view("Exif\0\0", 6)) return 1;
    const std::string_view tiff = exif.substr(6);
    const bool intel = tiff.substr(0, 2) == "II";
    if (!intel && tiff.substr(0, 2) != "MM") return 1;
    const auto number = [&tiff, intel](std::size_t at, int bytes) {
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const unsigned b = byteAt(tiff, at + static_cast<std::size_t>(intel ? bytes - 1 - i : i));
            value = value << 8 | b;
        }
        return value;
    };
    const std::size_t directory = number(4, 4);
    if (directory > tiff.size() || tiff.size() - directory < 2) return 1;
    const std::size_t entries = number(directory, 2);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + 12 * i;
        if (entry + 12 > tiff.size()) return 1;
        if (number(entry, 2) != 0x0112) continue;
        const std::uint32_t value = number(entry + 2, 2) == 3 ? number(entry + 8, 2) : 1;
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

// The EXIF orientation from the segments in `head`, which holds them all up to the picture data.
int orientationIn(std::string_view head) {
    std::size_t at = 2;
    while (at + 4 <= head.size() && byteAt(head, at) == 0xFF) {
        const unsigned marker = byteAt(head, at + 1);
        if (marker == 0xDA || marker == 0xD9) return 1;
        const std::size_t length = byteAt(head, at + 2) << 8 | byteAt(head, at + 3);
        if (length < 2 || at + 2 + length > head.size()) return 1;
        if (marker == 0xE1 && head.substr(at + 4, 6) == std::string_view("Exif\0\0", 6)) {
            return orientationTag(head.substr(at + 4, length - 2));
        }
        at += 2 + length;
    }
    return 1;
}

// The frame header is read once every segment before the picture data is in `head`.
std::optional<preview::PictureSize> jpegHeaderSize(QFile& file, QByteArray head) {
    for (;;) {
        if (const auto size = jpegSize(viewOf(head))) {
            const bool upright = orientationIn(viewOf(head)) >= 5;
            return upright ? preview::PictureSize{size->second, size->first}
                           : preview::PictureSize{size->first, size->second};
        }
        if (head.size() >= kMostRead || file.atEnd()) return std::nullopt;
        head += file.read(std::min(head.size() * 3, kMostRead - head.size()));
    }
}

}  // namespace

std::optional<preview::PictureSize> headerSize(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray head = file.read(kFirstRead);
    const std::string_view bytes = viewOf(head);
    const Signature signature = pictra::pictures::signatureOf(bytes);
    if (signature == Signature::Jpeg) return jpegHeaderSize(file, head);
    if (signature == Signature::Gif) {
        // The logical screen the frames are drawn on, which is what a browser shows (Qt tells the first frame's).
        if (bytes.size() < 10) return std::nullopt;
        const int width = static_cast<int>(byteAt(bytes, 6) | byteAt(bytes, 7) << 8);
        const int height = static_cast<int>(byteAt(bytes, 8) | byteAt(bytes, 9) << 8);
        if (width == 0 || height == 0) return std::nullopt;
        return preview::PictureSize{width, height};
    }
    file.seek(0);
    QImageReader reader(&file);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return std::nullopt;
    return preview::PictureSize{size.width(), size.height()};
}

preview::PictureSources pictureInsertionSources(const std::string& documentFolder) {
    preview::PictureSources sources;
    sources.documentFolder = documentFolder;
    sources.size = headerSize;
    sources.copy = [](const std::string& from, const std::string& to) {
        const QString target = QString::fromStdString(to);
        return !QFile::exists(target) && QFile::copy(QString::fromStdString(from), target);
    };
    return sources;
}

}  // namespace pictra::platform::pictures
