#include "editor/editor_hooks.h"

#include "editor/navigation.h"
#include "editor/panel_types.h"
#include "editor/save_record.h"

namespace zs {

namespace {

using Handler = ShellHooks::Handler;

Handler PanelHandler(EditorPanel& panel, void (*handler)(EditorPanel&, int)) {
    return [&panel, handler](int eventType) { handler(panel, eventType); };
}

// A command that may add or remove steps: a changed count is a change to save.
Handler StepCountHandler(EditorPanel& panel, void (*handler)(EditorPanel&, int)) {
    return [&panel, handler](int eventType) {
        const long before = panel.state.list.size();
        handler(panel, eventType);
        if (panel.state.list.size() != before) panel.state.programModified = true;
    };
}

Handler CodeEditorHandler(CodeEditor& editor, void (*handler)(CodeEditor&, int)) {
    return [&editor, handler](int eventType) { handler(editor, eventType); };
}

void AttachPanel(ShellHooks& hooks, EditorPanel& panel) {
    hooks.GetValues = [&panel] { GetValues(panel); };
    hooks.SaveActualRecord = [&panel] { return SaveActualRecord(panel); };
    hooks.panelHoldsChanges = [&panel] { return PanelHoldsChanges(panel); };
    hooks.capturePointer = [&panel](Point pointer) { CapturePointer(panel, pointer); };
    hooks.placePointer = [&panel](Point pointer) { return PositionForShownStep(panel, pointer); };
    hooks.waitColourText = PanelHandler(panel, WaitColourChanged);
    hooks.comboStepType = PanelHandler(panel, FormMAIN_ComboType_Event);
    hooks.comboKeyboardType = PanelHandler(panel, Combo_KeyboardType_Events);
    hooks.comboComType = PanelHandler(panel, Combo_COMtype_Events);
    hooks.executeFileButton = PanelHandler(panel, ChooseExecuteFile);
    hooks.panelButton = PanelHandler(panel, StepPicked);
    hooks.navigation = {PanelHandler(panel, FirstStep),     PanelHandler(panel, PreviousStep),
                        PanelHandler(panel, OpenStepPickList), PanelHandler(panel, NextStep),
                        PanelHandler(panel, LastStep),      StepCountHandler(panel, AppendStep),
                        StepCountHandler(panel, InsertStep), StepCountHandler(panel, DeleteStep)};
}

void AttachCodeEditor(ShellHooks& hooks, CodeEditor& editor) {
    hooks.openEditor = [&editor] { OpenCodeEditor(editor); };
    hooks.closeEditor = [&editor] { CloseCodeEditor(editor); };
    hooks.editorLineInfo = [&editor] { RefreshLineInfo(editor); };
    hooks.editorOpen = CodeEditorHandler(editor, CodeEditorOpen);
    hooks.editorSave = CodeEditorHandler(editor, CodeEditorSave);
    hooks.editorSaveAs = CodeEditorHandler(editor, CodeEditorSaveAs);
}

}  // namespace

void AttachEditor(ShellHooks& hooks, EditorPanel& panel, CodeEditor& codeEditor) {
    AttachPanel(hooks, panel);
    AttachCodeEditor(hooks, codeEditor);
}

ProgramEditor::ProgramEditor(Shell& shell, Services& services, AppState& state)
    : panel{services.gui, state,
            [&shell](const std::string& title, const std::string& text) {
                shell.Message(title, text);
            },
            services.desktop},
      codeEditor{panel, services.system} {
    AttachEditor(shell.hooks, panel, codeEditor);
}

}  // namespace zs
