// Connects the editor to the shell's event loop and to the player: the panel handlers, the
// navigation buttons, the playback controls, the text editor window and SaveActualRecord for
// every command that stores the shown step first.
#pragma once

#include "editor/code_editor.h"
#include "editor/editor_panel.h"
#include "player/commands.h"
#include "player/player_ui.h"
#include "shell/shell.h"

namespace zs {

// The player's view of the main window, showing each step with GetValues.
class EditorPlayerUi : public GadgetPlayerUi {
public:
    EditorPlayerUi(gui::Gui& gui, EditorPanel& panel) : GadgetPlayerUi(gui), panel_(panel) {}
    void showStep(long index) override;

private:
    EditorPanel& panel_;
};

// Sets the shell's hooks and the commands' store hook. All references must outlive the shell.
void AttachEditor(ShellHooks& hooks, EditorPanel& panel, CodeEditor& codeEditor,
                  PlaybackCommands& commands);

}  // namespace zs
