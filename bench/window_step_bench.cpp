// The Window and Wait steps played by the real player with the real X11 desktop service, in an X
// server of its own (best under openbox):
//   scripts/with-xvfb.sh -w build/tests/x11/zs_window_step_bench [RUNS]
// Prints the medians of: a matching window being mapped to a running Window "Activate" step
// having it active and the origin set, and a pixel turning to the wanted colour to a running
// Wait step seeing it. A step is done when the State step after it shows its text; the
// between-steps delay is 0, so the figures are the steps' own reaction times, polling included.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Forms/FormMAIN.h"
#include "editor/editor_hooks.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/quiet_services.h"
#include "platform/headless/recording_process.h"
#include "platform/x11/x11_desktop.h"
#include "shell/program.h"

// After the program's headers: Xlib's macros (None, Status) would clash with their names.
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zs {
namespace {

using SteadyClock = std::chrono::steady_clock;

double Ms(SteadyClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A random point of a step's 100 ms test interval.
std::chrono::milliseconds WithinATick() { return std::chrono::milliseconds(std::rand() % 100); }

struct Bench {
    Bench() {
        program.StartUp(false);
        program.shell().Dispatch({gui::EventKind::Menu, form::kFormMAIN, form::kMenuNew, 0, 0});
        program.state().actionSettleDelayMs = 0;
    }

    // Starts a run of the step and a State step after it, and returns once the step has tested
    // its condition: its countdown shows.
    bool start(const Step& step) {
        AppState& state = program.state();
        state.list.clear();
        state.list.add() = step;
        Step reached;
        reached.RECORDtype = 7;
        reached.StateText = kReached;
        state.list.add() = reached;
        state.list.first();
        GetValues(editor.panel);  // Play stores the shown step first
        gui.setText(form::kTextStepInfo, "");
        runsBefore = program.player()->runsEnded();
        gui.setText(form::kTextCountdown, "");
        program.shell().Dispatch({gui::EventKind::Menu, form::kFormMAIN, form::kMenuPlay, 0, 0});
        for (int tries = 0; tries < 2000; ++tries) {
            if (!gui.text(form::kTextCountdown).empty()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // Waits for the step to be done (the State step after it shows its text), then for the
    // run's end; returns the time the step was seen done.
    std::optional<SteadyClock::time_point> done() {
        std::optional<SteadyClock::time_point> at;
        for (int tries = 0; tries < 200000 && !at; ++tries) {
            if (gui.text(form::kTextStepInfo) == kReached) at = SteadyClock::now();
            else std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        if (!program.player()->waitForRunsEnded(runsBefore + 1, std::chrono::seconds(20)))
            return std::nullopt;
        return at;
    }

    static constexpr const char* kReached = "step done";

    gui::HeadlessGui gui;
    QuietInput input;
    NoSerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    x11::X11Desktop desktop;
    Services services{gui, input, desktop, serial, process, system, RealClock()};
    Program program{services};
    ProgramEditor editor{program.shell(), services, program.state()};
    long runsBefore = 0;
};

Step WindowActivate(const std::string& title) {
    Step step;
    step.RECORDtype = 10;
    step.WindowAction = "Activate";
    step.WindowTitle = title;
    step.TimeoutSeconds = 10.0f;
    return step;
}

Step WaitForColour(Point at, const char* colour) {
    Step step;
    step.RECORDtype = 11;
    step.WaitCondition = "Color";
    step.MouseX = at.x;
    step.MouseY = at.y;
    step.PixelColor = colour;
    step.TimeoutSeconds = 10.0f;
    return step;
}

// The windows live in a child process: the player never looks for the program's own windows.
// The child makes each change on a one-letter command and answers once the server has it.
class WindowMaker {
public:
    WindowMaker() {
        int toChild[2], toParent[2];
        if (pipe(toChild) != 0 || pipe(toParent) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(toChild[1]);
            close(toParent[0]);
            _exit(Serve(toChild[0], toParent[1]));
        }
        close(toChild[0]);
        close(toParent[1]);
        commands_ = toChild[1];
        answers_ = toParent[0];
    }
    ~WindowMaker() {
        if (pid_ <= 0) return;
        ask('q');
        waitpid(pid_, nullptr, 0);
    }

    // m: map a window titled "appearing" (then d destroys it); l: show the red lamp at 100, 100;
    // g and r: turn it green and red.
    bool ask(char command) {
        char answer = 0;
        return write(commands_, &command, 1) == 1 && read(answers_, &answer, 1) == 1 &&
               answer == command;
    }

private:
    static int Serve(int commands, int answers) {
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr) return 1;
        const Window root = DefaultRootWindow(display);
        Window window = 0, lamp = 0;
        char command = 0;
        while (read(commands, &command, 1) == 1 && command != 'q') {
            if (command == 'm') {
                window = XCreateSimpleWindow(display, root, 300, 300, 160, 120, 0, 0, 0xFFFFFF);
                XStoreName(display, window, "appearing");
                XMapWindow(display, window);
            } else if (command == 'd') {
                XDestroyWindow(display, window);
            } else if (command == 'l') {
                XSetWindowAttributes attributes{};
                attributes.override_redirect = True;  // exactly at 100, 100
                attributes.background_pixel = 0xCC0000;
                lamp = XCreateWindow(display, root, 100, 100, 80, 80, 0, CopyFromParent,
                                     InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel,
                                     &attributes);
                XMapRaised(display, lamp);
            } else if (command == 'g' || command == 'r') {
                XSetWindowBackground(display, lamp, command == 'g' ? 0x00AA00 : 0xCC0000);
                XClearWindow(display, lamp);
            }
            XSync(display, False);
            if (write(answers, &command, 1) != 1) break;
        }
        XCloseDisplay(display);
        if (write(answers, &command, 1) != 1) return 1;
        return 0;
    }

    pid_t pid_ = -1;
    int commands_ = -1, answers_ = -1;
};

}  // namespace
}  // namespace zs

int main(int argc, char** argv) {
    using namespace zs;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    WindowMaker maker;  // forked before the player's threads start
    Bench bench;
    std::vector<double> activations, colours;
    // Each change comes while the step waits, at a random point of its 100 ms test interval.
    const auto measure = [&](const Step& step, char change, std::vector<double>& into) {
        if (!bench.start(step)) std::fprintf(stderr, "the step did not begin\n");
        std::this_thread::sleep_for(WithinATick());
        const auto changed = SteadyClock::now();
        if (!maker.ask(change)) std::fprintf(stderr, "the window maker did not answer\n");
        const auto done = bench.done();
        if (!done) std::fprintf(stderr, "the step did not end\n");
        into.push_back(Ms(done.value_or(changed) - changed));
    };
    for (int i = 0; i < runs; ++i) {
        measure(WindowActivate("appearing"), 'm', activations);
        maker.ask('d');
    }
    maker.ask('l');
    for (int i = 0; i < runs; ++i) {
        measure(WaitForColour({140, 140}, "#00AA00"), 'g', colours);
        maker.ask('r');
    }
    std::printf("window mapped to Activate step done: median %.1f ms, worst %.1f ms (%d runs)\n",
                Median(activations), *std::max_element(activations.begin(), activations.end()),
                runs);
    std::printf("pixel turned to Wait step done: median %.1f ms, worst %.1f ms (%d runs)\n",
                Median(colours), *std::max_element(colours.begin(), colours.end()), runs);
    return 0;
}
