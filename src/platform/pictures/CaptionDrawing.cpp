#include "CaptionDrawing.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>

#include "common/FileIo.h"

namespace pictra::platform::pictures {

namespace cap = pictra::pictures::captions;

namespace {

QColor fromBgr(cap::BgrColour c) { return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF)); }

QString fromCp1252(const std::string& text) {
    QStringDecoder decoder("windows-1252");
    return decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

int pixelsForPoints(int points) { return (points * 4 + 1) / 3; }

void drawCaptions(pictra::pictures::Bitmap32& picture, const std::vector<cap::PlacedCaption>& plan,
                  const std::string& family) {
    if (picture.empty() || plan.empty()) return;
    // The bitmap's own pixels: 0xAARRGGBB words are Format_RGB32 (alpha ignored, kept opaque).
    QImage view(reinterpret_cast<uchar*>(picture.bits()), picture.width(), picture.height(), picture.width() * 4,
                QImage::Format_RGB32);
    QPainter painter(&view);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const cap::PlacedCaption& line : plan) {
        QFont font(QString::fromStdString(family));
        font.setPixelSize(std::max(1, pixelsForPoints(line.style.size)));
        painter.setFont(font);
        painter.setPen(fromBgr(line.style.font));
        // Every character takes at least a pixel: a line of megabytes is cut to what
        // can reach into the picture before it is measured and drawn.
        const auto reach = static_cast<std::size_t>(std::max(0, picture.width() - line.x)) + 1;
        const QString text = fromCp1252(line.text.size() > reach ? line.text.substr(0, reach) : line.text);
        const QFontMetrics metrics(font);
        const QRect box(line.x, line.y, metrics.horizontalAdvance(text) + 1, metrics.height());
        if (!line.transparent) painter.fillRect(box, fromBgr(line.style.background));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
}

std::string pictureOfCaption(const std::string& captionPath) {
    const std::filesystem::path caption(captionPath);
    const std::filesystem::path folder = caption.has_parent_path() ? caption.parent_path() : ".";
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    const std::string name = cap::pictureNameForCaption(caption.filename().string(), names);
    return name.empty() ? std::string() : (folder / name).string();
}

std::vector<std::string> readCaptionLines(const std::string& picturePath) {
    const std::string path = cap::captionPathFor(picturePath);
    std::error_code ec;
    // A folder or a FIFO named ".jp0" is no caption, and a FIFO would never end.
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    const auto bytes = fileio::readFile(path);
    if (!bytes) return {};
    return cap::splitCaptionLines(*bytes);
}

bool drawCaptionFile(pictra::pictures::Bitmap32& picture, const std::string& picturePath,
                     const cap::CaptionStyle& defaults, int ox, int oy) {
    const auto plan = cap::captionPlan(readCaptionLines(picturePath), defaults, ox, oy, picture.height());
    drawCaptions(picture, plan);
    return !plan.empty();
}

}  // namespace pictra::platform::pictures
