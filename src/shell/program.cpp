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
          [this] { if (player_) player_->newRun(); }),
      record_(state_, services.gui, services.desktop) {
    AttachPlayback();
    AttachRecording();
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

void Program::AttachRecording() {
    ShellHooks& hooks = shell_.hooks;
    hooks.menuRecord = [this] { record_.Toggle(); };
    hooks.mayCloseMain = [this] { return record_.ConfirmClose(); };
    record_.SaveActualRecord = [this] {
        return shell_.hooks.SaveActualRecord ? shell_.hooks.SaveActualRecord() : 1;
    };
    record_.showStep = [this](long index) { shell_.ShowStep(index); };
    record_.markUnsaved = [this] { state_.programModified = true; };
}

void Program::AttachRecorder(InputRecorder* recorder) {
    record_.setRecorder(recorder);
    if (recorder != nullptr) recorder->setOwnInputTest([this] { return state_.playing != 0; });
}

void Program::StartUp(bool startCursorThread) { shell_.StartUp(startCursorThread); }

}  // namespace zs
