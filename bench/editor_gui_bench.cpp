// Open, append, insert, delete and the pick-list refill of big programs through the shell and
// the real gadget layer (FLTK in an X server, Win32 under Wine), at 1,000 to 1,000,000 steps.
// Prints the median time of each and the ratio of the cost per step at 100,000 to that at 1,000.
//   scripts/with-xvfb.sh -w build/bench/zs_editor_gui_bench [max steps]
//   scripts/with-xvfb.sh -w wine out/win/bench/zs_editor_gui_bench.exe [max steps]
//     (with WINEPREFIX, WINEDEBUG=-all and WINEDLLOVERRIDES="mscoree,mshtml=" set)
// Run it under a window manager (-w), as a desktop has one: without one, Wine's X11 driver waits
// 2 s for the window manager at every close of a shown window (pick list, editor).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "editor/navigation.h"
#include "bench_gui.h"
#include "model/app_state.h"
#include "model/step_file.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/headless/in_memory_serial.h"
#include "platform/headless/recording_input.h"
#include "platform/headless/recording_process.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "editor/editor_hooks.h"
#include "shell/program.h"

namespace zs::bench {
namespace {

using Timer = std::chrono::steady_clock;
using namespace zs::form;


class BenchSystemInfo final : public SystemInfo {
public:
    std::string userName() override { return "bench"; }
    LocalTime localTime() override { return {2026, 12, 8, 12, 0, 0}; }
    std::string ownExecutablePath() override {
        return (std::filesystem::temp_directory_path() / "zs_editor_bench" / "Zelvorin-Step").string();
    }
    int screenPixelsPerInch() override { return 96; }
};

// A program of count steps of every type, as File > Open reads it.
std::string WriteProgram(long count) {
    RList list;
    for (long i = 0; i < count; ++i) {
        Step& step = list.add();
        step.RECORDtype = static_cast<int>(1 + i % 9);
        step.Description = "step " + std::to_string(i);
        switch (step.RECORDtype) {
        case 1: step.ClickType = "L_Click"; step.MouseX = 640; step.MouseY = 480; break;
        case 2: step.KeyboardType = "String"; step.TypedText = "Hello"; break;
        case 3: step.DelaySeconds = 0.5f; break;
        case 4: step.LoopFromStep = 1; step.LoopRepetitions = 3; break;
        case 5: step.ComPort = "COM1"; step.ComType = "String"; step.Telegram = "PING"; break;
        case 6: step.JumpToStep = 2; break;
        case 7: step.StateText = "working"; break;
        case 8: step.ExecuteFile = "/bin/true"; break;
        default: step.MessageText = "Finished"; break;
        }
    }
    const auto path = std::filesystem::temp_directory_path() / ("zs_bench_" + std::to_string(count) + ".stp");
    WriteFileReplacing(path.string(), WriteStepFileText(list, "bench  -  08.12.2026 12:00", "info").text);
    return path.string();
}

double MedianMs(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

struct Bench {
    BenchGui& gui;
    Shell& shell;
    AppState& state;

    // One run of action, until the window has drawn what it changed; milliseconds.
    double time(const std::function<void()>& action) {
        const auto start = Timer::now();
        action();
        gui.settle();
        return std::chrono::duration<double, std::milli>(Timer::now() - start).count();
    }

    double repeat(int times, const std::function<void()>& action) {
        std::vector<double> runs;
        for (int i = 0; i < times; ++i) runs.push_back(time(action));
        return MedianMs(runs);
    }

    void expectSteps(long count, const char* after) {
        if (state.list.size() != count)
            std::fprintf(stderr, "%ld steps after %s, not %ld\n", state.list.size(), after, count);
    }

    void click(int button) { shell.Dispatch({gui::EventKind::Gadget, kFormMAIN, button, 0, 0}); }

    std::map<std::string, double> measure(long count, const std::string& path) {
        std::map<std::string, double> ms;
        ms["open"] = repeat(3, [&] {
            gui.nextFile = path;
            shell.FileOpen();
        });
        if (state.list.size() != count) std::fprintf(stderr, "opened %ld steps, not %ld\n", state.list.size(), count);
        ms["append"] = repeat(21, [&] { click(kButtonAppendStep); });
        expectSteps(count + 21, "append");
        state.list.select(count / 2);
        shell.ShowStep(count / 2);
        ms["insert"] = repeat(21, [&] { click(kButtonInsertStep); });
        expectSteps(count + 42, "insert");
        ms["delete"] = repeat(21, [&] { click(kButtonDeleteStep); });
        expectSteps(count + 21, "delete");
        ms["refill"] = repeat(3, [&] {
            click(kButtonStepList);
            if (gui.itemCount(kPickList) != state.list.size()) std::fprintf(stderr, "no pick list\n");
            gui.select(kPickList, 0);
            shell.Dispatch({gui::EventKind::Gadget, kPickListWindow, kPickList, 1, 0});
        });
        ms["editor"] = repeat(3, [&] {  // FormEditor: open, Save (and the reload), close
            shell.Dispatch({gui::EventKind::Menu, kFormMAIN, kMenuEditor, 0, 0});
            shell.Dispatch({gui::EventKind::Gadget, kFormEditor, kEditorSave, 0, 0});
            shell.Dispatch({gui::EventKind::WindowClose, kFormEditor, 0, 0, 0});
        });
        expectSteps(count, "the editor's save");
        return ms;
    }
};

int Main(long maxSteps) {
    std::filesystem::create_directories(std::filesystem::temp_directory_path() / "zs_editor_bench");
    std::unique_ptr<BenchGui> gui = OpenBenchGui();
    if (!gui) {
        std::fprintf(stderr, "no display for the gadget layer\n");
        return 1;
    }
    zs::Clock& clock = RealClock();
    RecordingInput input{&clock};
    InMemorySerialPorts serial;
    RecordingProcessStarter process;
    BenchSystemInfo system;
    ScriptedDesktop desktop;
    Services services{*gui, input, desktop, serial, process, system, clock};
    Program program{services};
    ProgramEditor editor{program.shell(), services, program.state()};
    program.StartUp(false);
    gui->settle();
    Bench bench{*gui, program.shell(), program.state()};

    const char* ops[] = {"open", "append", "insert", "delete", "refill", "editor"};
    const bool perStep[] = {true, false, false, false, true, true};  // cost of the whole list
    std::map<long, std::map<std::string, double>> results;
    std::printf("%-9s %10s %10s %10s %10s %10s %10s   (median ms on %s)\n", "steps", "open",
                "append", "insert", "delete", "refill", "editor", gui->name());
    for (long count : {1000L, 10000L, 100000L, 1000000L}) {
        if (count > maxSteps) break;
        const std::string path = WriteProgram(count);
        results[count] = bench.measure(count, path);
        std::filesystem::remove(path);
        std::printf("%-9ld", count);
        for (const char* op : ops) std::printf(" %10.3f", results[count][op]);
        std::printf("\n");
        std::fflush(stdout);
    }
    if (results.count(1000) && results.count(100000)) {
        std::printf("%-9s", "100k/1k");
        for (int i = 0; i < 6; ++i) {
            const double small = results[1000][ops[i]] / (perStep[i] ? 1000.0 : 1.0);
            const double big = results[100000][ops[i]] / (perStep[i] ? 100000.0 : 1.0);
            std::printf(" %10.2f", big / std::max(small, 1e-6));
        }
        std::printf("   (cost per step; open, refill and editor per step of the list)\n");
    }
    return 0;
}

}  // namespace
}  // namespace zs::bench

int main(int argc, char** argv) {
    return zs::bench::Main(argc > 1 ? std::atol(argv[1]) : 1000000L);
}
