#include "ui/windows/TabKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace oplix::ui {
namespace {

// The program's own windows are skinned, without a platform frame; the file dialogs and other
// platform windows keep their Tab.
bool InSkinnedWindow(QObject* receiver) {
    if (const auto* widget = qobject_cast<QWidget*>(receiver)) {
        return widget->window()->windowFlags().testFlag(Qt::FramelessWindowHint);
    }
    if (const auto* window = qobject_cast<QWindow*>(receiver)) {
        return window->flags().testFlag(Qt::FramelessWindowHint);
    }
    return true;
}

}  // namespace

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
    if ((key != Qt::Key_Tab && key != Qt::Key_Backtab) || !InSkinnedWindow(watched)) {
        return QObject::eventFilter(watched, event);
    }
    // Swallowed at its first receiver (the window), so the press is handled once.
    if (event->type() == QEvent::KeyPress && onTab_) {
        onTab_();
    }
    return true;
}

}  // namespace oplix::ui
