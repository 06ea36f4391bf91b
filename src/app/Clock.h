#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

namespace oplix {

// The wall clock, as the journal, the session and the result file see it. The program uses
// the system clock; tests put a fixed or stepping one in its place.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() const = 0;
    // The same clock to the millisecond, for durations: a working time taken from whole seconds
    // at each end may read one second long.
    virtual std::int64_t NowMilliseconds() const { return std::int64_t{Now()} * 1000; }
};

class SystemClock : public Clock {
public:
    std::time_t Now() const override { return std::time(nullptr); }
    std::int64_t NowMilliseconds() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace oplix
