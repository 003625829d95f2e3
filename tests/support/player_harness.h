// A player on the headless backends and a virtual clock: a test builds a program, starts a run
// with a command, waits for the run to end (a real-time safety limit fails the test instead of
// hanging) and then reads what the gadgets, the recorded actions and the clock show.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/recording_process.h"
#include "platform/headless/virtual_clock.h"
#include "platform/services.h"
#include "player/commands.h"
#include "player/player.h"
#include "platform/headless/quiet_services.h"

namespace zs::test {

// Step makers for player tests.
Step StateStep(const std::string& text);
Step DelayStep(float seconds);
Step LoopStep(int fromStep, int repetitions);
Step JumpStep(int toStep);
Step ExecuteStep(const std::string& path);
Step MessageStep(const std::string& text);
Step TypedStep(int recordType);  // any type, other fields empty

// PlayerUi that also records the index of every step it shows.
class RecordingPlayerUi final : public GadgetPlayerUi {
public:
    using GadgetPlayerUi::GadgetPlayerUi;
    void showStep(long index) override;
    std::vector<long> shown();

private:
    std::mutex mutex_;
    std::vector<long> shown_;
};

// Step actions that record the step types they were given; Comport answers come from a queue
// (an empty queue answers Sent).
class RecordingStepActions final : public StepActions {
public:
    void mouse(const Step& step) override;
    void keyboard(const Step& step, const StopRequested&) override;
    ComportResult comport(const Step& step, const StopRequested&) override;
    // Queries are played on in-memory ports by the device tests: here no port opens.
    std::unique_ptr<QueryExchange> query(const Step& step, const StopRequested&,
                                         ComportResult& failure) override;
    void queueComportResult(ComportResult result);
    std::vector<int> types();

private:
    std::mutex mutex_;
    std::vector<int> types_;
    std::deque<ComportResult> comport_;
};

class PlayerHarness {
public:
    PlayerHarness();
    ~PlayerHarness();

    void setProgram(const std::vector<Step>& steps, long current = 0);
    // Runs fn as the UI thread would: exclusive with the player's access to the list.
    void onUi(const std::function<void()>& fn);
    // Runs a command on the UI thread when virtual time reaches ms.
    void atMs(long long ms, std::function<void(PlaybackCommands&)> command);
    // Starts a run with Play and waits for it to end; false when it did not end in time.
    bool playToEnd();
    bool playFromCurrentToEnd();
    bool waitForRunEnd();
    // Texts of setText calls on a gadget, and the virtual time of each.
    std::vector<std::string> texts(int gadget);
    std::vector<long long> textTimes(int gadget);

    VirtualClock clock;
    gui::HeadlessGui gui{&clock};
    QuietInput input;
    NoSerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    ScriptedDesktop desktop;
    Services services{gui, input, desktop, serial, process, system, clock};
    AppState state;
    RecordingPlayerUi ui{gui};
    RecordingStepActions actions;
    PlaybackCommands commands;
    Player player;

private:
    long runsBefore_ = 0;
};

}  // namespace zs::test
