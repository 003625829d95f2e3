#include "editor/editor_hooks.h"

#include "editor/navigation.h"
#include "editor/save_record.h"

namespace zs {

void EditorPlayerUi::showStep(long /*index*/) { GetValues(panel_); }

namespace {

using Handler = ShellHooks::Handler;

Handler PanelHandler(EditorPanel& panel, void (*handler)(EditorPanel&, int)) {
    return [&panel, handler](int eventType) { handler(panel, eventType); };
}

Handler CodeEditorHandler(CodeEditor& editor, void (*handler)(CodeEditor&, int)) {
    return [&editor, handler](int eventType) { handler(editor, eventType); };
}

void AttachPanel(ShellHooks& hooks, EditorPanel& panel) {
    hooks.GetValues = [&panel] { GetValues(panel); };
    hooks.SaveActualRecord = [&panel] { return SaveActualRecord(panel); };
    hooks.comboStepType = PanelHandler(panel, FormMAIN_ComboType_Event);
    hooks.comboKeyboardType = PanelHandler(panel, Combo_KeyboardType_Events);
    hooks.comboComType = PanelHandler(panel, Combo_COMtype_Events);
    hooks.executeFileButton = PanelHandler(panel, ChooseExecuteFile);
    hooks.panelButton = PanelHandler(panel, StepPicked);
    hooks.navigation = {PanelHandler(panel, FirstStep),     PanelHandler(panel, PreviousStep),
                        PanelHandler(panel, OpenStepPickList), PanelHandler(panel, NextStep),
                        PanelHandler(panel, LastStep),      PanelHandler(panel, AppendStep),
                        PanelHandler(panel, InsertStep),    PanelHandler(panel, DeleteStep)};
}

void AttachPlayback(ShellHooks& hooks, EditorPanel& panel, PlaybackCommands& commands) {
    commands.SaveActualRecord = [&panel] { return SaveActualRecord(panel); };
    hooks.playButton = [&commands](int) { commands.Play(); };
    hooks.pauseButton = [&commands](int) { commands.Pause(); };
    hooks.stopButton = [&commands](int) { commands.Stop(); };
    hooks.menuPlay = [&commands] { commands.Play(); };
    hooks.menuPlayFromCurrent = [&commands] { commands.PlayFromCurrentStep(); };
    hooks.menuPause = [&commands] { commands.Pause(); };
    hooks.menuStop = [&commands] { commands.Stop(); };
}

void AttachCodeEditor(ShellHooks& hooks, CodeEditor& editor) {
    hooks.openEditor = [&editor] { OpenCodeEditor(editor); };
    hooks.editorLineInfo = [&editor] { RefreshLineInfo(editor); };
    hooks.editorOpen = CodeEditorHandler(editor, CodeEditorOpen);
    hooks.editorSave = CodeEditorHandler(editor, CodeEditorSave);
    hooks.editorSaveAs = CodeEditorHandler(editor, CodeEditorSaveAs);
}

}  // namespace

void AttachEditor(ShellHooks& hooks, EditorPanel& panel, CodeEditor& codeEditor,
                  PlaybackCommands& commands) {
    AttachPanel(hooks, panel);
    AttachPlayback(hooks, panel, commands);
    AttachCodeEditor(hooks, codeEditor);
}

}  // namespace zs
