#pragma once

#include <ctime>

namespace oplix {

// The wall clock, as the journal, the session and the result file see it. The program uses
// the system clock; tests put a fixed or stepping one in its place.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() const = 0;
};

class SystemClock : public Clock {
public:
    std::time_t Now() const override { return std::time(nullptr); }
};

}  // namespace oplix
