#include "ui/widgets/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace oplix::ui {

FirstPaint::FirstPaint(QWidget* widget, std::function<void()> then, int latestMs)
    : QObject(widget), widget_(widget), then_(std::move(then)) {
    widget->installEventFilter(this);
    QTimer::singleShot(latestMs, this, &FirstPaint::Run);
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && event->type() == QEvent::Paint) {
        QTimer::singleShot(0, this, &FirstPaint::Run);
    }
    return false;
}

void FirstPaint::Run() {
    if (!then_) {
        return;
    }
    widget_->removeEventFilter(this);
    std::exchange(then_, nullptr)();
}

}  // namespace oplix::ui
