// The Windows services: the raw Win32 gadget layer, input, COM ports, process start, system
// facts, and the clock that holds the 1 ms timer resolution for the life of the program.
#include <windows.h>

#include <commctrl.h>

#include "platform/exit_action.h"
#include "platform/native_services.h"
#include "platform/system.h"
#include "platform/win32/win32_services.h"

namespace zs {
namespace {

class Win32Services final : public NativeServices {
public:
    Services& services() override { return services_; }
    InputRecorder* recorder() override { return recorder_.get(); }

private:
    Win32Clock clock_;  // first made, last gone: every wait of every run is at 1 ms resolution
    std::unique_ptr<gui::Gui> gui_ = MakeWin32Gui();
    Win32Input input_;
    Win32Desktop desktop_;
    Win32SerialPorts serial_;
    Win32ProcessStarter process_;
    Services services_{*gui_, input_, desktop_, serial_, process_, NativeSystemInfo(), clock_};
    std::unique_ptr<InputRecorder> recorder_ = MakeWin32Recorder();
};

// Ctrl+C, Ctrl+Break, the console closing, log-off and shut-down (the handler runs on a thread
// of its own): release what the input holds, then end as the close box does.
BOOL WINAPI EndOnConsoleEvent(DWORD) {
    RunExitAction();
    ExitProcess(1);
}

}  // namespace

std::unique_ptr<NativeServices> OpenNativeServices(Status&) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    auto services = std::make_unique<Win32Services>();
    SetConsoleCtrlHandler(EndOnConsoleEvent, TRUE);
    return services;
}

void ReportStartFailure(const Status& status) {
    const std::string text = status.call + ": " + status.message;
    MessageBoxA(nullptr, text.c_str(), "Zelvorin-Step", MB_OK | MB_ICONERROR);
}

}  // namespace zs
