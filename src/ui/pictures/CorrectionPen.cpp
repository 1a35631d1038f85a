#include "CorrectionPen.h"

#include <QMouseEvent>
#include <QPainter>

namespace pictra::ui {

CorrectionPen::CorrectionPen(QWidget* picture, std::function<void(QPoint)> paintAt)
    : QWidget(picture), m_paintAt(std::move(paintAt)) {
    setObjectName("skorrekurstift");
    setToolTip("Oben ziehen: malt. Unten ziehen: malt nicht");
    setPenSize(9);
}

void CorrectionPen::setPenSize(int diameter) {
    const QPoint c = centre();
    m_diameter = diameter;
    // Room around the painting tip to take hold of the pen.
    const int side = std::max(24, diameter + 12);
    resize(side, side);
    move(c - QPoint(side / 2, side / 2));
    update();
}

void CorrectionPen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 255, 0, 90));
    painter.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 6, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::red, 1));
    const QPoint c = rect().center();
    painter.drawEllipse(c, m_diameter / 2, m_diameter / 2);
    painter.drawLine(0, height() / 2, width(), height() / 2);
}

void CorrectionPen::mousePressEvent(QMouseEvent* event) {
    m_grab = event->position().toPoint();
    m_painting = m_grab.y() < height() / 2;
    if (m_painting) paintHere();
}

void CorrectionPen::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    move(mapToParent(event->position().toPoint() - m_grab));
    if (m_painting) paintHere();
}

}  // namespace pictra::ui
