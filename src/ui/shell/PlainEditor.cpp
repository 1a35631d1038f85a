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
    if (!event->text().isEmpty() && event->text().at(0).isPrint() && roomLeft() < event->text().size()) {
        event->accept();
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
