#include "PlainEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>

namespace pictra::ui {

PlainEditor::PlainEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

int PlainEditor::roomLeft() const {
    const int used = document()->characterCount() - 1;
    return m_maxLength - used + textCursor().selectedText().size();
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
