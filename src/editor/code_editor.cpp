#include "editor/code_editor.h"

#include <new>

#include "Forms/FormEditor.h"
#include "model/code_lines.h"
#include "editor/save_record.h"
#include "model/step_file.h"
#include "shell/shell.h"

namespace zs {

using namespace zs::form;

namespace {

constexpr const char* kStepFileFilter = "STEP file (*.stp)|*.stp";
constexpr const char* kDiscardTextQuestion = "The text has unsaved changes. Discard them?";

std::vector<std::string> FromThirdLine(const std::vector<std::string>& lines) {
    if (lines.size() <= 2) return {};
    return {lines.begin() + 2, lines.end()};
}

// Remembers the text as the window shows it now as the saved one.
void RememberText(CodeEditor& editor) {
    editor.savedText = FromThirdLine(editor.panel.gui.lines(kEditorText));
}

bool MayDiscardText(CodeEditor& editor) {
    return !TextHoldsChanges(editor) ||
           editor.panel.gui.messageBox("Confirm", kDiscardTextQuestion, gui::Buttons::YesNo) ==
               gui::Answer::Yes;
}

std::string UserDateLineNow(CodeEditor& editor) {
    return UserDateLine(editor.system.userName(), editor.system.localTime());
}

void ShowFile(gui::Gui& gui, const std::string& path, const std::vector<std::string>& lines) {
    gui.setText(kEditorFileNameLabel, FilePart(path));
    gui.setLines(kEditorText, lines);
}

void ShowTemplate(CodeEditor& editor) {
    gui::Gui& gui = editor.panel.gui;
    gui.setDisabled(kEditorSave, true);
    gui.setLines(kEditorText, {kFileVersionLine, UserDateLineNow(editor), "", "1;L_Click;50;50;"});
    gui.setFocus(kEditorText);
    editor.panel.state.EditorFileName.clear();
}

// Refreshes the header lines in the text and checks every CODE line; a failure is shown.
bool CheckedLines(CodeEditor& editor, std::vector<std::string>& lines) {
    gui::Gui& gui = editor.panel.gui;
    lines = gui.lines(kEditorText);
    const CodeLineCheck check = CheckCodeLines(lines, UserDateLineNow(editor));
    gui.setLines(kEditorText, lines);
    if (!check.ok) gui.messageBox("Input", check.message, gui::Buttons::Ok);
    return check.ok;
}

bool WriteLines(CodeEditor& editor, const std::string& path,
                const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) content += line + "\r\n";
    if (WriteFileReplacing(path, content)) return true;
    editor.panel.gui.messageBox(path, "Can't create file", gui::Buttons::Ok);
    return false;
}

// "Can't open file", with the reason when there is one beyond the file not opening.
void ShowOpenFailure(gui::Gui& gui, const LoadResult& result) {
    gui.messageBox("Error", "Can't open file" + LoadFailureReason(result), gui::Buttons::Ok);
}

// The reload throws away what the main window holds unsaved: only when the user agrees.
bool MayReloadMainProgram(CodeEditor& editor) {
    const bool unsaved = editor.panel.state.programModified || PanelHoldsChanges(editor.panel);
    return !unsaved || editor.panel.gui.messageBox("Confirm", kDiscardChangesQuestion,
                                                   gui::Buttons::YesNo) == gui::Answer::Yes;
}

void ReloadMainProgram(CodeEditor& editor) {
    AppState& state = editor.panel.state;
    if (LoadStepFile(state.ProgramFileName, state.list, state.FileInformationLine).outcome !=
        LoadOutcome::Loaded)
        return;
    state.programModified = false;
    state.list.first();
    editor.panel.gui.setText(kTextFileName, FilePart(state.ProgramFileName));
    GetValues(editor.panel);
}

// What follows a successful write: label, reload of the main program, confirmation.
void AfterWrite(CodeEditor& editor) {
    AppState& state = editor.panel.state;
    RememberText(editor);
    editor.panel.gui.setText(kEditorFileNameLabel, FilePart(state.EditorFileName));
    if (state.ProgramFileName == state.EditorFileName && MayReloadMainProgram(editor))
        ReloadMainProgram(editor);
    editor.panel.gui.messageBox("OK", "File saved", gui::Buttons::Ok);
}

}  // namespace

