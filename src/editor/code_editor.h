// The text editor window's commands: opening it on the loaded program's file (or a template),
// Open, Save, Save as, the line information and the close box. It works on files on disk and
// reloads the main window's program when it saves that same file.
#pragma once

#include <string>
#include <vector>

#include "editor/editor_panel.h"
#include "platform/system.h"

namespace zs {

struct CodeEditor {
    EditorPanel& panel;  // the main window's panel, shown again after a reload
    SystemInfo& system;  // user name and time for the header line
    // The text as last shown from a file or the template, or saved, from its third line on:
    // every save rewrites lines 1 and 2, so edits there lose nothing.
    std::vector<std::string> savedText = {};
};

// Menu item 85: opens window 103; the main window is disabled and not top-most meanwhile.
void OpenCodeEditor(CodeEditor& editor);
// The close box of window 103: the main window is enabled and top-most again. Unsaved edits of
// the text are thrown away only when the user agrees.
void CloseCodeEditor(CodeEditor& editor);

void CodeEditorOpen(CodeEditor& editor, int eventType);    // button 105
void CodeEditorSave(CodeEditor& editor, int eventType);    // button 106
void CodeEditorSaveAs(CodeEditor& editor, int eventType);  // button 107

// Whether the text differs from what was last opened or saved (beyond its first two lines).
bool TextHoldsChanges(CodeEditor& editor);

// The three information lines for the text line that holds the cursor.
void RefreshLineInfo(CodeEditor& editor);

}  // namespace zs
