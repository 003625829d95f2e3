#include "player/player.h"

namespace zs {

Player::Player(AppState& state, Services& services, PlayerUi& ui, StepActions& actions)
    : state_(state),
      services_(services),
      ui_(ui),
      actions_(actions),
      pacer_(services.clock),
      thread_([this] { PlayerThread(); }) {}

Player::~Player() {
    {
        std::lock_guard lock(mutex_);
        shutdown_ = true;
    }
    stopping_ = true;
    changed_.notify_all();
    thread_.join();
}

void Player::wake() {
    // Taking the lock orders the flag written before against the player's test of it.
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

void Player::newRun() { ++runRequests_; }

void Player::setUnattended(Unattended unattended) {
    std::lock_guard lock(mutex_);
    unattended_ = std::move(unattended);
}

long Player::runsEnded() {
    std::lock_guard lock(mutex_);
    return runsEnded_;
}

bool Player::waitForRunsEnded(long count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return runsEnded_ >= count; });
}

void Player::PlayerThread() {
    while (waitForStart()) {
        PlayRun();
        if (stopping_) return;
        {
            std::lock_guard lock(mutex_);
            ++runsEnded_;
        }
        changed_.notify_all();
    }
}

bool Player::waitForStart() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return shutdown_ || state_.playing == 1; });
    return !shutdown_;
}

void Player::PlayRun() {
    runRequestAtStart_ = runRequests_;
    {
        std::lock_guard lock(mutex_);
        runUnattended_ = unattended_;
    }
    runEnd_ = RunEnd::Stopped;
    // A press from before Play belongs to whatever the user did then, not to this run; a key
    // held down now still ends it at the first test.
    services_.input.escapePressed();
    pacer_.restart();
    origin_.reset();
    long index = state_.startIndex;
    for (;;) {
        if (!StopTestAndPauseWait()) break;
        if (!RunWithTransfers(index)) break;
        if (!StopTestAndPauseWait()) break;
        if (!HasStepAfter(index)) {
            runEnd_ = RunEnd::Completed;
            break;
        }
        ++index;
    }
    // A superseded run leaves the controls and flags to the run that follows at once.
    if (stopping_ || superseded()) return;
    EndOfRun();
    if (runUnattended_.ended) runUnattended_.ended(runEnd_);
}

// Runs the step at index and every step a Loop or Jump hands over to, one after the other, so a
// cycle of jumps needs no stack. Before each handed-over step the stop test and the pause wait
// are made, which keeps such a cycle stoppable. index ends as the step that ran last.
bool Player::RunWithTransfers(long& index) {
    std::optional<long> next = index;
    bool first = true;
    while (next) {
        if (!first && !StopTestAndPauseWait()) return false;
        first = false;
        const std::optional<StepRun> ran = ThreadPLAY(*next);
        if (!ran) return false;  // no step to run: the list is empty
        index = ran->index;
        next = ran->transferTo;
    }
    return true;
}

// Escape, down now or pressed since the last test, ends the run. True while the run goes on.
bool Player::StopTest() {
    if (services_.input.escapePressed()) state_.playing = 0;
    return state_.playing == 1 && !stopping_ && !superseded();
}

// Waits in 100 ms slices while the run is paused. True when the run goes on: a Stop that clears
// both flags during the wait must not let one more step run.
bool Player::PauseWait() {
    while (state_.paused == 1) {
        if (state_.playing != 1 || stopping_ || superseded()) return false;
        pacer_.wait(std::chrono::milliseconds(100));
        if (state_.paused != 1) pacer_.restart();
    }
    return state_.playing == 1 && !stopping_ && !superseded();
}

bool Player::StopTestAndPauseWait() { return StopTest() && PauseWait(); }

bool Player::HasStepAfter(long index) {
    bool has = false;
    services_.gui.runOnUi([&] { has = index + 1 < state_.list.size(); });
    return has;
}

void Player::EndOfRun() {
    services_.gui.runOnUi([&] {
        for (const int text : {form::kTextStatus1, form::kTextStatus2, form::kTextStatus3})
            services_.gui.setText(text, "");
        ui_.setControls(ControlState::Idle);
        state_.paused = 0;
        state_.playing = 0;
        ui_.editLock(false);
    });
    if (state_.endOfStepsNotice == 1) ShowMessage("OK", "End of steps");
    services_.gui.runOnUi([&] {
        RList& list = state_.list;
        if (list.select(state_.startIndex) || list.first()) ui_.showStep(list.index());
    });
}

}  // namespace zs
