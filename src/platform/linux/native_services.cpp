// The Linux services: the FLTK gadget layer, the input backend the session offers, POSIX serial
// ports, process start and system facts, and the steady clock.
#include <cstdio>

#include "platform/clock.h"
#include "platform/fltk/fltk_gui.h"
#include "platform/linux/input_backends.h"
#include "platform/native_services.h"
#include "platform/posix/exit_signals.h"
#include "platform/posix/posix_process.h"
#include "platform/posix/posix_serial.h"
#include "platform/posix/posix_system.h"
#include "platform/system.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_screen.h"

namespace zs {
namespace {

class LinuxServices final : public NativeServices {
public:
    explicit LinuxServices(std::unique_ptr<InputSession> input)
        : input_(std::move(input)),
          services_{gui_,     input_->input(),    desktop_, serial_,
                    process_, NativeSystemInfo(), RealClock()} {}
    Services& services() override { return services_; }
    InputRecorder* recorder() override { return input_->recorder(); }
    std::string inputReachNotice() override { return input_->reachNotice; }

    // Ends the program the way its close box does when a signal comes or the input backend's
    // connection is lost. After the window's connection is open: FLTK sets a handler of its own.
    Status endOnSignalsAndLostConnections() {
        if (Status lost = input_->endOnLostConnection(); !lost) return lost;
        return posix::EndProcessOnSignals();
    }

private:
    gui::FltkGui gui_{NativeSystemInfo().screenPixelsPerInch()};
    std::unique_ptr<InputSession> input_;
    x11::X11Desktop desktop_;  // on Wayland: the XWayland windows
    PosixSerialPorts serial_;
    PosixProcessStarter process_;
    Services services_;
};

}  // namespace

SystemInfo& NativeSystemInfo() {
    static PosixSystemInfo info([] { return x11::ScreenPixelsPerInch(nullptr); });
    return info;
}

std::unique_ptr<NativeServices> OpenNativeServices(Status& status) {
    std::unique_ptr<InputSession> input = OpenInputSession(status);
    if (!input) return nullptr;
    auto services = std::make_unique<LinuxServices>(std::move(input));
    status = services->endOnSignalsAndLostConnections();
    if (!status) return nullptr;
    return services;
}

void ReportStartFailure(const Status& status) {
    std::fprintf(stderr, "Zelvorin-Step: %s: %s\n", status.call.c_str(), status.message.c_str());
}

}  // namespace zs
