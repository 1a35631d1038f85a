#include "EditorWidgets.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "PictureEditor.h"

namespace pictra::ui {

namespace {

QImage viewOf(const pictures::Bitmap32& b) {
    return QImage(reinterpret_cast<const uchar*>(b.bits()), b.width(), b.height(), b.width() * 4,
                  QImage::Format_RGB32);
}

}  // namespace

EditorImage::EditorImage(PictureEditor* editor, QWidget* parent) : QWidget(parent), m_editor(editor) {
    setObjectName("Image");
    setMouseTracking(true);
}

void EditorImage::setPicture(const pictures::Bitmap32* picture) {
    m_picture = picture;
    if (picture) setFixedSize(std::max(1, picture->width()), std::max(1, picture->height()));
    update();
}

void EditorImage::paintEvent(QPaintEvent*) {
    if (!m_picture || m_picture->empty()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, viewOf(*m_picture));
    // The marked rectangle between the two corner shapes.
    const auto* topLeft = findChild<QWidget*>("Shape_linksOben");
    const auto* bottomRight = findChild<QWidget*>("Shape_rechtsUnten");
    if (topLeft && bottomRight && topLeft->isVisible()) {
        painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
        painter.drawRect(QRect(topLeft->pos(), bottomRight->geometry().bottomRight()));
    }
}

void EditorImage::mousePressEvent(QMouseEvent* event) {
    m_editor->pictureClicked(event->position().toPoint(), event->button(), event->modifiers());
}

void EditorImage::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) m_editor->pictureDragged(event->position().toPoint());
}

MarkerShape::MarkerShape(const QString& name, QColor colour, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFixedSize(12, 12);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setCursor(Qt::SizeAllCursor);
    hide();
}

void MarkerShape::mousePressEvent(QMouseEvent* event) { m_grab = event->position().toPoint(); }

void MarkerShape::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    move(mapToParent(event->position().toPoint() - m_grab));
    parentWidget()->update();
}

HintWindow::HintWindow(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName("Tform17e");
    setWindowTitle("Hinweis");
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_label = new QLabel(this);
    m_label->setStyleSheet("background: #ffffe0; border: 1px solid gray; padding: 4px;");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
}

void HintWindow::showText(const QString& text) {
    m_label->setText(text);
    adjustSize();
    const QScreen* screen = QApplication::primaryScreen();
    move(screen ? screen->availableGeometry().topLeft() : QPoint(0, 0));
    show();
}

QString HintWindow::text() const { return isVisible() ? m_label->text() : QString(); }

PartWindow::PartWindow(QWidget* parent, std::function<void()> pasteSoftly)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName("Tform17a");
    setWindowTitle("Teilbild");
    m_menu = new QMenu(this);
    QAction* paste = m_menu->addAction("Ins 1. Bildfenster kopieren (überzeichnen)");
    paste->setObjectName("InsBildfensterUeberzeichnen1");
    connect(paste, &QAction::triggered, this, [pasteSoftly] { pasteSoftly(); });
}

void PartWindow::setPicture(const pictures::Bitmap32& picture) {
    m_picture = picture;
    // Its red lower line tells it from the editor.
    setFixedSize(std::max(1, picture.width()), std::max(1, picture.height()) + 3);
    update();
}

void PartWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture.empty()) painter.drawImage(0, 0, viewOf(m_picture));
    painter.fillRect(0, height() - 3, width(), 3, Qt::red);
}

void PartWindow::contextMenuEvent(QContextMenuEvent* event) { m_menu->popup(event->globalPos()); }

void PartWindow::mousePressEvent(QMouseEvent* event) { m_grab = event->position().toPoint(); }

void PartWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - m_grab);
}

SoftEdgeDialog::SoftEdgeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm17a0");
    setWindowTitle("Gleitender Übergang");
    auto spin = [this](const char* name) {
        auto* s = new QSpinBox(this);
        s->setObjectName(name);
        s->setRange(0, 100000);
        s->setValue(100);
        return s;
    };
    m_top = spin("SPoben");
    m_left = spin("SPlinks");
    m_right = spin("SPrechts");
    m_bottom = spin("SPunten");
    m_all = spin("SPalle");
    auto* grid = new QGridLayout;
    grid->addWidget(m_top, 0, 1);
    grid->addWidget(m_left, 1, 0);
    grid->addWidget(m_all, 1, 1);
    grid->addWidget(m_right, 1, 2);
    grid->addWidget(m_bottom, 2, 1);
    auto* presets = new QGridLayout;
    const struct {
        const char* text;
        bool top, bottom, left, right;
    } buttons[] = {{"oben", true, false, false, false},           {"unten", false, true, false, false},
                   {"links", false, false, true, false},          {"oben und links", true, false, true, false},
                   {"oben und rechts", true, false, false, true}, {"unten und links", false, true, true, false},
                   {"unten und rechts", false, true, false, true}};
    int i = 0;
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.text, this);
        connect(button, &QPushButton::clicked, this, [this, b] { preset(b.top, b.bottom, b.left, b.right); });
        presets->addWidget(button, i / 4, i % 4);
        ++i;
    }
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("BOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("BAbbrechen");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(presets);
    layout->addLayout(row);
}

// A preset fades the part in over the common width on the named sides only.
void SoftEdgeDialog::preset(bool top, bool bottom, bool left, bool right) {
    const int all = m_all->value();
    m_top->setValue(top ? all : 0);
    m_bottom->setValue(bottom ? all : 0);
    m_left->setValue(left ? all : 0);
    m_right->setValue(right ? all : 0);
}

pictures::editing::SoftEdges SoftEdgeDialog::edges() const {
    return {m_top->value(), m_left->value(), m_right->value(), m_bottom->value()};
}

ScreenSizeDialog::ScreenSizeDialog(QWidget* parent, QSize current) : QDialog(parent) {
    setObjectName("TForm17b");
    setWindowTitle("Bildgröße");
    m_width = new QSpinBox(this);
    m_width->setObjectName("SpinEdit1");
    m_width->setRange(1, 100000);
    m_width->setValue(current.isValid() ? current.width() : 1024);
    m_height = new QSpinBox(this);
    m_height->setObjectName("SpinEdit2");
    m_height->setRange(1, 100000);
    m_height->setValue(current.isValid() ? current.height() : 776);
    auto* now = new QPushButton("Aktuell", this);
    connect(now, &QPushButton::clicked, this, [this] {
        const QScreen* screen = QApplication::primaryScreen();
        const QSize s = screen ? screen->geometry().size() : QSize(1024, 768);
        m_width->setValue(s.width());
        m_height->setValue(s.height());
    });
    auto* small = new QPushButton("1024x768", this);
    connect(small, &QPushButton::clicked, this, [this] {
        m_width->setValue(1024);
        m_height->setValue(768);
    });
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Breite", this), 0, 0);
    layout->addWidget(m_width, 0, 1);
    layout->addWidget(new QLabel("Höhe", this), 1, 0);
    layout->addWidget(m_height, 1, 1);
    layout->addWidget(now, 2, 0);
    layout->addWidget(small, 2, 1);
    layout->addWidget(ok, 3, 1);
}

QSize ScreenSizeDialog::chosen() const { return {m_width->value(), m_height->value()}; }

}  // namespace pictra::ui
