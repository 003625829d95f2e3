#include "player/commands.h"

#include <mutex>

namespace zs {

PlaybackCommands::PlaybackCommands(AppState& state, gui::Gui& gui, PlayerUi& ui,
                                   std::function<void()> wakePlayer)
    : state_(state), gui_(gui), ui_(ui), wakePlayer_(std::move(wakePlayer)) {}

// A paused run resumes where it stood and keeps the start index it began with, so it still ends
// showing the step it was started from.
void PlaybackCommands::Play() {
    if (state_.paused == 1) {
        StartPlaying(state_.startIndex);
        return;
    }
    ResetRunState();
    if (SaveActualRecord() == 0) return;
    StartPlaying(0);
}

void PlaybackCommands::PlayFromCurrentStep() {
    if (SaveActualRecord() == 0) return;
    ResetRunState();
    const long current = state_.list.index();
    StartPlaying(current < 0 ? 0 : static_cast<int>(current));
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
    for (const int text : {ids::kStateText, ids::kLoopText1, ids::kLoopText2, ids::kLoopText3})
        gui_.setText(text, "");
}

void PlaybackCommands::StartPlaying(int startIndex) {
    ui_.setControls(ControlState::Playing);
    ui_.editLock(true);
    state_.startIndex = startIndex;
    state_.playing = 1;
    state_.paused = 0;
    if (wakePlayer_) wakePlayer_();
}

}  // namespace zs
