#include "ui/widgets/WindowDragger.h"

#include <QWidget>

#include "ui/widgets/ClickArea.h"

namespace oplix::ui {

WindowDragger::WindowDragger(QWidget* window, ClickArea* strip) : QObject(window), window_(window) {
    attach(strip);
}

void WindowDragger::attach(ClickArea* strip) {
    connect(strip, &ClickArea::pressed, this, &WindowDragger::start);
    connect(strip, &ClickArea::moved, this, &WindowDragger::follow);
    connect(strip, &ClickArea::released, this, [this] { dragging_ = false; });
}

void WindowDragger::start(QPoint globalPosition) {
    if (!enabled_) {
        return;
    }
    dragging_ = true;
    last_ = globalPosition;
}

void WindowDragger::follow(QPoint globalPosition) {
    if (!dragging_) {
        return;
    }
    window_->move(window_->pos() + (globalPosition - last_));
    last_ = globalPosition;
}

}  // namespace oplix::ui
