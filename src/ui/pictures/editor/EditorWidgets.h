#pragma once

#include <QDialog>
#include <QFrame>
#include <QWidget>
#include <functional>

#include "pictures/Bitmap32.h"
#include "pictures/editing/Composing.h"

class QLabel;
class QMenu;
class QSpinBox;

namespace pictra::ui {

class PictureEditor;

// `Image`: the working picture at its size, with the clicks passed to the editor.
class EditorImage : public QWidget {
    Q_OBJECT
public:
    EditorImage(PictureEditor* editor, QWidget* parent);
    void setPicture(const pictures::Bitmap32* picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    PictureEditor* m_editor;
    const pictures::Bitmap32* m_picture = nullptr;
};

// `Shape_linksOben` / `Shape_rechtsUnten`: a corner of the marked rectangle, moved by dragging.
class MarkerShape : public QFrame {
    Q_OBJECT
public:
    MarkerShape(const QString& name, QColor colour, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPoint m_grab;
};

// `Tform17e` "Hinweis": a short note at the top left of the screen, sized to its text.
class HintWindow : public QWidget {
    Q_OBJECT
public:
    explicit HintWindow(QWidget* parent);
    void showText(const QString& text);
    QString text() const;

private:
    QLabel* m_label;
};

// `Tform17a`: the small second picture window with a part picture; a red lower line.
class PartWindow : public QWidget {
    Q_OBJECT
public:
    PartWindow(QWidget* parent, std::function<void()> pasteSoftly);
    void setPicture(const pictures::Bitmap32& picture);
    const pictures::Bitmap32& picture() const { return m_picture; }
    QMenu* contextMenu() const { return m_menu; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    pictures::Bitmap32 m_picture;
    QMenu* m_menu;
    QPoint m_grab;
};

// `TForm17a0` "Gleitender Übergang": the four border widths, arranged like their sides.
class SoftEdgeDialog : public QDialog {
    Q_OBJECT
public:
    explicit SoftEdgeDialog(QWidget* parent);
    pictures::editing::SoftEdges edges() const;

private:
    void preset(bool top, bool bottom, bool left, bool right);
    QSpinBox* m_top;
    QSpinBox* m_left;
    QSpinBox* m_right;
    QSpinBox* m_bottom;
    QSpinBox* m_all;  // `SPalle`
};

// `TForm17b` "Bildgröße": the working screen size.
class ScreenSizeDialog : public QDialog {
    Q_OBJECT
public:
    ScreenSizeDialog(QWidget* parent, QSize current);
    QSize chosen() const;

private:
    QSpinBox* m_width;
    QSpinBox* m_height;
};

}  // namespace pictra::ui
