// The playback commands: Play (a new run, or resume a paused one), Play from current step, Pause
// and Stop. They run on the UI thread and only set controls and the shared flags; the player
// thread reacts to the flags.
#pragma once

#include <functional>

#include "model/app_state.h"
#include "platform/gui.h"
#include "player/player_ui.h"

namespace zs {

class PlaybackCommands {
public:
    // wakePlayer tells the idle player that a run was started (Player::wake).
    PlaybackCommands(AppState& state, gui::Gui& gui, PlayerUi& ui,
                     std::function<void()> wakePlayer);

    void Play();
    void PlayFromCurrentStep();
    void Pause();
    void Stop();

    // Stores the editor panel into the current step; 0 when the panel's input is refused. The
    // editor plugs in its own; until then every store succeeds.
    std::function<int()> SaveActualRecord = [] { return 1; };

private:
    void ResetRunState();
    void StartPlaying(int startIndex);

    AppState& state_;
    gui::Gui& gui_;
    PlayerUi& ui_;
    std::function<void()> wakePlayer_;
};

}  // namespace zs
