#include "shell/shell.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "Forms/FormMAIN.h"
#include "player/player_ui.h"
#include "shell/help_document.h"

namespace zs {

using namespace form;

// Only what the system really finds counts: a name it refuses (too long, a file used as a
// folder) is no file, and writing it then fails with its own message.
bool FileExists(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(std::filesystem::path(path), error);
    return !error && status.type() != std::filesystem::file_type::not_found;
}

std::string AboutText() {
    return std::string(26, ' ') + "Orvel-Step" + std::string(3, ' ') + kVersionText;
}

Shell::Shell(Services& services, AppState& state) : services_(services), state_(state) {}

Shell::~Shell() { StopCursorThread(); }

std::string Shell::HelpDocumentPath() {
    return FolderPart(services_.system.ownExecutablePath()) + kHelpFileName;
}

void Shell::StartUp(bool startCursorThread) {
    gui::Gui& gui = services_.gui;
    // 1. State defaults: the AppState a caller hands in starts at them.
    // 2. Fonts 0 and 1; font 0 smaller on a 120 pixels-per-inch desktop.
    LoadFont(gui, DefaultFontFor(0));
    LoadFont(gui, kNoticeFont);
    const int pixelsPerInch = services_.system.screenPixelsPerInch();
    if (pixelsPerInch == 120) LoadFont(gui, DefaultFontFor(pixelsPerInch));
    // 3. Images and the two high-quality fonts.
    LoadButtonImages(gui);
    LoadFont(gui, kLargeFont);
    LoadFont(gui, kMediumFont);
    // 4. The help document, when missing; failures are not reported.
    WriteHelpDocumentIfMissing(HelpDocumentPath(), HelpDocumentData());
    // 5.-9. The window, its menu, the panel with its lists, the edit screen hidden.
    gui.setDefaultFont(kFontDefault);
    OpenFormMAIN(gui);
    gui.setTopmost(kFormMAIN, true);
    BuildMenuMAIN(gui);
    CreateEditorPanel(gui);
    FillPanelLists(gui);
    EditScreen(false);
    // 10. The background threads.
    if (hooks.startPlayer) hooks.startPlayer();
    if (startCursorThread) cursorThread_ = std::thread([this] { CursorThreadLoop(); });
}

int Shell::Run() {
    while (!ending_) Dispatch(services_.gui.waitEvent());
    return exitCode_;
}

void Shell::Dispatch(const gui::Event& event) {
    switch (event.kind) {
        case gui::EventKind::Gadget: DispatchGadget(event); break;
        case gui::EventKind::Menu: DispatchMenu(event.id); break;
        case gui::EventKind::KeyDown: DispatchKey(event); break;
        case gui::EventKind::LeftButtonUp:
            if (services_.gui.focusedGadget() == kEditorText && hooks.editorLineInfo)
                hooks.editorLineInfo();
            break;
        case gui::EventKind::WindowClose: DispatchWindowClose(event.window); break;
        case gui::EventKind::None: break;
    }
}

void Shell::DispatchGadget(const gui::Event& event) {
    const auto call = [&event](const ShellHooks::Handler& handler) {
        if (handler) handler(event.subType);
    };
    const int id = event.id;
    if (id >= kButtonFirstStep && id <= kButtonDeleteStep) {
        call(hooks.navigation[static_cast<std::size_t>(id - kButtonFirstStep)]);
        return;
    }
    switch (id) {
        case kComboStepType: call(hooks.comboStepType); break;
        case kButtonPlay: call(hooks.playButton); break;
        case kButtonPause: call(hooks.pauseButton); break;
        case kButtonStop: call(hooks.stopButton); break;
        case kComboKeyboardType: call(hooks.comboKeyboardType); break;
        case kComboComType: call(hooks.comboComType); break;
        case kStringWaitColor: call(hooks.waitColourText); break;
        case kButtonExecuteFile: call(hooks.executeFileButton); break;
        case kPanelButton: call(hooks.panelButton); break;
        case kEditorText:
            if (hooks.editorLineInfo) hooks.editorLineInfo();
            break;
        case kEditorOpen: call(hooks.editorOpen); break;
        case kEditorSave: call(hooks.editorSave); break;
        case kEditorSaveAs: call(hooks.editorSaveAs); break;
        default: break;
    }
}

void Shell::DispatchMenu(int item) {
    const auto call = [](const std::function<void()>& command) {
        if (command) command();
    };
    switch (item) {
        case kMenuOpen: FileOpen(); break;
        case kMenuNew: FileNew(); break;
        case kMenuSave: FileSave(); break;
        case kMenuSaveAs: FileSaveAs(); break;
        case kMenuExit: Exit(); break;
        case kMenuPlay: call(hooks.menuPlay); break;
        case kMenuPlayFromCurrent: call(hooks.menuPlayFromCurrent); break;
        case kMenuPause: call(hooks.menuPause); break;
        case kMenuStop: call(hooks.menuStop); break;
        case kMenuEditor: call(hooks.openEditor); break;
        case kMenuRecord: call(hooks.menuRecord); break;
        case kMenuHelp: Help(); break;
        case kMenuAbout: About(); break;
        default: break;  // 79, 86, 87 and unknown items: nothing
    }
}

void Shell::DispatchKey(const gui::Event& event) {
    if (event.key == vk::F9 && hooks.capturePointer)
        hooks.capturePointer(services_.input.pointerPositionForCapture());
    if (services_.gui.focusedGadget() == kEditorText && hooks.editorLineInfo)
        hooks.editorLineInfo();
}

void Shell::DispatchWindowClose(int window) {
    gui::Gui& gui = services_.gui;
    if (window == kFormEditor) {
        if (hooks.closeEditor) {
            hooks.closeEditor();
            return;
        }
        gui.closeWindow(kFormEditor);
        gui.enableWindow(kFormMAIN, true);
        gui.setTopmost(kFormMAIN, true);
    } else if (window == kFormMAIN) {
        if (hooks.mayCloseMain && !hooks.mayCloseMain()) return;
        if (!MayDiscardChanges(kDiscardChangesAndExitQuestion)) return;
        gui.closeWindow(kFormMAIN);
        EndLoop();
    }
}

void Shell::Message(const std::string& title, const std::string& text) {
    if (hooks.reportInsteadOfBox) {
        hooks.reportInsteadOfBox(title, text);
        return;
    }
    MessageRoutine(services_.gui, title, text);
}

void Shell::Notice(const std::string& text) { services_.gui.notice(text, kFormMAIN); }

void Shell::EditLock(bool locked) { EditLockRoutine(services_.gui, locked); }

void Shell::EditScreen(bool show) {
    services_.gui.setHidden(kPanel, !show);
    for (int gadget = kButtonPlay; gadget <= kButtonDeleteStep; ++gadget)
        services_.gui.setHidden(gadget, !show);
}

bool Shell::HasUnsavedChanges() {
    return state_.programModified || (hooks.panelHoldsChanges && hooks.panelHoldsChanges());
}

bool Shell::MayDiscardChanges(const char* question) {
    return !HasUnsavedChanges() ||
           services_.gui.messageBox("Confirm", question, gui::Buttons::YesNo) == gui::Answer::Yes;
}

// One question either way: the unsaved changes one replaces "Exit program?" when it applies.
void Shell::Exit() {
    const char* question = HasUnsavedChanges() ? kDiscardChangesAndExitQuestion : "Exit program?";
    if (services_.gui.messageBox("Confirm", question, gui::Buttons::YesNo) == gui::Answer::Yes)
        EndLoop();
}

void Shell::Help() { services_.process.openDocument(HelpDocumentPath()); }

void Shell::About() { Message("About", AboutText()); }

void Shell::UpdateCursorFields() {
    Point pointer = services_.input.pointerPosition();
    if (hooks.placePointer) pointer = hooks.placePointer(pointer);
    services_.gui.setText(kTextCursorX, std::to_string(pointer.x));
    services_.gui.setText(kTextCursorY, std::to_string(pointer.y));
}

void Shell::CursorThreadLoop() {
    // Plain waits, not deadlines: a display that fell behind should not catch up in a burst.
    do {
        UpdateCursorFields();
        services_.clock.waitFor(std::chrono::milliseconds(100));
    } while (!stopCursor_);
}

void Shell::StopCursorThread() {
    stopCursor_ = true;
    if (cursorThread_.joinable()) cursorThread_.join();
}

}  // namespace zs
