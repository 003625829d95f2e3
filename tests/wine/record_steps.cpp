// Records the desktop through the Win32 hooks until Escape and writes the steps as a step file,
// or plays a step file's Mouse, Keyboard and Delay steps as the player does. Used by
// scripts/wine-record-test.sh.
//   zs_record_steps record FILE    |    zs_record_steps play FILE
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "model/step_file.h"
#include "platform/win32/win32_services.h"
#include "player/actions.h"
#include "recorder/step_translator.h"

namespace {

class Collector final : public zs::RecordSink {
public:
    void recorded(const zs::RecordedEvent& event) override { translator.add(event); }
    void escapePressed() override { PostQuitMessage(0); }
    zs::StepTranslator translator{zs::TranslationRules{}};
};

int Record(const char* path) {
    std::unique_ptr<zs::InputRecorder> recorder = zs::MakeWin32Recorder();
    Collector collector;
    const zs::Status status = recorder->start(collector);
    if (!status) {
        std::fprintf(stderr, "%s: %s\n", status.call.c_str(), status.message.c_str());
        return 1;
    }
    std::puts("recording");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    recorder->stop();
    collector.translator.finish();
    zs::RList list;
    for (zs::Step& step : collector.translator.steps()) list.add() = std::move(step);
    std::ofstream(path, std::ios::binary)
        << zs::WriteStepFileText(list, "recorder", "").text;
    return list.empty() ? 1 : 0;
}

int Play(const char* path) {
    zs::RList list;
    std::string information;
    if (zs::LoadStepFile(path, list, information).outcome != zs::LoadOutcome::Loaded) return 1;
    zs::Win32Input input;
    for (const zs::Step& step : list.steps()) {
        if (step.RECORDtype == 1) zs::DoMouseStep(step, input);
        if (step.RECORDtype == 2) zs::DoKeyboardStep(step, input);
        if (step.RECORDtype == 3) Sleep(static_cast<DWORD>(step.DelaySeconds * 1000));
        Sleep(200);  // the player's wait after each action
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string mode = argv[1];
    if (mode == "record") return Record(argv[2]);
    if (mode == "play") return Play(argv[2]);
    return 2;
}
