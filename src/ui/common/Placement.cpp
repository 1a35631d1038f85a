#include "Placement.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace pictra::ui {

QRect clampedInto(const QRect& frame, const QRect& area) {
    if (!area.isValid())
        return frame;
    const int width = std::clamp(frame.width(), 1, area.width());
    const int height = std::clamp(frame.height(), 1, area.height());
    const int left = std::clamp(frame.left(), area.left(), area.left() + area.width() - width);
    const int top = std::clamp(frame.top(), area.top(), area.top() + area.height() - height);
    return {left, top, width, height};
}

QRect availableArea(const QWidget* window) {
    return availableArea(window, QRect());
}

QRect availableArea(const QWidget* window, const QRect& wanted) {
    const QScreen* screen = wanted.isValid() ? QGuiApplication::screenAt(wanted.center()) : nullptr;
    if (!screen && window)
        screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

namespace {

// Title bar and borders as the window manager draws them. Before the first showing
// they are not known yet: a usual title bar and border stand in for them, so that a
// window placed then still fits once it gets them.
QMargins decorationOf(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (!known.isNull() || window->isVisible() || window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return known;
    return {4, 30, 4, 4};
}

}  // namespace

void placeOnScreen(QWidget* window, const QRect& geometry) {
    const QMargins decoration = decorationOf(window);
    const QRect frame = clampedInto(geometry.marginsAdded(decoration), availableArea(window, geometry));
    window->setGeometry(frame.marginsRemoved(decoration));
}

void placeFrame(QWidget* window, const QRect& frame) {
    placeOnScreen(window, frame.marginsRemoved(decorationOf(window)));
}

void resizeOnScreen(QWidget* window, const QSize& size) {
    const QMargins d = decorationOf(window);
    const QSize room = availableArea(window).size() - QSize(d.left() + d.right(), d.top() + d.bottom());
    window->resize(size.boundedTo(room));
}

void keepOnScreen(QWidget* window) {
    const QRect frame = window->frameGeometry();
    if (clampedInto(frame, availableArea(window, frame)) != frame)
        placeOnScreen(window, window->geometry());
}

}  // namespace pictra::ui
