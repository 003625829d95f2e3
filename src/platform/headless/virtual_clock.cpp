#include "platform/headless/virtual_clock.h"

namespace zs {

Clock::time_point VirtualClock::now() {
    std::lock_guard lock(mutex_);
    return now_;
}

void VirtualClock::waitUntil(time_point deadline) {
    std::lock_guard lock(mutex_);
    if (deadline > now_) now_ = deadline;
}

void VirtualClock::advance(duration d) {
    std::lock_guard lock(mutex_);
    now_ += d;
}

long long VirtualClock::elapsedMs() {
    std::lock_guard lock(mutex_);
    return std::chrono::duration_cast<std::chrono::milliseconds>(now_.time_since_epoch()).count();
}

}  // namespace zs
