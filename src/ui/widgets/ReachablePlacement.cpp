#include "ui/widgets/ReachablePlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace oplix::ui {

void MoveWithinWorkArea(QWidget& window, QPoint topLeft) {
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (screen == nullptr) {
        screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        window.move(topLeft);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height()));
    window.move(x, y);
}

}  // namespace oplix::ui
