#include "player/step_pacer.h"

namespace zs {

void StepPacer::restart() { last_ = clock_.now(); }

void StepPacer::wait(Clock::duration d) { clock_.waitUntil(schedule(d)); }

Clock::time_point StepPacer::schedule(Clock::duration d) {
    const Clock::time_point now = clock_.now();
    const Clock::time_point base = now - last_ <= kSlack ? last_ : now;
    last_ = base + d;
    return last_;
}

}  // namespace zs
