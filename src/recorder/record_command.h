// The "Record" command: records the user's mouse and keyboard actions on the desktop until
// Escape or the menu item again, then inserts the steps they give after the current step.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/app_state.h"
#include "model/rlist.h"
#include "platform/desktop.h"
#include "platform/gui.h"
#include "platform/recorder.h"

namespace zs {

// Inserts steps after the current step in one pass over the list, however long both are; the
// first inserted step becomes current. Nothing changes for no steps.
void InsertAfterCurrent(RList& list, std::vector<Step> steps);

class RecordCommand final : private RecordSink {
public:
    RecordCommand(AppState& state, gui::Gui& gui, Desktop& desktop);
    ~RecordCommand() override;
    RecordCommand(const RecordCommand&) = delete;
    RecordCommand& operator=(const RecordCommand&) = delete;

    // The platform's recorder; without one Record tells that it cannot record here.
    void setRecorder(InputRecorder* recorder) { recorder_ = recorder; }

    // Hooks into the rest of the program; all are called on the UI thread.
    std::function<int()> SaveActualRecord = [] { return 1; };  // 0 refuses to leave the step
    std::function<void(long)> showStep;                        // makes index current, GetValues
    std::function<void()> markUnsaved;                          // the program has changed

    // The menu item: starts a recording, or ends the one under way.
    void Toggle();
    bool recording() const { return recording_; }
    // Ends the recording and inserts its steps.
    void Stop();
    // Closing the main window: true when it may close. While recording, asks whether to throw
    // the recorded steps away; No keeps them (inserted) and the window open.
    bool ConfirmClose();

private:
    void Start();
    std::vector<RecordedEvent> EndRecording();
    void LockControls(bool on);
    void recorded(const RecordedEvent& event) override;
    void escapePressed() override;
    void StopRequestLoop();

    AppState& state_;
    gui::Gui& gui_;
    Desktop& desktop_;
    InputRecorder* recorder_ = nullptr;
    std::atomic<bool> recording_{false};
    std::string stateTextBefore_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<RecordedEvent> events_;  // guarded by mutex_
    bool stopRequested_ = false;         // guarded by mutex_
    long stopSession_ = 0;               // guarded by mutex_: the recording Escape ended
    long session_ = 0;                   // counts recordings; UI thread
    bool quit_ = false;                  // guarded by mutex_
    // Carries an Escape from the backend over to the UI thread, where the recording ends.
    std::thread stopRequests_;
};

}  // namespace zs
