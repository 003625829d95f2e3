#include "player/step_pacer.h"

namespace zs {

void StepPacer::restart() { last_ = clock_.now(); }

void StepPacer::wait(Clock::duration d) { clock_.waitUntil(schedule(d)); }

// A scheduled wait that ended early (a reply came) leaves the schedule's end ahead of now: the
// next wait counts from now, not from that end.
Clock::time_point StepPacer::schedule(Clock::duration d) {
    const Clock::time_point now = clock_.now();
    const Clock::duration since = now - last_;
    const Clock::time_point base = since >= Clock::duration::zero() && since <= kSlack ? last_ : now;
    last_ = base + d;
    return last_;
}

}  // namespace zs
