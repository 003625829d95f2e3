// Load, save and check of a 100,000-step program holding every step type.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/code_lines.h"
#include "model/step_file.h"

namespace {

constexpr long kStepCount = 100000;
const std::string kUserDate = "bench  -  07.12.2026 08:47";

// A valid step of type 1 + index % 9, so the check has to read every line to its end.
zs::Step MakeStep(long index) {
    zs::Step step;
    step.RECORDtype = static_cast<int>(1 + index % 9);
    step.Description = "step " + std::to_string(index);
    switch (step.RECORDtype) {
    case 1: step.ClickType = "L_Click"; step.MouseX = 640; step.MouseY = 480; break;
    case 2: step.KeyboardType = "String"; step.TypedText = "Hello, world"; break;
    case 3: step.DelaySeconds = 0.5f; break;
    case 4: step.LoopFromStep = 1; step.LoopRepetitions = 3; break;
    case 5: step.ComPort = "COM1"; step.ComType = "String"; step.Telegram = "PING"; break;
    case 6: step.JumpToStep = 2; break;
    case 7: step.StateText = "working"; break;
    case 8: step.ExecuteFile = "C:\\Tools\\report.bat"; break;
    default: step.MessageText = "Finished"; break;
    }
    return step;
}

const zs::RList& BigProgram() {
    static const zs::RList list = [] {
        zs::RList made;
        for (long i = 0; i < kStepCount; ++i) made.add() = MakeStep(i);
        return made;
    }();
    return list;
}

std::string BenchFile(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// Loads into the one list the program keeps, as Open does; the list's storage is reused.
void BM_LoadStepFile(benchmark::State& state) {
    const std::string path = BenchFile("zs_bench_load.stp");
    zs::WriteFileReplacing(path, zs::WriteStepFileText(BigProgram(), kUserDate, "info").text);
    zs::RList list;
    std::string info;
    for (auto _ : state) {
        const zs::LoadResult result = zs::LoadStepFile(path, list, info);
        if (list.size() != kStepCount) state.SkipWithError("wrong step count");
        benchmark::DoNotOptimize(result);
    }
    std::filesystem::remove(path);
}

// The first load after start-up: a fresh list, and its freeing counted too.
void BM_LoadStepFileIntoNewList(benchmark::State& state) {
    const std::string path = BenchFile("zs_bench_load_new.stp");
    zs::WriteFileReplacing(path, zs::WriteStepFileText(BigProgram(), kUserDate, "info").text);
    for (auto _ : state) {
        zs::RList list;
        std::string info;
        const zs::LoadResult result = zs::LoadStepFile(path, list, info);
        if (list.size() != kStepCount) state.SkipWithError("wrong step count");
        benchmark::DoNotOptimize(result);
    }
    std::filesystem::remove(path);
}

void BM_SaveStepFile(benchmark::State& state) {
    const std::string path = BenchFile("zs_bench_save.stp");
    for (auto _ : state) {
        const zs::StepFileText file = zs::WriteStepFileText(BigProgram(), kUserDate, "info");
        if (!zs::WriteFileReplacing(path, file.text)) state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
}

void BM_CheckCodeLines(benchmark::State& state) {
    std::vector<std::string> lines =
        zs::SplitLines(zs::WriteStepFileText(BigProgram(), kUserDate, "info").text);
    for (auto _ : state) {
        const zs::CodeLineCheck check = zs::CheckCodeLines(lines, kUserDate);
        if (!check.ok) state.SkipWithError(check.message.c_str());
    }
}

BENCHMARK(BM_LoadStepFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStepFileIntoNewList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveStepFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckCodeLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
