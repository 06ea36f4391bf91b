#pragma once

#include <QPoint>

class QWidget;

namespace oplix::ui {

// Moves `window` to `topLeft`, or as near to it as keeps the whole window inside the work area
// of the screen that point lies on (the window's own screen, else the primary one, when it lies
// on none). A window larger than the work area keeps its top-left corner inside it. A modal
// window opened from a main window dragged to the screen's edge stays where it can be used.
void MoveWithinWorkArea(QWidget& window, QPoint topLeft);

}  // namespace oplix::ui
