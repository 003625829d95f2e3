#include "player/commands.h"

#include <mutex>

namespace zs {

PlaybackCommands::PlaybackCommands(AppState& state, gui::Gui& gui, PlayerUi& ui, Player& player)
    : PlaybackCommands(state, gui, ui, [&player] { player.wake(); },
                       [&player] { player.newRun(); }) {}

PlaybackCommands::PlaybackCommands(AppState& state, gui::Gui& gui, PlayerUi& ui,
                                   std::function<void()> wakePlayer, std::function<void()> newRun)
    : state_(state),
      gui_(gui),
      ui_(ui),
      wakePlayer_(std::move(wakePlayer)),
      newRun_(std::move(newRun)) {}

// A paused run resumes where it stood and keeps the start index it began with, so it still ends
// showing the step it was started from.
void PlaybackCommands::Play() {
    if (state_.paused == 1) {
        StartPlaying(state_.startIndex, true);
        return;
    }
    ResetRunState();
    if (SaveActualRecord() == 0) return;
    StartPlaying(0, false);
}

void PlaybackCommands::PlayFromCurrentStep() {
    if (SaveActualRecord() == 0) return;
    ResetRunState();
    const long current = state_.list.index();
    StartPlaying(current < 0 ? 0 : static_cast<int>(current), false);
}

void PlaybackCommands::Pause() {
    ui_.setControls(ControlState::Paused);
    state_.paused = 1;
}

void PlaybackCommands::Stop() {
    ui_.setControls(ControlState::Idle);
    ui_.editLock(false);
    state_.playing = 0;
    state_.paused = 0;
}

// What a new run forgets: the ports initialised, the loop levels, the state and loop texts.
void PlaybackCommands::ResetRunState() {
    {
        std::lock_guard lock(state_.portsMutex);
        state_.runtimePorts.clear();
    }
    state_.resetLoops();
    for (const int text : {form::kTextStepInfo, form::kTextStatus1, form::kTextStatus2, form::kTextStatus3})
        gui_.setText(text, "");
}

// The start index and the paused flag are set before a run still under way learns that it is
// superseded, and before the playing flag, so the player never starts from stale values.
void PlaybackCommands::StartPlaying(int startIndex, bool resume) {
    ui_.setControls(ControlState::Playing);
    ui_.editLock(true);
    state_.startIndex = startIndex;
    state_.paused = 0;
    if (!resume && newRun_) newRun_();
    state_.playing = 1;
    if (wakePlayer_) wakePlayer_();
}

}  // namespace zs
