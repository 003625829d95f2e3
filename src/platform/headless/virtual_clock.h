// A clock for tests: no real waiting. A wait moves virtual time to its deadline at once.
#pragma once

#include <functional>
#include <map>
#include <mutex>

#include "platform/clock.h"

namespace zs {

class VirtualClock final : public Clock {
public:
    time_point now() override;
    // Advances virtual time to the deadline (never backwards) and returns. Actions scheduled up to
    // the deadline run first, in time order, on the waiting thread, each with the clock standing
    // at its own time.
    void waitUntil(time_point deadline) override;
    // Moves time forward by d, as a test's own passing of time (scheduled actions do not run).
    void advance(duration d);
    // Virtual milliseconds since the clock was made.
    long long elapsedMs();

    // Runs action when a wait passes virtual time `ms` (milliseconds since the clock was made):
    // how a test presses Escape or a button at a chosen moment of a run. Actions of equal time run
    // in the order they were scheduled.
    void at(long long ms, std::function<void()> action);

private:
    std::mutex mutex_;
    time_point now_{};
    std::multimap<time_point, std::function<void()>> scheduled_;
};

}  // namespace zs
