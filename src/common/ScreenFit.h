#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace vorn {

// Where a window's frame goes so that it lies on the available area of a screen (the screen less its
// task bars and panels): moved just enough, never resized. A frame too wide or too tall for the area
// keeps its left or top edge on it, so that the title bar and the top-left corner stay within reach.
QRect fitOnScreen(const QRect& frame, const QRect& available);

// The client size of a window whose frame has to fit on the available area: wanted, but no larger than
// the area less the frame.
QSize fitWithin(QSize wanted, const QMargins& frame, const QRect& available);

// Where a frame of this size goes beside another window's frame: to its right where the available area has
// room, else to its left, else below it; where none has room, over it, moved down and right by cascade
// from its top-left corner. Always on the available area as fitOnScreen puts it.
QRect besideFrame(const QRect& other, QSize frame, const QRect& available, int cascade);

// What the window system adds around a top-level window's client area: borders and title bar. Once the
// window is shown and framed these are the real margins; before that an allowance from the style and
// the title-bar font, on the generous side, since a window moved a little too far in still fits.
QMargins expectedFrameMargins(const QWidget* window);

// Puts the client area of a top-level window at clientTopLeft, unless that would leave part of its frame
// off the available area of the screen there; then as near to it as fits. A window not on screen yet is
// placed again when it first is, with its real frame.
void placeOnScreen(QWidget* window, QPoint clientTopLeft);

// Centres a box's client area over a window's as the window stands now, its frame kept on the available
// area of the screen. Qt centres a dialog over where the window system last said its parent was, which
// lags behind a move the program has just asked for.
void centreOver(QWidget* box, const QWidget* window);

// Moves a top-level window just enough for its frame to lie on the available area of its screen.
void keepOnScreen(QWidget* window);

// For a window whose place the window system chooses: once the window is on screen, and so placed and
// framed, keepOnScreen; never again after that, so the user may move it anywhere. Then `then`, from the
// event loop: a box that concerns the window is centred over it only once the window is where it stays.
void keepOnScreenOnceShown(QWidget* window, std::function<void()> then = {});

// For a dialog that grows where it stands, downwards (the print dialog's Options): each time it is made
// larger while shown, keepOnScreen, so that it moves up rather than reach past the screen's bottom edge.
void keepOnScreenAsItGrows(QWidget* window);

// Gives a top-level window the client size wanted, or as much of it as fits on the available area of its
// screen with the frame. Its least size is held to that too, so that its layout cannot push the window
// past the screen's edge; the controls share what room there is.
void sizeWithinScreen(QWidget* window, QSize wanted);

} // namespace vorn
