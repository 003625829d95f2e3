#include "recorder/record_command.h"

#include "Forms/FormMAIN.h"
#include "player/player_ui.h"
#include "recorder/step_translator.h"

namespace zs {

using namespace form;

inline constexpr const char* kRecordingText = "Recording - Escape stops";

void InsertAfterCurrent(RList& list, std::vector<Step> steps) {
    if (steps.empty()) return;
    const long at = list.hasCurrent() ? list.index() + 1 : list.size();
    if (!list.hasCurrent()) list.last();
    // Each add goes in after the cursor and costs the same however long the list is.
    for (Step& step : steps) list.add() = std::move(step);
    list.select(at);
}

RecordCommand::RecordCommand(AppState& state, gui::Gui& gui, Desktop& desktop)
    : state_(state), gui_(gui), desktop_(desktop) {}

RecordCommand::~RecordCommand() {
    if (recording_ && recorder_ != nullptr) recorder_->stop();
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (stopRequests_.joinable()) stopRequests_.join();
}

void RecordCommand::Toggle() {
    if (recording_)
        Stop();
    else
        Start();
}

void RecordCommand::Start() {
    if (state_.playing != 0 || state_.list.empty()) return;
    if (SaveActualRecord() == 0) return;
    if (recorder_ == nullptr) {
        MessageRoutine(gui_, "Error", "Recording is not available on this system");
        return;
    }
    {
        std::lock_guard lock(mutex_);
        events_.clear();
        stopRequested_ = false;
        ++session_;
        stopSession_ = session_;
    }
    if (!stopRequests_.joinable()) stopRequests_ = std::thread([this] { StopRequestLoop(); });
    const Status status = recorder_->start(*this);
    if (!status) {
        MessageRoutine(gui_, "Error", "Recording: " + status.call + ": " + status.message);
        return;
    }
    recording_ = true;
    LockControls(true);
}

std::vector<RecordedEvent> RecordCommand::EndRecording() {
    recorder_->stop();
    LockControls(false);
    std::lock_guard lock(mutex_);
    stopRequested_ = false;
    return std::move(events_);
}

void RecordCommand::Stop() {
    if (!recording_) return;
    const std::vector<RecordedEvent> events = EndRecording();
    TranslationRules rules;
    rules.doubleClick = recorder_->doubleClickRule();
    rules.settleDelayMs = state_.actionSettleDelayMs;
    std::vector<Step> steps = TranslateRecording(events, rules);
    const long current = state_.list.index();
    const bool any = !steps.empty();
    if (any) {
        InsertAfterCurrent(state_.list, std::move(steps));
        if (markUnsaved) markUnsaved();
    }
    if (showStep) showStep(any ? current + 1 : current);
    recording_ = false;  // last: who sees it false sees the steps in place
}

bool RecordCommand::ConfirmClose() {
    if (!recording_) return true;
    const gui::Answer answer = gui_.messageBox(
        "Confirm", "Close and throw away the recorded steps?", gui::Buttons::YesNo);
    if (answer == gui::Answer::Yes) {
        EndRecording();
        recording_ = false;
        return true;
    }
    Stop();
    return false;
}

// While recording, the editing controls and Play are locked as during a run; the Record item
// stays enabled, as it ends the recording.
void RecordCommand::LockControls(bool on) {
    EditLockRoutine(gui_, on);
    if (on) {
        stateTextBefore_ = gui_.text(kTextStepInfo);
        gui_.setText(kTextStepInfo, kRecordingText);
        for (int button : {kButtonPlay, kButtonPause, kButtonStop}) gui_.setDisabled(button, true);
        for (int item : {kMenuPlay, kMenuPlayFromCurrent, kMenuPause, kMenuStop})
            gui_.setMenuItemDisabled(item, true);
    } else {
        gui_.setText(kTextStepInfo, stateTextBefore_);
        SetPlaybackControls(gui_, ControlState::Idle);
    }
}

// A click is placed in the window it went to, as that window is now, so that playback can find
// the window by its title and click where the click was within it.
void RecordCommand::recorded(const RecordedEvent& event) {
    RecordedEvent placed = event;
    if (event.kind == RecordedKind::ButtonDown && !event.ownWindow) {
        if (const std::optional<DesktopWindow> window = desktop_.windowAt(event.position)) {
            const std::optional<Point> origin = desktop_.clientOrigin(window->id);
            if (origin) {
                placed.windowTitle = window->title;
                placed.windowOrigin = *origin;
            }
        }
    }
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(placed));
}

void RecordCommand::escapePressed() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
}

// The backend reports Escape from its own thread or hook, which must not wait for the UI thread
// (stopping the backend waits for it): this thread takes the request over.
void RecordCommand::StopRequestLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || stopRequested_; });
        if (quit_) return;
        stopRequested_ = false;
        const long session = stopSession_;
        lock.unlock();
        // An Escape of a recording that has ended meanwhile must not end the next one.
        gui_.runOnUi([this, session] {
            if (session == session_) Stop();
        });
        lock.lock();
    }
}

}  // namespace zs
