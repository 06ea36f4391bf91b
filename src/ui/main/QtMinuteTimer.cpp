#include "ui/main/QtMinuteTimer.h"

namespace oplix::ui {

QtMinuteTimer::QtMinuteTimer(QObject* parent) : QObject(parent) {
    // A coarse timer may drift by 5 %, three seconds a minute.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &QtMinuteTimer::ticked);
}

void QtMinuteTimer::Start(int intervalMs) {
    timer_.start(intervalMs);
}

void QtMinuteTimer::Stop() {
    timer_.stop();
}

}  // namespace oplix::ui
