// File menu: New, Open, Save and Save as of the step program shown in the main window.
#include <new>
#include <string>

#include "Forms/FormMAIN.h"
#include "model/step_file.h"
#include "shell/shell.h"

namespace zs {

using namespace form;

namespace {

constexpr const char* kStepFileFilter = "STEP file (*.stp)|*.stp";

}  // namespace

void Shell::ShowCurrentStep() {
    if (hooks.GetValues) {
        hooks.GetValues();
        return;
    }
    // Until the editor panel shows steps itself: the step number and the set of its type.
    gui::Gui& gui = services_.gui;
    if (!state_.list.hasCurrent()) state_.list.first();
    if (!state_.list.hasCurrent()) return;
    gui.setText(kFrameStep, std::to_string(state_.list.index() + 1));
    for (const FieldSet& set : EditorFieldSets()) gui.setHidden(set.container, true);
    const StepTypeInfo* type = FindStepType(state_.list.current().RECORDtype);
    if (type == nullptr) return;
    gui.select(kComboStepType, static_cast<int>(RowOf(*type)));
    gui.setHidden(FieldSetOf(*type).container, false);
    gui.setText(kStringDescription, state_.list.current().Description);
}

void Shell::ShowStep(long index) {
    state_.list.select(index);
    ShowCurrentStep();
}

int Shell::StoreEditorFields() { return hooks.SaveActualRecord ? hooks.SaveActualRecord() : 1; }

void Shell::ShowProgramLoaded() {
    gui::Gui& gui = services_.gui;
    gui.setText(kTextFileName, FilePart(state_.ProgramFileName));
    EditScreen(true);
    for (int item : {kMenuSave, kMenuSaveAs, kMenuPlay, kMenuPlayFromCurrent, kMenuRecord})
        gui.setMenuItemDisabled(item, false);
}

void Shell::FileNew() {
    if (!MayDiscardChanges(kDiscardChangesQuestion)) return;
    gui::Gui& gui = services_.gui;
    MakeNewProgram(state_.list);
    state_.programModified = false;
    gui.setText(kStringDescription, "");
    ShowCurrentStep();
    state_.ProgramFileName.clear();
    gui.setText(kTextFileName, "");
    gui.setMenuItemDisabled(kMenuSave, true);
    for (int item : {kMenuSaveAs, kMenuPlay, kMenuPlayFromCurrent, kMenuRecord})
        gui.setMenuItemDisabled(item, false);
    EditScreen(true);
}

void Shell::ShowTypeNotices(const LoadResult& result) {
    for (const std::string& notice : result.notices) Notice(notice);
    if (result.unknownLineCount > result.notices.size())
        Notice(std::to_string(result.unknownLineCount - result.notices.size()) +
               " more unknown recordtypes");
}

void Shell::FileOpen() {
    if (!MayDiscardChanges(kDiscardChangesQuestion)) return;
    const auto path = services_.gui.fileRequester(gui::FileMode::Open, "Filename", "",
                                                  kStepFileFilter);
    if (!path) return;
    OpenFile(*path);
}

bool Shell::OpenFile(const std::string& path) {
    try {
        return OpenProgram(path);
    } catch (const std::bad_alloc&) {  // showing a huge program: an error box, not an abort
        Message("Error", "File not open " + path + " (not enough memory)");
        return false;
    }
}

bool Shell::OpenProgram(const std::string& path) {
    const LoadResult result = LoadStepFile(path, state_.list, state_.FileInformationLine);
    if (result.outcome == LoadOutcome::WrongVersion) {
        Message(kFileVersionLine, "Wrong File-Version");
        return false;
    }
    if (result.outcome != LoadOutcome::Loaded) {
        Message("Error", "File not open " + path + LoadFailureReason(result));
        return false;
    }
    state_.programModified = false;
    ShowTypeNotices(result);
    state_.ProgramFileName = path;
    state_.list.first();
    ShowCurrentStep();
    ShowProgramLoaded();
    return true;
}

// Writes the step program to ProgramFileName. A failed write leaves the file that was there.
bool Shell::WriteProgram() {
    const std::string& path = state_.ProgramFileName;
    const std::string userDate =
        UserDateLine(services_.system.userName(), services_.system.localTime());
    const StepFileText file = WriteStepFileText(state_.list, userDate, state_.FileInformationLine);
    if (!WriteFileReplacing(path, file.text)) {
        Message(path, "Can't create file");
        return false;
    }
    state_.programModified = false;
    for (int type : file.unknownTypes) Message("Error", "Unknown recordtype: " + std::to_string(type));
    services_.gui.setText(kTextFileName, FilePart(path));
    Notice("File saved");
    services_.gui.setMenuItemDisabled(kMenuSave, false);
    return true;
}

void Shell::FileSave() {
    if (state_.ProgramFileName.empty()) return;
    if (StoreEditorFields() == 0) return;
    WriteProgram();
}

void Shell::FileSaveAs() {
    if (StoreEditorFields() == 0) return;
    const auto chosen = services_.gui.fileRequester(gui::FileMode::Save, "Filename", "",
                                                    kStepFileFilter);
    if (!chosen) return;
    const std::string path = WithStpExtension(*chosen);
    if (FileExists(path) &&
        services_.gui.messageBox("Confirm", "File already exists! Replace?",
                                 gui::Buttons::YesNo) != gui::Answer::Yes)
        return;
    // The program keeps its old name when the new file could not be written.
    std::string previous = state_.ProgramFileName;
    state_.ProgramFileName = path;
    if (!WriteProgram()) state_.ProgramFileName = std::move(previous);
}

}  // namespace zs
