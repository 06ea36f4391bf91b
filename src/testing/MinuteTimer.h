#pragma once

namespace oplix {

inline constexpr int kMinuteIntervalMs = 60000;

// The timer that calls TestSession::TickMinute while a test with a time limit runs. It ticks
// on the user-interface thread, so a tick never overlaps a click.
class MinuteTimer {
public:
    virtual ~MinuteTimer() = default;
    // Starting a running timer starts its interval anew.
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
};

}  // namespace oplix
