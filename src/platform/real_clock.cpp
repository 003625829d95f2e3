#include <thread>

#include "platform/clock.h"

namespace zs {
namespace {

class SteadyClock final : public Clock {
public:
    time_point now() override {
        return std::chrono::time_point_cast<duration>(std::chrono::steady_clock::now());
    }
    void waitUntil(time_point deadline) override { std::this_thread::sleep_until(deadline); }
};

}  // namespace

Clock& RealClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace zs
