#include "ExtraPicture.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace pictra::ui {

ExtraPicture::ExtraPicture(QWidget* owner, const QImage& image, int number, QPoint origin)
    : QLabel(owner, Qt::Window | Qt::FramelessWindowHint), m_image(image), m_number(number), m_origin(origin) {
    setObjectName("TForm18aimage");
    setPixmap(QPixmap::fromImage(image));
    resize(image.size());
    move(origin);
    auto* label = new QLabel(QString::number(number), this);
    label->setObjectName("Labelrot1");
    label->setStyleSheet("color: red; font-weight: bold; background: white;");
}

void ExtraPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_grab = event->position().toPoint();
    QLabel::mousePressEvent(event);
}

void ExtraPicture::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - m_grab);
}

void ExtraPicture::contextMenuEvent(QContextMenuEvent* event) {
    if (m_menu) m_menu->popup(event->globalPos());
}

}  // namespace pictra::ui
