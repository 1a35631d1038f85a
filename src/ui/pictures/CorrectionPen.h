#pragma once

#include <QWidget>
#include <functional>

namespace pictra::ui {

// `skorrekurstift`: a small round pen over the picture. Dragged by its upper half
// it paints along its way, by its lower half it only moves.
class CorrectionPen : public QWidget {
    Q_OBJECT
public:
    // `paintAt` is told the pen's centre in the picture window's coordinates.
    CorrectionPen(QWidget* picture, std::function<void(QPoint)> paintAt);

    // "sehr klein", "normal", "groß", "sehr groß".
    void setPenSize(int diameter);
    int penSize() const { return m_diameter; }
    QPoint centre() const { return geometry().center(); }
    // One pixel further (the arrow keys); painting stays with Insert.
    void nudge(int dx, int dy) { move(pos() + QPoint(dx, dy)); }
    void paintHere() { m_paintAt(centre()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::function<void(QPoint)> m_paintAt;
    int m_diameter = 9;
    QPoint m_grab;
    bool m_painting = false;
};

}  // namespace pictra::ui
