#include "ui/windows/TabKeyFilter.h"

#include <QKeyEvent>

namespace oplix::ui {

TabKeyFilter::TabKeyFilter(QObject* parent, std::function<void()> onTab)
    : QObject(parent), onTab_(std::move(onTab)) {}

bool TabKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const bool keyEvent = event->type() == QEvent::KeyPress ||
                          event->type() == QEvent::KeyRelease ||
                          event->type() == QEvent::ShortcutOverride;
    if (!keyEvent) {
        return QObject::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab) {
        return QObject::eventFilter(watched, event);
    }
    // Swallowed at its first receiver (the window), so the press is handled once.
    if (event->type() == QEvent::KeyPress && onTab_) {
        onTab_();
    }
    return true;
}

}  // namespace oplix::ui
