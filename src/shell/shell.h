// The application shell: start-up, the event loop and its dispatch, the shared message, notice,
// edit-lock and edit-screen routines, and the File, Exit, Help and About commands.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "model/app_state.h"
#include "model/step_file.h"
#include "platform/gui.h"
#include "platform/services.h"

namespace zs {

// The handlers other parts of the program attach to the shell. Empty ones do nothing, except
// where noted.
struct ShellHooks {
    using Handler = std::function<void(int eventType)>;

    // Shows the current step in the editor panel; empty: a plain fallback (frame caption and the
    // step's field set).
    std::function<void()> GetValues;
    // Stores the editor panel into the current step; 0 refuses. Empty: accepted.
    std::function<int()> SaveActualRecord;
    // Whether the editor panel holds edits not stored into its step yet. Empty: none.
    std::function<bool()> panelHoldsChanges;

    // F9: the pointer's position, for the editor panel to take what it needs from.
    std::function<void(Point pointer)> capturePointer;
    Handler comboStepType;     // gadget 69
    Handler comboKeyboardType; // gadget 16
    Handler comboComType;      // gadget 33
    Handler waitColourText;    // the Wait set's colour text
    // Where the shown step takes the pointer's position (relative to the window a Mouse step
    // works in); empty: the screen position. Called from the cursor-position thread.
    std::function<Point(Point pointer)> placePointer;
    Handler executeFileButton; // gadget 47
    Handler panelButton;       // gadget 49
    Handler playButton, pauseButton, stopButton;  // gadgets 54, 55, 56
    std::array<Handler, 8> navigation;            // gadgets 58 to 65

    std::function<void()> menuPlay, menuPlayFromCurrent, menuPause, menuStop;  // items 81-84
    std::function<void()> openEditor;                                          // item 85
    std::function<void()> menuRecord;                                          // item 90
    // Asked before the main window's close box ends the program; false keeps it open.
    // Empty: it closes.
    std::function<bool()> mayCloseMain;
    // The close box of FormEditor (103); empty: the window just closes.
    std::function<void()> closeEditor;
    std::function<void()> editorLineInfo;  // FormEditor text (104): refresh the line information
    Handler editorOpen, editorSave, editorSaveAs;  // gadgets 105, 106, 107

    // Starts the player thread; called once at start-up.
    std::function<void()> startPlayer;

    // Where the message routine's texts go when nobody watches the program (--play): set, it
    // takes them instead of a box.
    std::function<void(const std::string& title, const std::string& text)> reportInsteadOfBox;
};

class Shell {
public:
    Shell(Services& services, AppState& state);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    ShellHooks hooks;

    // Start-up up to the event loop: fonts, images, help document, FormMAIN, menu, panel, threads.
    // The cursor-position thread is started only when startCursorThread is true.
    void StartUp(bool startCursorThread = true);
    // Runs the event loop until the program ends; returns the exit code, 0.
    int Run();
    // Handles one event of the loop.
    void Dispatch(const gui::Event& event);
    // Makes Run return exitCode after the event being handled.
    void EndLoop(int exitCode = 0) {
        exitCode_ = exitCode;
        ending_ = true;
    }
    bool Ending() const { return ending_; }

    // Makes the step at 0-based index current and shows it in the editor panel (GetValues).
    void ShowStep(long index);

    // Shared routines.
    void Message(const std::string& title, const std::string& text);
    void Notice(const std::string& text);
    void EditLock(bool locked);
    void EditScreen(bool show);

    // Whether the step program holds changes that no save has written: in the step list or
    // still in the editor panel.
    bool HasUnsavedChanges();

    // Menu commands.
    void FileNew();
    void FileOpen();
    // Opens a step file as File > Open does once its requester has named it (same messages and
    // state); asks nothing about unsaved changes.
    // true when FILE was opened (otherwise the reason was shown).
    bool OpenFile(const std::string& path);
    void FileSave();
    void FileSaveAs();
    void Exit();
    void Help();
    void About();

    // One pass of the cursor-position thread: pointer X and Y into gadgets 9 and 10.
    void UpdateCursorFields();
    void StopCursorThread();

    std::string HelpDocumentPath();

private:
    // true when nothing unsaved would be lost, or the user agreed to lose it.
    bool MayDiscardChanges(const char* question);
    void DispatchGadget(const gui::Event& event);
    void DispatchMenu(int item);
    void DispatchKey(const gui::Event& event);
    void DispatchWindowClose(int window);
    void ShowCurrentStep();
    void ShowProgramLoaded();
    void ShowTypeNotices(const LoadResult& result);
    bool OpenProgram(const std::string& path);
    int StoreEditorFields();
    bool WriteProgram();
    void CursorThreadLoop();

    Services& services_;
    AppState& state_;
    std::atomic<bool> ending_{false};
    std::atomic<int> exitCode_{0};
    std::atomic<bool> stopCursor_{false};
    std::thread cursorThread_;
};

// The questions asked before unsaved changes are thrown away (title "Confirm", Yes / No).
inline constexpr const char* kDiscardChangesQuestion =
    "The program has unsaved changes. Discard them?";
inline constexpr const char* kDiscardChangesAndExitQuestion =
    "The program has unsaved changes. Discard them and exit?";

// true when the system finds a file or folder of that name.
bool FileExists(const std::string& path);

// The About text: 26 blanks, the program name, 3 blanks, the version.
std::string AboutText();

}  // namespace zs
