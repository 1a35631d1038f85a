#pragma once

#include <QRect>

class QWidget;

namespace pictra::ui {

// `frame` made to lie inside `area`: first narrowed and lowered to the area's size
// where it is larger, then shifted in from whichever edge it passes. A frame that
// already fits keeps its place and size.
QRect clampedInto(const QRect& frame, const QRect& area);

// The part of the screen that windows may cover (without panels and docks): on the
// screen holding the middle of `wanted` when one does, else on the window's own
// screen, else on the primary screen.
QRect availableArea(const QWidget* window);
QRect availableArea(const QWidget* window, const QRect& wanted);

// Places a top-level window by its inner geometry (as setGeometry does), kept with
// its title bar and frame inside the available screen area.
void placeOnScreen(QWidget* window, const QRect& geometry);

// Places a window by its outer frame, title bar included, kept inside the available
// screen area, so that a window put at 0,0 keeps its title bar on the screen and can
// still be dragged.
void placeFrame(QWidget* window, const QRect& frame);

// Gives a window a size, as much of it as the available screen area holds; its place
// stays to be chosen (a dialog is centred over its window when shown).
void resizeOnScreen(QWidget* window, const QSize& size);

// Pulls a window that reaches past the available area back inside it.
void keepOnScreen(QWidget* window);

}  // namespace pictra::ui
