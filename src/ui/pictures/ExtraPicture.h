#pragma once

#include <QImage>
#include <QLabel>
#include <QPoint>

class QMenu;

namespace pictra::ui {

// `TForm18aimage`: a part of the picture kept aside, dragged with the mouse over
// the picture to be inserted there.
class ExtraPicture : public QLabel {
    Q_OBJECT
public:
    ExtraPicture(QWidget* owner, const QImage& image, int number, QPoint origin);

    const QImage& image() const { return m_image; }
    void setImage(const QImage& image) {
        m_image = image;
        setPixmap(QPixmap::fromImage(image));
        resize(image.size());
    }
    int number() const { return m_number; }
    QPoint origin() const { return m_origin; }  // where it was taken from (global)
    void setMenu(QMenu* menu) { m_menu = menu; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QImage m_image;
    int m_number;
    QPoint m_origin;
    QPoint m_grab;
    QMenu* m_menu = nullptr;
};

}  // namespace pictra::ui
