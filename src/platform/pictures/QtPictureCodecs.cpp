#include "QtPictureCodecs.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <climits>
#include <cstring>

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

using pictra::pictures::Bitmap32;

QImage toQImage(const Bitmap32& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_ARGB32);
    if (image.isNull()) return image;
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width()) * 4;
    for (int y = 0; y < bitmap.height(); ++y) std::memcpy(image.scanLine(y), bitmap.row(y), rowBytes);
    return image;
}

Bitmap32 fromQImage(const QImage& image) {
    const QImage argb = image.format() == QImage::Format_ARGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
    Bitmap32 bitmap(argb.width(), argb.height());
    const std::size_t rowBytes = static_cast<std::size_t>(argb.width()) * 4;
    for (int y = 0; y < argb.height(); ++y) std::memcpy(bitmap.row(y), argb.constScanLine(y), rowBytes);
    return bitmap;
}

Bitmap32 decodeWithQt(std::string_view bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A header may claim any size: refuse what would pass the budget before decoding,
    // and let Qt's readers allocate no more than that either.
    const QSize size = reader.size();
    if (size.isValid()) checkPictureBudget(size.width(), size.height());
    // Set once: the limit is one for the whole process, and decoders run on several threads.
    static const bool limited = [] {
        QImageReader::setAllocationLimit(static_cast<int>(
            std::max<std::uint64_t>(1, std::min<std::uint64_t>(pictureBudgetBytes() >> 20, INT_MAX))));
        return true;
    }();
    (void)limited;
    const QImage image = reader.read();
    if (image.isNull()) throw PictureError("Keine lesbare Bilddatei: " + reader.errorString().toStdString());
    return fromQImage(image);
}

std::string encodeWithQt(const Bitmap32& bitmap, const char* format) {
    if (bitmap.empty()) throw PictureError("Ein leeres Bild kann nicht gespeichert werden.");
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(toQImage(bitmap))) {
        throw PictureError("Bild kann nicht geschrieben werden: " + writer.errorString().toStdString());
    }
    return data.toStdString();
}

}  // namespace pictra::platform::pictures
