// The parts of the main window the player and the playback commands drive: showing a step, the
// message routine, the edit lock and the Play/Pause/Stop controls.
#pragma once

#include <string>

#include "Forms/gadget_numbers.h"
#include "platform/gui.h"

namespace zs {

enum class ControlState { Idle, Playing, Paused };

class PlayerUi {
public:
    virtual ~PlayerUi() = default;
    // Shows the list's current step, at 0-based index, in the editor panel (GetValues).
    // Called on the UI thread.
    virtual void showStep(long index) = 0;
    // The message routine: an OK box that the top-most main window cannot hide. Blocks until the
    // user closes it; may be called from the player thread.
    virtual void message(const std::string& title, const std::string& text) = 0;
    // The edit-lock routine: disables (on) or enables the editing gadgets and menu items.
    virtual void editLock(bool on) = 0;
    // Enables and disables the Play, Pause and Stop buttons and the Control menu items.
    virtual void setControls(ControlState state) = 0;
};

// The routines as plain gadget calls, for the shell to use on its own.
void MessageRoutine(gui::Gui& gui, const std::string& title, const std::string& text);
void EditLockRoutine(gui::Gui& gui, bool on);
void SetPlaybackControls(gui::Gui& gui, ControlState state);

// PlayerUi over the gadget layer. Until the editor panel exists, showStep only puts the step
// number into the caption of the step frame.
class GadgetPlayerUi : public PlayerUi {
public:
    explicit GadgetPlayerUi(gui::Gui& gui) : gui_(gui) {}
    void showStep(long index) override;
    void message(const std::string& title, const std::string& text) override;
    void editLock(bool on) override;
    void setControls(ControlState state) override;

private:
    gui::Gui& gui_;
};

}  // namespace zs
