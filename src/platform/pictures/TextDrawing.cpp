#include "TextDrawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "CaptionDrawing.h"
#include "pictures/captions/TextOnPicture.h"

namespace pictra::platform::pictures {

namespace cap = pictra::pictures::captions;

namespace {

QColor fromBgr(cap::BgrColour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF));
}

QStringList characters(const QString& text) {
    QStringList out;
    for (char32_t c : text.toUcs4()) out << QString::fromUcs4(&c, 1);
    return out;
}

}  // namespace

QString shownText(const QString& text, const std::string& family) {
    if (family != "Symbol") return text;
    QList<uint> codes = text.toUcs4();
    for (uint& c : codes) c = static_cast<uint>(cap::symbolCharacter(static_cast<char32_t>(c)));
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codes.constData()), codes.size());
}

void writeText(pictra::pictures::Bitmap32& picture, const QString& text, const TextLook& look, int x, int y) {
    if (picture.empty() || text.isEmpty() || look.size <= 0) return;
    QImage view(reinterpret_cast<uchar*>(picture.bits()), picture.width(), picture.height(), picture.width() * 4,
                QImage::Format_RGB32);
    QPainter painter(&view);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QString::fromStdString(look.family));
    font.setPixelSize(std::max(1, pixelsForPoints(look.size)));
    font.setBold(look.bold);
    font.setItalic(look.italic);
    font.setUnderline(look.underline);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QColor ink = fromBgr(look.colour);
    const QColor paper = fromBgr(look.background);
    const bool opaque = !look.transparent && !look.threeD;
    // One piece of text with its top-left corner at (px, py), on the background when it is opaque.
    const auto put = [&](const QString& piece, int px, int py, const QColor& colour) {
        const QRect box(px, py, metrics.horizontalAdvance(piece) + 1, metrics.height());
        if (opaque) painter.fillRect(box, paper);
        painter.setPen(colour);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, piece);
    };
    const QString shown = shownText(text, look.family);
    if (look.slant != 0) {
        const QStringList chars = characters(shown);
        std::vector<int> widths;
        widths.reserve(static_cast<std::size_t>(chars.size()));
        for (const QString& c : chars) widths.push_back(metrics.horizontalAdvance(c));
        const auto places = cap::slantPositions(widths, x, y, look.slant);
        for (qsizetype i = 0; i < chars.size(); ++i) {
            const auto& g = places[static_cast<std::size_t>(i)];
            put(chars[i], g.x, g.y, ink);
        }
    } else if (look.threeD) {
        const QStringList chars = characters(shown);
        const auto places = cap::threeDPositions(static_cast<std::size_t>(chars.size()), x, y, look.size);
        const int shadows = cap::threeDShadows(look.size);
        for (qsizetype i = 0; i < chars.size(); ++i) {
            const auto& g = places[static_cast<std::size_t>(i)];
            for (int j = 1; j <= shadows; ++j) put(chars[i], g.x + j, g.y + j, paper);
            put(chars[i], g.x, g.y, ink);
        }
    } else {
        put(shown, x, y, ink);
    }
}

}  // namespace pictra::platform::pictures
