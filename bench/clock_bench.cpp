// How closely the player keeps its nominal pace on the real clock: a 10 s Delay step and 100 State
// steps of 200 ms each, played on the in-memory gadget layer. Prints the drift of each run.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/recording_process.h"
#include "player/commands.h"
#include "player/player.h"

namespace zs {
namespace {

class QuietInput final : public Input {
public:
    void movePointer(int, int) override {}
    void mouseButton(MouseButton, bool) override {}
    void key(int, bool) override {}
    bool textIsUtf8() const override { return true; }
    KeyScan scanChar(char32_t) override { return {}; }
    void typeUnlisted(char32_t) override {}
    bool escapePressed() override { return false; }
    Point pointerPosition() override { return {}; }
};

class NoSerial final : public SerialPorts {
public:
    Status open(const std::string&, const SerialSettings&, std::unique_ptr<SerialPort>&) override {
        return Status::failure("open", "none");
    }
};

class NoSystem final : public SystemInfo {
public:
    std::string userName() override { return ""; }
    LocalTime localTime() override { return {}; }
    std::string ownExecutablePath() override { return ""; }
    int screenPixelsPerInch() override { return 96; }
};

class NoActions final : public StepActions {
public:
    void mouse(const Step&) override {}
    void keyboard(const Step&) override {}
    ComportResult comport(const Step&) override { return {}; }
};

struct Bench {
    gui::HeadlessGui gui;
    QuietInput input;
    NoSerial serial;
    RecordingProcessStarter process;
    NoSystem system;
    Services services{gui, input, serial, process, system, RealClock()};
    AppState state;
    GadgetPlayerUi ui{gui};
    NoActions actions;
    Player player{state, services, ui, actions};
    PlaybackCommands commands{state, gui, ui, [this] { player.wake(); }};

    // Plays steps from the first and returns the run's length in milliseconds.
    double play(const std::vector<Step>& steps) {
        gui.runOnUi([&] {
            state.list.clear();
            for (const Step& step : steps) state.list.add() = step;
        });
        const long before = player.runsEnded();
        const auto start = RealClock().now();
        gui.runOnUi([&] { commands.Play(); });
        player.waitForRunsEnded(before + 1, std::chrono::minutes(2));
        return std::chrono::duration<double, std::milli>(RealClock().now() - start).count();
    }
};

void Report(const char* name, double nominalMs, double actualMs) {
    std::printf("%-28s nominal %8.1f ms  actual %10.3f ms  drift %+7.3f ms\n", name, nominalMs,
                actualMs, actualMs - nominalMs);
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
