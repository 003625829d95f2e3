// Connects the editor to the shell's event loop: the panel handlers, the navigation buttons and
// the pick list, GetValues and SaveActualRecord (which the playback commands and the File menu
// call through the shell), and the text editor window.
#pragma once

#include "editor/code_editor.h"
#include "editor/editor_panel.h"
#include "platform/services.h"
#include "shell/shell.h"

namespace zs {

// Sets the shell's editor hooks. The panel and the text editor must outlive the shell.
void AttachEditor(ShellHooks& hooks, EditorPanel& panel, CodeEditor& codeEditor);

// The editor of one program: made after the shell, it attaches itself to the shell's hooks.
class ProgramEditor {
public:
    ProgramEditor(Shell& shell, Services& services, AppState& state);
    ProgramEditor(const ProgramEditor&) = delete;
    ProgramEditor& operator=(const ProgramEditor&) = delete;

    EditorPanel panel;
    CodeEditor codeEditor;
};

}  // namespace zs
