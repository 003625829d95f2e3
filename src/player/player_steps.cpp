// ThreadPLAY, the table of step procedures, and the procedures of the short step types.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

#include "model/step_file.h"
#include "model/step_types.h"
#include "player/player.h"

namespace zs {
namespace {

// A long step (typing, a telegram) is stoppable after this; Escape is asked at this interval.
constexpr auto kStopGrace = std::chrono::milliseconds(50);
constexpr auto kEscapePoll = std::chrono::milliseconds(20);

}  // namespace

// One procedure per step type, in the order of the step-type table.
const Player::StepProcedure Player::kProcedures[] = {
    &Player::MouseStep, &Player::KeyboardStep, &Player::DelayStep,
    &Player::LoopStep,  &Player::ComportStep,  &Player::JumpStep,
    &Player::StateStep, &Player::ExecuteStep,  &Player::MessageStep,
    &Player::WindowStep, &Player::WaitStep,   &Player::QueryStep,
};

std::optional<Player::StepRun> Player::ThreadPLAY(long index) {
    static_assert(std::size(kProcedures) == kStepTypeCount, "one procedure per step type");
    const std::optional<Step> step = FetchAndShowStep(index);
    if (!step) {
        state_.playing = 0;
        return std::nullopt;
    }
    StepRun run{index, std::nullopt};
    runningIndex_ = index;
    if (const StepTypeInfo* type = FindStepType(step->RECORDtype))
        run.transferTo = (this->*kProcedures[RowOf(*type)])(*step, index);
    else
        UnknownStep(*step);
    return run;
}

// Selects the step at index and shows it. An index outside the list selects nothing, and the
// panel then shows the first step, which is the one that runs. index becomes the shown step's.
std::optional<Step> Player::FetchAndShowStep(long& index) {
    std::optional<Step> step;
    services_.gui.runOnUi([&] {
        RList& list = state_.list;
        if (!list.select(index) && !list.first()) return;
        index = list.index();
        ui_.showStep(index);
        step = list.current();
    });
    return step;
}

// Steps shorter than the grace end as they always did. Later, Stop is seen at once and Escape
// within one poll interval, so typing and telegrams end well within 100 ms of either.
StopRequested Player::StopCheckForStep() {
    const Clock::time_point start = services_.clock.now();
    Clock::time_point nextEscapeTest = start + kStopGrace;
    return [this, start, nextEscapeTest]() mutable {
        const Clock::time_point now = services_.clock.now();
        if (now - start < kStopGrace) return false;
        if (state_.playing != 1 || stopping_ || superseded()) return true;
        if (now < nextEscapeTest) return false;
        nextEscapeTest = now + kEscapePoll;
        if (!services_.input.escapePressed()) return false;
        state_.playing = 0;
        return true;
    };
}

// An Escape that closed the box was pressed since the last test: the next test ends the run.
void Player::ShowMessage(const std::string& title, const std::string& text) {
    ui_.message(title, text);
}

void Player::SettleDelay() { pacer_.wait(std::chrono::milliseconds(state_.actionSettleDelayMs)); }

// Before the first Mouse or Keyboard step acts: where its input cannot arrive, in a box.
void Player::SayInputReach() {
    if (state_.inputReachNotice.empty() || state_.inputReachNoticeSaid.exchange(true)) return;
    if (runUnattended_.report)
        runUnattended_.report(state_.inputReachNotice);
    else
        ShowMessage("Info", state_.inputReachNotice);
}

std::optional<long> Player::MouseStep(const Step& step, long) {
    SayInputReach();
    const std::optional<Point> at = OnScreen({step.MouseX, step.MouseY});
    if (!at) return WindowGone();
    Step placed = step;
    placed.MouseX = at->x;
    placed.MouseY = at->y;
    actions_.mouse(placed);
    SettleDelay();
    return std::nullopt;
}

// A stopped step ends the run at once, without the between-steps delay.
std::optional<long> Player::KeyboardStep(const Step& step, long) {
    SayInputReach();
    const StopRequested stopped = StopCheckForStep();
    actions_.keyboard(step, stopped);
    if (!stopped()) SettleDelay();
    return std::nullopt;
}

std::optional<long> Player::DelayStep(const Step& step, long) {
    WaitFor(step.DelaySeconds, nullptr);
    return std::nullopt;
}

// A failed telegram pauses the run and says why; Play goes on with the next step.
std::optional<long> Player::ComportStep(const Step& step, long) {
    const StopRequested stopped = StopCheckForStep();
    const ComportResult result = actions_.comport(step, stopped);
    if (result.outcome == ComportOutcome::Initialised || result.outcome == ComportOutcome::Sent) {
        if (!stopped()) SettleDelay();
        return std::nullopt;
    }
    return FailStep("COM port", result.message, 0,
                    result.outcome != ComportOutcome::NotInitialised);
}

std::optional<long> Player::JumpStep(const Step& step, long) {
    SettleDelay();
    if (step.JumpToStep <= 0) return std::nullopt;
    return static_cast<long>(step.JumpToStep) - 1;
}

std::optional<long> Player::StateStep(const Step& step, long) {
    services_.gui.setText(form::kTextStepInfo, step.StateText);
    SettleDelay();
    return std::nullopt;
}

// Starts an existing file or folder; a missing one is skipped and a failed start is not reported.
// A relative name that the working folder does not hold is looked for beside the program file,
// so that a program can start a file that lies next to it, wherever it is run from.
std::optional<long> Player::ExecuteStep(const Step& step, long) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string path = step.ExecuteFile;
    if (!path.empty() && !fs::exists(path, error) && fs::path(path).is_relative()) {
        services_.gui.runOnUi([&] { path = FolderPart(state_.ProgramFileName) + path; });
    }
    if (!path.empty() && fs::exists(path, error)) services_.process.startFile(path);
    SettleDelay();
    return std::nullopt;
}

std::optional<long> Player::MessageStep(const Step& step, long) {
    state_.paused = 1;
    ShowMessage("PAUSE", step.MessageText);
    state_.paused = 0;
    SettleDelay();
    return std::nullopt;
}

// The telegram goes out as a Comport telegram's; then the bytes received since it are searched
// for the reply until the time-out. What came back is shown in the State text.
std::optional<long> Player::QueryStep(const Step& step, long) {
    const StopRequested stopped = StopCheckForStep();
    ComportResult failure;
    std::unique_ptr<QueryExchange> query = actions_.query(step, stopped, failure);
    if (!query) {
        if (stopped()) return std::nullopt;
        return FailStep("COM port", failure.message, step.OnFailStep,
                        failure.outcome != ComportOutcome::NotInitialised);
    }
    const auto idle = [&](Clock::time_point until) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - services_.clock.now());
        return query->WaitForBytes(std::max(left, std::chrono::milliseconds(0)));
    };
    const WaitOutcome outcome = WaitFor(step.TimeoutSeconds, [&] { return query->ReplyReceived(); },
                                        idle);
    services_.gui.setText(form::kTextStepInfo, query->Shown());
    query.reset();  // the port closes before anything else happens
    switch (outcome) {
        case WaitOutcome::Stopped: return std::nullopt;
        case WaitOutcome::Held: SettleDelay(); return std::nullopt;
        case WaitOutcome::TimedOut: break;
    }
    return FailStep("COM port", "No reply on " + step.ComPort, step.OnFailStep, true);
}

void Player::UnknownStep(const Step& step) {
    ShowMessage("Error", "ThreadPLAY(): Unknown recordtype: " + std::to_string(step.RECORDtype));
}

}  // namespace zs
