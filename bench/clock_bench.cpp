// How closely the player keeps its nominal pace on the real clock: a 10 s Delay step and 100 State
// steps of 200 ms each, played on the in-memory gadget layer. Prints the drift of each run.
#include <algorithm>
#include <chrono>
#include <mutex>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/quiet_services.h"
#include "platform/headless/recording_process.h"
#include "player/commands.h"
#include "player/player.h"

namespace zs {
namespace {

class NoActions final : public StepActions {
public:
    void mouse(const Step&) override {}
    void keyboard(const Step&, const StopRequested&) override {}
    ComportResult comport(const Step&, const StopRequested&) override { return {}; }
    std::unique_ptr<QueryExchange> query(const Step&, const StopRequested&,
                                         ComportResult&) override {
        return nullptr;
    }
};

// The real clock, noting when the player first read it in a run (the start of its schedule),
// when each wait returned and how late it was.
class MeasuringClock final : public Clock {
public:
    time_point now() override {
        const time_point t = RealClock().now();
        std::lock_guard lock(mutex_);
        if (firstRead_ == time_point{}) firstRead_ = t;
        return t;
    }
    void waitUntil(time_point deadline) override {
        RealClock().waitUntil(deadline);
        const time_point woke = now();
        std::lock_guard lock(mutex_);
        lastWake_ = woke;
        maxLate_ = std::max(maxLate_, woke - deadline);
    }
    void reset() {
        std::lock_guard lock(mutex_);
        maxLate_ = {};
        firstRead_ = {};
    }
    time_point firstRead() {
        std::lock_guard lock(mutex_);
        return firstRead_;
    }
    time_point lastWake() {
        std::lock_guard lock(mutex_);
        return lastWake_;
    }
    duration maxLate() {
        std::lock_guard lock(mutex_);
        return maxLate_;
    }

private:
    std::mutex mutex_;
    time_point firstRead_{};
    time_point lastWake_{};
    duration maxLate_{};
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct RunTimes {
    double startMs;     // Play command to the player's first reading of the clock
    double scheduleMs;  // that first reading to the return of the run's last wait
    double endToEndMs;  // Play command to the end of the run seen by the caller
    double maxLateMs;   // the latest any single wait returned after its deadline
};

struct Bench {
    gui::HeadlessGui gui;
    QuietInput input;
    NoSerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    MeasuringClock clock;
    ScriptedDesktop desktop;
    Services services{gui, input, desktop, serial, process, system, clock};
    AppState state;
    GadgetPlayerUi ui{gui};
    NoActions actions;
    Player player{state, services, ui, actions};
    PlaybackCommands commands{state, gui, ui, player};

    // Plays steps from the first and returns how long the run took.
    RunTimes play(const std::vector<Step>& steps) {
        gui.runOnUi([&] {
            state.list.clear();
            for (const Step& step : steps) state.list.add() = step;
        });
        const long before = player.runsEnded();
        const auto start = RealClock().now();
        clock.reset();
        gui.runOnUi([&] { commands.Play(); });
        player.waitForRunsEnded(before + 1, std::chrono::minutes(2));
        const auto end = RealClock().now();
        return {Ms(clock.firstRead() - start), Ms(clock.lastWake() - clock.firstRead()),
                Ms(end - start), Ms(clock.maxLate())};
    }
};

// Drift of the player's schedule (from its start to its last wait), the whole run's drift from
// the Play command (which adds the player thread's wake-up at the start), and the worst single
// wake-up: a late wake-up is made up by the next deadline and does not add to the drift.
void Report(const char* name, double nominalMs, const RunTimes& t) {
    std::printf("%-26s nominal %6.0f ms | schedule drift %+7.3f ms | start %6.3f ms"
                " | end to end %+7.3f ms | latest wake-up %6.3f ms\n",
                name, nominalMs, t.scheduleMs - nominalMs, t.startMs, t.endToEndMs - nominalMs,
                t.maxLateMs);
}

}  // namespace
}  // namespace zs

int main() {
    using namespace zs;
    Bench bench;
    Step delay;
    delay.RECORDtype = 3;
    delay.DelaySeconds = 10.0f;
    Report("Delay 10 s", 10000.0, bench.play({delay}));
    Report("Delay 10 s again", 10000.0, bench.play({delay}));

    std::vector<Step> states(100);
    for (std::size_t i = 0; i < states.size(); ++i) {
        states[i].RECORDtype = 7;
        states[i].StateText = "state " + std::to_string(i + 1);
    }
    Report("100 State steps x 200 ms", 20000.0, bench.play(states));
    return 0;
}
