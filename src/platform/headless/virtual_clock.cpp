#include "platform/headless/virtual_clock.h"

namespace zs {

Clock::time_point VirtualClock::now() {
    std::lock_guard lock(mutex_);
    return now_;
}

void VirtualClock::waitUntil(time_point deadline) {
    for (;;) {
        std::function<void()> action;
        {
            std::lock_guard lock(mutex_);
            const auto next = scheduled_.begin();
            if (next == scheduled_.end() || next->first > deadline) {
                if (deadline > now_) now_ = deadline;
                return;
            }
            if (next->first > now_) now_ = next->first;
            action = std::move(next->second);
            scheduled_.erase(next);
        }
        // Without the lock: the action may read the clock or wait on it.
        action();
    }
}

void VirtualClock::advance(duration d) {
    std::lock_guard lock(mutex_);
    now_ += d;
}

long long VirtualClock::elapsedMs() {
    std::lock_guard lock(mutex_);
    return std::chrono::duration_cast<std::chrono::milliseconds>(now_.time_since_epoch()).count();
}

void VirtualClock::at(long long ms, std::function<void()> action) {
    std::lock_guard lock(mutex_);
    scheduled_.emplace(time_point{} + std::chrono::milliseconds(ms), std::move(action));
}

}  // namespace zs
