#include "shell/program.h"

namespace zs {

void ShellPlayerUi::showStep(long index) {
    shell_.ShowStep(index);
}

void ShellPlayerUi::message(const std::string& title, const std::string& text) {
    MessageRoutine(gui_, title, text);
}

void ShellPlayerUi::editLock(bool on) { EditLockRoutine(gui_, on); }

void ShellPlayerUi::setControls(ControlState state) { SetPlaybackControls(gui_, state); }

Program::Program(Services& services)
    : services_(services),
      shell_(services, state_),
      ui_(shell_, services.gui),
      actions_(state_, services.input, services.serial),
      commands_(
          state_, services.gui, ui_, [this] { if (player_) player_->wake(); },
          [this] { if (player_) player_->newRun(); }) {
    AttachPlayback();
}

// The player ends before the state and the services it uses.
Program::~Program() {
    shell_.StopCursorThread();
    player_.reset();
}

void Program::AttachPlayback() {
    ShellHooks& hooks = shell_.hooks;
    hooks.startPlayer = [this] { player_.emplace(state_, services_, ui_, actions_); };
    hooks.playButton = [this](int) { commands_.Play(); };
    hooks.pauseButton = [this](int) { commands_.Pause(); };
    hooks.stopButton = [this](int) { commands_.Stop(); };
    hooks.menuPlay = [this] { commands_.Play(); };
    hooks.menuPlayFromCurrent = [this] { commands_.PlayFromCurrentStep(); };
    hooks.menuPause = [this] { commands_.Pause(); };
    hooks.menuStop = [this] { commands_.Stop(); };
    // The playback commands store the editor panel through the shell's hook, whatever the editor
    // attaches later.
    commands_.SaveActualRecord = [this] {
        return shell_.hooks.SaveActualRecord ? shell_.hooks.SaveActualRecord() : 1;
    };
}

void Program::StartUp(bool startCursorThread) { shell_.StartUp(startCursorThread); }

}  // namespace zs
