#include "support/player_harness.h"

namespace zs::test {

Step StateStep(const std::string& text) {
    Step step = TypedStep(7);
    step.StateText = text;
    return step;
}

Step DelayStep(float seconds) {
    Step step = TypedStep(3);
    step.DelaySeconds = seconds;
    return step;
}

Step LoopStep(int fromStep, int repetitions) {
    Step step = TypedStep(4);
    step.LoopFromStep = fromStep;
    step.LoopRepetitions = repetitions;
    return step;
}

Step JumpStep(int toStep) {
    Step step = TypedStep(6);
    step.JumpToStep = toStep;
    return step;
}

Step ExecuteStep(const std::string& path) {
    Step step = TypedStep(8);
    step.ExecuteFile = path;
    return step;
}

Step MessageStep(const std::string& text) {
    Step step = TypedStep(9);
    step.MessageText = text;
    return step;
}

Step TypedStep(int recordType) {
    Step step;
    step.RECORDtype = recordType;
    return step;
}

void RecordingPlayerUi::showStep(long index) {
    {
        std::lock_guard lock(mutex_);
        shown_.push_back(index);
    }
    GadgetPlayerUi::showStep(index);
}

std::vector<long> RecordingPlayerUi::shown() {
    std::lock_guard lock(mutex_);
    return shown_;
}

void RecordingStepActions::mouse(const Step& step) {
    std::lock_guard lock(mutex_);
    types_.push_back(step.RECORDtype);
}

void RecordingStepActions::keyboard(const Step& step, const StopRequested&) {
    std::lock_guard lock(mutex_);
    types_.push_back(step.RECORDtype);
}

std::unique_ptr<QueryExchange> RecordingStepActions::query(const Step& step,
                                                           const StopRequested&,
                                                           ComportResult& failure) {
    {
        std::lock_guard lock(mutex_);
        types_.push_back(step.RECORDtype);
    }
    failure = {ComportOutcome::OpenFailed, "Can't open port!"};
    return nullptr;
}

ComportResult RecordingStepActions::comport(const Step& step, const StopRequested&) {
    std::lock_guard lock(mutex_);
    types_.push_back(step.RECORDtype);
    if (comport_.empty()) return {};
    ComportResult result = comport_.front();
    comport_.pop_front();
    return result;
}

void RecordingStepActions::queueComportResult(ComportResult result) {
    std::lock_guard lock(mutex_);
    comport_.push_back(std::move(result));
}

std::vector<int> RecordingStepActions::types() {
    std::lock_guard lock(mutex_);
    return types_;
}

PlayerHarness::PlayerHarness()
    : commands(state, gui, ui, player), player(state, services, ui, actions) {
    gui.openWindow(form::kFormMAIN, {0, 0, 252, 344}, "Zelvorin-Step", 0, 0);
    gui.setTopmost(form::kFormMAIN, true);
}

PlayerHarness::~PlayerHarness() {
    // A run left paused or cycling must not outlive the test's objects.
    state.playing = 0;
}

void PlayerHarness::setProgram(const std::vector<Step>& steps, long current) {
    onUi([&] {
        state.list.clear();
        for (const Step& step : steps) state.list.add() = step;
        state.list.select(current);
    });
}

void PlayerHarness::onUi(const std::function<void()>& fn) { gui.runOnUi(fn); }

void PlayerHarness::atMs(long long ms, std::function<void(PlaybackCommands&)> command) {
    clock.at(ms, [this, command = std::move(command)] { onUi([&] { command(commands); }); });
}

bool PlayerHarness::waitForRunEnd() {
    return player.waitForRunsEnded(runsBefore_ + 1, std::chrono::seconds(10));
}

bool PlayerHarness::playToEnd() {
    runsBefore_ = player.runsEnded();
    onUi([&] { commands.Play(); });
    return waitForRunEnd();
}

bool PlayerHarness::playFromCurrentToEnd() {
    runsBefore_ = player.runsEnded();
    onUi([&] { commands.PlayFromCurrentStep(); });
    return waitForRunEnd();
}

std::vector<std::string> PlayerHarness::texts(int gadget) { return gui.textValues(gadget); }

std::vector<long long> PlayerHarness::textTimes(int gadget) {
    std::vector<long long> times;
    for (const auto& change : gui.textHistory(gadget)) times.push_back(change.atMs);
    return times;
}

}  // namespace zs::test
