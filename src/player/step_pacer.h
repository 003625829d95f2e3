// The player's waits, on absolute deadlines so that a long run keeps its nominal pace.
#pragma once

#include "platform/clock.h"

namespace zs {

class StepPacer {
public:
    explicit StepPacer(Clock& clock) : clock_(clock) { restart(); }

    // Starts a new schedule at the present time (a run starts, a pause ends).
    void restart();
    // Waits d after the end of the previous wait. Work of up to kSlack since then (showing the step,
    // setting a text) is absorbed into the schedule; a step that took longer (typing, a message
    // box) gets the full d after it.
    void wait(Clock::duration d);
    // The deadline that wait(d) would wait until, made the end of the schedule: for a wait that
    // may end earlier than the clock's.
    Clock::time_point schedule(Clock::duration d);

    static constexpr Clock::duration kSlack = std::chrono::milliseconds(20);

private:
    Clock& clock_;
    Clock::time_point last_;
};

}  // namespace zs
