#include "shell/files/RichText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "common/UiText.h"

namespace pictra::ui {

namespace {

rtf::Align alignOf(Qt::Alignment a) {
    if (a & Qt::AlignHCenter) return rtf::Align::Center;
    if (a & Qt::AlignRight) return rtf::Align::Right;
    if (a & Qt::AlignJustify) return rtf::Align::Justify;
    return rtf::Align::Left;
}

Qt::Alignment qtAlign(rtf::Align a) {
    switch (a) {
        case rtf::Align::Center: return Qt::AlignHCenter;
        case rtf::Align::Right: return Qt::AlignRight;
        case rtf::Align::Justify: return Qt::AlignJustify;
        default: return Qt::AlignLeft;
    }
}

rtf::CharFormat formatOf(const QTextCharFormat& f, const QFont& fallback) {
    rtf::CharFormat r;
    const QFont font = f.font().resolve(fallback);
    const QStringList families = f.fontFamilies().toStringList();
    r.font = u(families.isEmpty() ? font.family() : families.front());
    const double points = f.fontPointSize() > 0 ? f.fontPointSize() : fallback.pointSizeF();
    r.halfPoints = static_cast<int>(points * 2 + 0.5);
    r.colour = f.hasProperty(QTextFormat::ForegroundBrush) ? colourToWindows(f.foreground().color()) : 0;
    r.bold = f.fontWeight() >= QFont::Bold;
    r.italic = f.fontItalic();
    r.underline = f.fontUnderline();
    r.strikeOut = f.fontStrikeOut();
    return r;
}

QTextCharFormat qtFormat(const rtf::CharFormat& r) {
    QTextCharFormat f;
    f.setFontFamilies({q(r.font)});
    f.setFontPointSize(r.halfPoints / 2.0);
    f.setForeground(colourFromWindows(r.colour));
    f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.italic);
    f.setFontUnderline(r.underline);
    f.setFontStrikeOut(r.strikeOut);
    return f;
}

}  // namespace

rtf::Document toRtfDocument(const QTextDocument& document, const QFont& defaultFont) {
    rtf::Document rich;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        rtf::Paragraph para;
        para.align = alignOf(block.blockFormat().alignment());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            para.runs.push_back({toCp1252Referenced(fragment.text()), formatOf(fragment.charFormat(), defaultFont)});
        }
        rich.paragraphs.push_back(std::move(para));
    }
    return rich;
}

void fromRtfDocument(const rtf::Document& rich, QTextDocument& document) {
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (size_t p = 0; p < rich.paragraphs.size(); ++p) {
        const rtf::Paragraph& para = rich.paragraphs[p];
        if (p > 0) cursor.insertBlock();
        QTextBlockFormat block = cursor.blockFormat();
        block.setAlignment(qtAlign(para.align));
        cursor.setBlockFormat(block);
        for (const rtf::Run& run : para.runs) cursor.insertText(fromCp1252(run.text), qtFormat(run.format));
    }
    cursor.endEditBlock();
}

}  // namespace pictra::ui
