#include "player/step_pacer.h"

namespace zs {

void StepPacer::restart() { last_ = clock_.now(); }

void StepPacer::wait(Clock::duration d) {
    const Clock::time_point now = clock_.now();
    const Clock::time_point base = now - last_ <= kSlack ? last_ : now;
    last_ = base + d;
    clock_.waitUntil(last_);
}

}  // namespace zs
