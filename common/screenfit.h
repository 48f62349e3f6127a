#pragma once

#include <QRect>

class QWidget;

namespace dorvik::common {

// Keeps a window inside the available area of its screen (a 1366 × 768 laptop included): one
// larger than the area shrinks to it, one that sticks out moves in. The frame counts; before
// the window system has told it, a title bar's worth is kept free.
void fitIntoArea(QWidget* window, const QRect& available);

// From now on every window the program shows is fitted into its screen when it appears.
void keepWindowsOnScreen();

} // namespace dorvik::common
