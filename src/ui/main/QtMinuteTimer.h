#pragma once

#include <QObject>
#include <QTimer>

#include "testing/MinuteTimer.h"

namespace oplix::ui {

// The minute timer on the user-interface thread's event loop; it keeps ticking while a modal
// window runs its own loop. The program connects ticked() to TestSession::TickMinute.
class QtMinuteTimer : public QObject, public MinuteTimer {
    Q_OBJECT
public:
    explicit QtMinuteTimer(QObject* parent = nullptr);

    void Start(int intervalMs) override;
    void Stop() override;
    bool IsRunning() const { return timer_.isActive(); }
    int Interval() const { return timer_.interval(); }

signals:
    void ticked();

private:
    QTimer timer_;
};

}  // namespace oplix::ui
