// Text written into the pixels of the picture window's picture (`TForm_text`).
#include <QMouseEvent>

#include "PictureWindow.h"
#include "TextOnPictureDialog.h"
#include "common/Dialogs.h"

namespace pictra::ui {

// Only at full size does a point of the window stand for one pixel of the picture.
bool PictureWindow::atFullSizeForText() {
    ensureSource();
    if (m_display.width() == m_source.width() && m_display.height() == m_source.height()) return true;
    m_dialogs.inform("Text kann nur bei Originalgröße eingefügt werden.\rTipp: Wähle Schrift so groß, dass sie auch "
                     "noch bei Bildschirmgröße lesbar ist.");
    redisplay(true);
    return false;
}

void PictureWindow::openTextDialog(QPoint global) {
    if (!atFullSizeForText()) return;
    if (!m_textDialog) {
        m_textDialog = new TextOnPictureDialog(this, m_dialogs, m_hooks.textHistoryFile ? m_hooks.textHistoryFile() : "");
    }
    TextTarget target;
    // Asked again at each "Schreiben": the dialog stays open while another picture may be shown.
    target.picture = [this]() -> pictures::Bitmap32* { return atFullSizeForText() ? &m_source : nullptr; };
    target.origin = [this] { return mapToGlobal(QPoint(0, 0)); };
    // "Letzte Zeichnung rückgängig machen" takes the text back, as it does a drawing.
    target.before = [this] { m_copyBuffer = m_source; };
    target.written = [this] {
        m_display = m_source;
        update();
    };
    target.moveUp = [this](int pixels) { move(x(), y() - pixels); };
    m_textDialog->openAt(global, std::move(target));
}

void PictureWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
        openTextDialog(event->globalPosition().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

}  // namespace pictra::ui
