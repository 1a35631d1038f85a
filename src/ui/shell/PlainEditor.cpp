#include "PlainEditor.h"

#include <QPainter>

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>

namespace pictra::ui {

namespace {

// The plain-text layout draws every paragraph with the document's alignment; this
// one gives a paragraph its own ("Zentriert schreiben") where lines have a width
// to be centred in, that is with word wrap on.
class AligningLayout : public QPlainTextDocumentLayout {
public:
    explicit AligningLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

    void documentChanged(int from, int charsRemoved, int charsAdded) override {
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
        realign(from, from + std::max(charsAdded, 1));
    }

    void realign(int from, int to) {
        for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
             block = block.next()) {
            QTextLayout* layout = block.layout();
            if (!layout || layout->lineCount() == 0 || layout->lineAt(0).width() > 100000) continue;
            QTextOption option = layout->textOption();
            const Qt::Alignment wanted = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            const Qt::Alignment current = option.alignment() & Qt::AlignHorizontal_Mask;
            if (current == wanted || (wanted == Qt::Alignment() && current == Qt::AlignLeft)) continue;
            option.setAlignment(wanted);
            layout->setTextOption(option);
        }
    }
};

}  // namespace

PlainEditor::PlainEditor(QWidget* parent) : QPlainTextEdit(parent) {
    document()->setDocumentLayout(new AligningLayout(document()));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(document(), &QTextDocument::contentsChange, this, [this] {
        if (!m_formatOnly) m_rawValid = false;
    });
}

void PlainEditor::formatWithoutEditing(const std::function<void()>& change) {
    m_formatOnly = true;
    // Colours are no step of their own: Ctrl+Z must take back the last edit, not an invisible repaint.
    QTextDocument* doc = document();
    if (doc->availableUndoSteps() == 0) {
        doc->setUndoRedoEnabled(false);  // clears nothing: there is no history yet
        change();
        doc->setUndoRedoEnabled(true);
    } else {
        QTextCursor joined(doc);
        joined.joinPreviousEditBlock();
        change();
        joined.endEditBlock();
    }
    m_formatOnly = false;
}

int PlainEditor::roomLeft() const {
    const int used = document()->characterCount() - 1;
    return m_maxLength - used + textCursor().selectedText().size();
}

void PlainEditor::realignParagraphs() {
    if (auto* layout = dynamic_cast<AligningLayout*>(document()->documentLayout())) {
        layout->realign(0, document()->characterCount());
        viewport()->update();
    }
}

// Blocks are laid out only when they come into view: each visible one gets its
// alignment before it is drawn.
void PlainEditor::paintEvent(QPaintEvent* event) {
    if (lineWrapMode() != QPlainTextEdit::NoWrap) {
        if (auto* layout = dynamic_cast<AligningLayout*>(document()->documentLayout())) {
            const qreal bottom = viewport()->height();
            for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
                if (blockBoundingGeometry(block).translated(contentOffset()).top() > bottom) break;
                layout->realign(block.position(), block.position());
            }
        }
    }
    QPlainTextEdit::paintEvent(event);
    if (!m_guides) return;
    // Thin guide lines for the line length of printers and mails.
    QPainter painter(viewport());
    for (int x = 80; x <= 640; x += 80) {
        painter.setPen(x == 640 ? QColor(255, 170, 170) : QColor(0xD0, 0xD0, 0xD0));
        painter.drawLine(x, 0, x, viewport()->height());
    }
}

// Simple case folding unit by unit: every offset stays where it was, and ASCII,
// the bulk of any text, takes the short way.
QString foldedCase(const QString& text) {
    QString folded(text.size(), Qt::Uninitialized);
    const QChar* from = text.constData();
    QChar* to = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = from[i].unicode();
        if (c < 128) {
            to[i] = QChar(c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 32) : c);
        } else {
            to[i] = from[i].toCaseFolded();
        }
    }
    return folded;
}

const QString& PlainEditor::rawText() const {
    if (!m_rawValid) {
        m_rawText = document()->toRawText();
        m_rawText.replace(QChar::ParagraphSeparator, QChar('\n'));
        m_lowerText.clear();
        m_lowerValid = false;
        m_rawValid = true;
    }
    return m_rawText;
}

const QString& PlainEditor::lowerText() const {
    rawText();
    if (!m_lowerValid) {
        m_lowerText = foldedCase(m_rawText);
        m_lowerValid = true;
    }
    return m_lowerText;
}

void PlainEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    // A new width lays every paragraph out anew with the document's alignment.
    realignParagraphs();
}

void PlainEditor::keyPressEvent(QKeyEvent* event) {
    const bool printable = !event->text().isEmpty() && event->text().at(0).isPrint();
    // An Alt chord is a command for the menus, never text (AltGr is a key of its own).
    if (printable && (event->modifiers() & Qt::AltModifier) && !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    if (printable && roomLeft() < event->text().size()) {
        event->accept();
        if (!m_refusalShown) {
            m_refusalShown = true;
            emit typingRefused();
        }
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PlainEditor::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) return;
    const QString text = source->text();
    // A paste that does not fit is refused as a whole rather than cut off unseen.
    if (text.size() > roomLeft()) {
        QApplication::beep();
        return;
    }
    insertPlainText(text);
}

}  // namespace pictra::ui
