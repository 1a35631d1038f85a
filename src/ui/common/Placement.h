#pragma once

#include <QRect>
#include <QWidget>

namespace pictra::ui {

// Places a window by its outer frame, title bar included, so that a window put at
// 0,0 keeps its title bar on the screen and can still be dragged.
inline void placeFrame(QWidget* window, const QRect& frame) {
    const QSize decoration = window->frameGeometry().size() - window->geometry().size();
    window->resize(std::max(1, frame.width() - decoration.width()), std::max(1, frame.height() - decoration.height()));
    window->move(frame.topLeft());
}

}  // namespace pictra::ui
