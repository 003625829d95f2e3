// Time for the player: waits run until absolute deadlines so that they do not drift.
#pragma once

#include <chrono>

namespace zs {

class Clock {
public:
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<std::chrono::steady_clock, duration>;

    virtual ~Clock() = default;
    virtual time_point now() = 0;
    // Returns once now() >= deadline.
    virtual void waitUntil(time_point deadline) = 0;

    void waitFor(duration d) { waitUntil(now() + d); }
};

// The steady clock of the machine, with waits at millisecond resolution or better.
Clock& RealClock();

}  // namespace zs
