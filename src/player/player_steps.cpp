// ThreadPLAY and the procedures of the step types the player carries out itself.
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>

#include "model/step_file.h"
#include "player/player.h"

namespace zs {
namespace {

constexpr std::array kLoopTexts{form::kTextStatus1, form::kTextStatus2, form::kTextStatus3};
constexpr std::array kLoopPrefixes{"L1: ", "L2: ", "L3: "};
// Longest countdown: about 31 years, far beyond any real delay, and no overflow for +Infinity.
constexpr long long kMaxDelayTenths = 10'000'000'000LL;
// A long step (typing, a telegram) is stoppable after this; Escape is asked at this interval.
constexpr auto kStopGrace = std::chrono::milliseconds(50);
constexpr auto kEscapePoll = std::chrono::milliseconds(20);

// Tenths of a second to count down: DelaySeconds x 10 rounded half to even; nothing for 0, negative
// values and NaN.
long long DelayTenths(float seconds) {
    const double tenths = std::nearbyint(static_cast<double>(seconds) * 10.0);
    if (!(tenths > 0.0)) return 0;
    return tenths >= static_cast<double>(kMaxDelayTenths) ? kMaxDelayTenths
                                                          : static_cast<long long>(tenths);
}

// n tenths as seconds with one decimal: 15 -> "1.5".
std::string TenthsText(long long tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

std::optional<Player::StepRun> Player::ThreadPLAY(long index) {
    const std::optional<Step> step = FetchAndShowStep(index);
    if (!step) {
        state_.playing = 0;
        return std::nullopt;
    }
    StepRun run{index, std::nullopt};
    switch (step->RECORDtype) {
        case 1: MouseStep(*step); break;
        case 2: KeyboardStep(*step); break;
        case 3: DelayStep(*step); break;
        case 4: run.transferTo = LoopStep(*step, index); break;
        case 5: ComportStep(*step); break;
        case 6: run.transferTo = JumpStep(*step); break;
        case 7: StateStep(*step); break;
        case 8: ExecuteStep(*step); break;
        case 9: MessageStep(*step); break;
        default: UnknownStep(*step); break;
    }
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

void Player::DelayStep(const Step& step) {
    for (long long n = DelayTenths(step.DelaySeconds); n >= 1; --n) {
        if (!StopTestAndPauseWait()) return;
        services_.gui.setText(form::kTextCountdown, TenthsText(n));
        pacer_.wait(std::chrono::milliseconds(100));
    }
    services_.gui.setText(form::kTextCountdown, "0.0");
}

// Three loop levels, tested in order; a level either belongs to this Loop step (count one more
// pass) or is free (take it). Returns the step to hand over to.
std::optional<long> Player::LoopStep(const Step& step, long index) {
    const long fromIndex = static_cast<long>(step.LoopFromStep) - 1;
    for (std::size_t k = 0; k < state_.loops.size(); ++k) {
        LoopLevel& level = state_.loops[k];
        if (level.active == 1 && level.stepIndex == index) {
            const int count = ++level.count;
            if (count == step.LoopRepetitions) {
                level.active = 0;
                services_.gui.setText(kLoopTexts[k], "");
                if (HasStepAfter(index)) return index + 1;
                state_.playing = 0;
                return std::nullopt;
            }
            services_.gui.setText(kLoopTexts[k], kLoopPrefixes[k] + std::to_string(count));
            SettleDelay();
            return fromIndex;
        }
        if (step.LoopFromStep > 0 && level.active == 0) {
            level.active = 1;
            level.stepIndex = static_cast<int>(index);
            level.count = 1;
            services_.gui.setText(kLoopTexts[k], std::string(kLoopPrefixes[k]) + "1");
            SettleDelay();
            return fromIndex;
        }
    }
    SettleDelay();
    return std::nullopt;
}

std::optional<long> Player::JumpStep(const Step& step) {
    SettleDelay();
    if (step.JumpToStep <= 0) return std::nullopt;
    return static_cast<long>(step.JumpToStep) - 1;
}

void Player::StateStep(const Step& step) {
    services_.gui.setText(form::kTextStepInfo, step.StateText);
    SettleDelay();
}

// Starts an existing file or folder; a missing one is skipped and a failed start is not reported.
// A relative name that the working folder does not hold is looked for beside the program file,
// so that a program can start a file that lies next to it, wherever it is run from.
void Player::ExecuteStep(const Step& step) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string path = step.ExecuteFile;
    if (!path.empty() && !fs::exists(path, error) && fs::path(path).is_relative()) {
        services_.gui.runOnUi([&] { path = FolderPart(state_.ProgramFileName) + path; });
    }
    if (!path.empty() && fs::exists(path, error)) services_.process.startFile(path);
    SettleDelay();
}

void Player::MessageStep(const Step& step) {
    state_.paused = 1;
    ShowMessage("PAUSE", step.MessageText);
    state_.paused = 0;
    SettleDelay();
}

void Player::MouseStep(const Step& step) {
    actions_.mouse(step);
    SettleDelay();
}

// A stopped step ends the run at once, without the between-steps delay.
void Player::KeyboardStep(const Step& step) {
    const StopRequested stopped = StopCheckForStep();
    actions_.keyboard(step, stopped);
    if (!stopped()) SettleDelay();
}

// A failed telegram pauses the run and says why; Play goes on with the next step.
void Player::ComportStep(const Step& step) {
    const StopRequested stopped = StopCheckForStep();
    const ComportResult result = actions_.comport(step, stopped);
    if (result.outcome == ComportOutcome::Initialised || result.outcome == ComportOutcome::Sent) {
        if (!stopped()) SettleDelay();
        return;
    }
    services_.gui.runOnUi([&] { ui_.setControls(ControlState::Paused); });
    state_.paused = 1;
    ShowMessage("COM port", result.message);
    if (result.outcome != ComportOutcome::NotInitialised) SettleDelay();
}

void Player::UnknownStep(const Step& step) {
    ShowMessage("Error", "ThreadPLAY(): Unknown recordtype: " + std::to_string(step.RECORDtype));
}

}  // namespace zs