void OpenCodeEditor(CodeEditor& editor) {
    gui::Gui& gui = editor.panel.gui;
    AppState& state = editor.panel.state;
    gui.setTopmost(kFormMAIN, false);
    if (!OpenFormEditor(gui)) {
        gui.setTopmost(kFormMAIN, true);
        return;
    }
    gui.enableWindow(kFormMAIN, false);
    // A program file that exists but cannot be read gets the template, not an empty text; one
    // that the text could not hold whole (NUL bytes, too big) is also named in an error box.
    std::vector<std::string> lines;
    const LoadResult read = ReadFileLines(state.ProgramFileName, lines);
    if (read.outcome == LoadOutcome::Loaded) {
        state.EditorFileName = state.ProgramFileName;
        ShowFile(gui, state.EditorFileName, lines);
    } else {
        if (read.outcome != LoadOutcome::NotOpened) ShowOpenFailure(gui, read);
        ShowTemplate(editor);
    }
    RememberText(editor);
    RefreshLineInfo(editor);
    // The keyboard goes to the new window, not to the main window that now ignores input.
    gui.activateWindow(kFormEditor);
}

bool TextHoldsChanges(CodeEditor& editor) {
    return FromThirdLine(editor.panel.gui.lines(kEditorText)) != editor.savedText;
}

void CloseCodeEditor(CodeEditor& editor) {
    if (!MayDiscardText(editor)) return;
    gui::Gui& gui = editor.panel.gui;
    gui.closeWindow(kFormEditor);
    gui.enableWindow(kFormMAIN, true);
    gui.setTopmost(kFormMAIN, true);
    gui.activateWindow(kFormMAIN);
}

void CodeEditorOpen(CodeEditor& editor, int /*eventType*/) {
    if (!MayDiscardText(editor)) return;
    gui::Gui& gui = editor.panel.gui;
    const auto path = gui.fileRequester(gui::FileMode::Open, "Filename", "", kStepFileFilter);
    if (!path) return;
    std::vector<std::string> lines;
    const LoadResult read = ReadFileLines(*path, lines);
    if (read.outcome != LoadOutcome::Loaded) {
        ShowOpenFailure(gui, read);
        return;
    }
    try {
        ShowFile(gui, *path, lines);
    } catch (const std::bad_alloc&) {  // the gadget could not take the text: an error, no abort
        LoadResult failure;
        failure.outcome = LoadOutcome::OutOfMemory;
        ShowOpenFailure(gui, failure);
        return;
    }
    RememberText(editor);
    editor.panel.state.EditorFileName = *path;
    gui.setDisabled(kEditorSave, false);
    RefreshLineInfo(editor);
}

void CodeEditorSave(CodeEditor& editor, int /*eventType*/) {
    std::vector<std::string> lines;
    if (!CheckedLines(editor, lines)) return;
    if (!WriteLines(editor, editor.panel.state.EditorFileName, lines)) return;
    AfterWrite(editor);
}

void CodeEditorSaveAs(CodeEditor& editor, int /*eventType*/) {
    gui::Gui& gui = editor.panel.gui;
    std::vector<std::string> lines;
    if (!CheckedLines(editor, lines)) return;
    const auto chosen = gui.fileRequester(gui::FileMode::Save, "Filename", "", kStepFileFilter);
    if (!chosen) return;
    const std::string path = WithStpExtension(*chosen);
    if (FileExists(path) && gui.messageBox("Confirm", "File already exists! Replace?",
                                           gui::Buttons::YesNo) != gui::Answer::Yes)
        return;
    if (!WriteLines(editor, path, lines)) return;
    editor.panel.state.EditorFileName = path;
    AfterWrite(editor);
}

void RefreshLineInfo(CodeEditor& editor) {
    gui::Gui& gui = editor.panel.gui;
    const LineInformation info = LineInfo(gui.lines(kEditorText), gui.cursorLine(kEditorText));
    gui.setText(kEditorInfoLine1, info.line1);
    gui.setText(kEditorInfoLine2, info.line2);
    gui.setText(kEditorInfoLine3, info.line3);
}

}  // namespace zs
