// A clock for tests: no real waiting. A wait moves virtual time to its deadline at once.
#pragma once

#include <mutex>

#include "platform/clock.h"

namespace zs {

class VirtualClock final : public Clock {
public:
    time_point now() override;
    // Advances virtual time to the deadline (never backwards) and returns.
    void waitUntil(time_point deadline) override;
    // Moves time forward by d, as a test's own passing of time.
    void advance(duration d);
    // Virtual milliseconds since the clock was made.
    long long elapsedMs();

private:
    std::mutex mutex_;
    time_point now_{};
};

}  // namespace zs
