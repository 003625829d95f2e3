// Time per step of playing a program of Delay 0 steps through the whole program (shell, editor
// panel, player thread) on the in-memory gadget layer with the real clock and no settle delay.
// Each shown step goes through GetValues; its cost must not grow with the number of steps.
//   build/bench/play_bench --benchmark_filter=Play
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "Forms/FormMAIN.h"
#include "editor/editor_hooks.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/quiet_services.h"
#include "platform/headless/recording_process.h"
#include "shell/program.h"

namespace zs {
namespace {

struct Bench {
    explicit Bench(long steps) {
        program.StartUp(false);
        program.shell().Dispatch({gui::EventKind::Menu, form::kFormMAIN, form::kMenuNew, 0, 0});
        AppState& state = program.state();
        state.actionSettleDelayMs = 0;
        state.list.clear();
        for (long i = 0; i < steps; ++i) state.list.add() = NewDelayStep();
        for (long i = 0; i < steps; ++i) state.list.at(i).DelaySeconds = 0.0f;
        state.list.first();
        GetValues(editor.panel);
    }

    // One run from the first step to the end.
    bool playOnce() {
        const long before = program.player()->runsEnded();
        program.shell().Dispatch({gui::EventKind::Menu, form::kFormMAIN, form::kMenuPlay, 0, 0});
        return program.player()->waitForRunsEnded(before + 1, std::chrono::minutes(10));
    }

    gui::HeadlessGui gui;
    QuietInput input;
    NoSerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    ScriptedDesktop desktop;
    Services services{gui, input, desktop, serial, process, system, RealClock()};
    Program program{services};
    ProgramEditor editor{program.shell(), services, program.state()};
};

void BM_PlayDelaySteps(benchmark::State& state) {
    const long steps = state.range(0);
    Bench bench(steps);
    for (auto _ : state) {
        if (!bench.playOnce()) state.SkipWithError("the run did not end");
    }
    // Seconds per step, shown as a rate counter inverted.
    state.counters["per_step"] = benchmark::Counter(
        static_cast<double>(steps), benchmark::Counter::kIsIterationInvariantRate |
                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlayDelaySteps)
    ->Arg(100)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What showing one step costs when the step-number lists are rebuilt every time, for comparison.
void BM_GetValuesRefillingLists(benchmark::State& state) {
    Bench bench(state.range(0));
    for (auto _ : state) {
        bench.editor.panel.filledStepCount = -1;
        GetValues(bench.editor.panel);
    }
}
BENCHMARK(BM_GetValuesRefillingLists)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_GetValues(benchmark::State& state) {
    Bench bench(state.range(0));
    for (auto _ : state) GetValues(bench.editor.panel);
}
BENCHMARK(BM_GetValues)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zs

BENCHMARK_MAIN();
