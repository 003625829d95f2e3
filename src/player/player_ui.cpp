#include "player/player_ui.h"

#include <array>

#include "Forms/FormMAIN.h"

namespace zs {
namespace {

// What the edit lock disables: navigation, step type and description, and the inputs of the
// field sets (below).
constexpr std::array kLockedGadgets{58, 59, 60, 61, 62, 63, 64, 65, 69, 70};
// File and Tools/Help menu items; 79, 86 and 87 are reserved numbers without an item.
constexpr std::array kLockedMenuItems{75, 76, 77, 78, 80, 85, 88, 89};

struct ControlRow {
    bool play, pause, stop;                      // buttons 54, 55, 56 enabled
    bool menuPlay, menuFromCurrent, menuPause, menuStop;  // menu items 81 to 84 enabled
};

ControlRow RowFor(ControlState state) {
    switch (state) {
        case ControlState::Playing: return {false, true, true, false, false, true, true};
        case ControlState::Paused: return {true, false, true, true, false, false, true};
        case ControlState::Idle: break;
    }
    return {true, false, false, true, true, false, false};
}

}  // namespace

void MessageRoutine(gui::Gui& gui, const std::string& title, const std::string& text) {
    gui.setTopmost(form::kFormMAIN, false);
    gui.messageBox(title, text, gui::Buttons::Ok);
    gui.setTopmost(form::kFormMAIN, true);
}

void EditLockRoutine(gui::Gui& gui, bool on) {
    for (const int gadget : kLockedGadgets) gui.setDisabled(gadget, on);
    for (const form::FieldSet& set : form::EditorFieldSets()) {
        for (const form::FieldSpec& field : set.fields)
            if (field.kind != gui::GadgetKind::Text && !field.enabledWhilePlaying)
                gui.setDisabled(field.id, on);
    }
    for (const int item : kLockedMenuItems) gui.setMenuItemDisabled(item, on);
}

void SetPlaybackControls(gui::Gui& gui, ControlState state) {
    const ControlRow row = RowFor(state);
    gui.setDisabled(form::kButtonPlay, !row.play);
    gui.setDisabled(form::kButtonPause, !row.pause);
    gui.setDisabled(form::kButtonStop, !row.stop);
    gui.setMenuItemDisabled(form::kMenuPlay, !row.menuPlay);
    gui.setMenuItemDisabled(form::kMenuPlayFromCurrent, !row.menuFromCurrent);
    gui.setMenuItemDisabled(form::kMenuPause, !row.menuPause);
    gui.setMenuItemDisabled(form::kMenuStop, !row.menuStop);
    gui.setMenuItemDisabled(form::kMenuRecord, !row.menuFromCurrent);
}

void GadgetPlayerUi::showStep(long index) {
    gui_.setText(form::kFrameStep, std::to_string(index + 1));
}

void GadgetPlayerUi::message(const std::string& title, const std::string& text) {
    MessageRoutine(gui_, title, text);
}

void GadgetPlayerUi::editLock(bool on) { EditLockRoutine(gui_, on); }

void GadgetPlayerUi::setControls(ControlState state) { SetPlaybackControls(gui_, state); }

}  // namespace zs
