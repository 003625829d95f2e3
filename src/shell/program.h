// The whole program over a set of platform services: state, shell, player and playback commands,
// wired together as start-up expects them.
#pragma once

#include <memory>
#include <optional>

#include "model/app_state.h"
#include "platform/services.h"
#include "player/commands.h"
#include "player/player.h"
#include "player/player_ui.h"
#include "player/step_actions.h"
#include "recorder/record_command.h"
#include "shell/shell.h"

namespace zs {

// PlayerUi over the shell: steps are shown the way the shell shows them (GetValues).
class ShellPlayerUi final : public PlayerUi {
public:
    ShellPlayerUi(Shell& shell, gui::Gui& gui) : shell_(shell), gui_(gui) {}
    void showStep(long index) override;
    void message(const std::string& title, const std::string& text) override;
    void editLock(bool on) override;
    void setControls(ControlState state) override;

private:
    Shell& shell_;
    gui::Gui& gui_;
};

class Program {
public:
    explicit Program(Services& services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Start-up, then the event loop until the program ends; returns the exit code.
    // startCursorThread false leaves out the cursor display (tests on a virtual clock).
    void StartUp(bool startCursorThread = true);
    int Run() { return shell_.Run(); }

    AppState& state() { return state_; }
    Services& services() { return services_; }
    Shell& shell() { return shell_; }
    PlaybackCommands& commands() { return commands_; }
    RecordCommand& recorder() { return record_; }
    // The platform's desktop recorder for Tools > Record; nullptr leaves it unavailable.
    void AttachRecorder(InputRecorder* recorder);
    Player* player() { return player_ ? &*player_ : nullptr; }

private:
    void AttachPlayback();
    void AttachRecording();

    Services& services_;
    AppState state_;
    Shell shell_;
    ShellPlayerUi ui_;
    DeviceStepActions actions_;
    PlaybackCommands commands_;
    RecordCommand record_;
    std::optional<Player> player_;
};

}  // namespace zs
