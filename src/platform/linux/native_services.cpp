// The Linux services: the FLTK gadget layer, XTest input, POSIX serial ports, process start and
// system facts, and the steady clock.
#include <cstdio>

#include "platform/clock.h"
#include "platform/fltk/fltk_gui.h"
#include "platform/native_services.h"
#include "platform/posix/exit_signals.h"
#include "platform/posix/posix_process.h"
#include "platform/posix/posix_serial.h"
#include "platform/system.h"
#include "platform/x11/lost_connection.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_recorder.h"

namespace zs {
namespace {

class LinuxServices final : public NativeServices {
public:
    explicit LinuxServices(std::unique_ptr<x11::X11Input> input)
        : input_(std::move(input)),
          services_{gui_, *input_, serial_, process_, NativeSystemInfo(), RealClock()} {}
    Services& services() override { return services_; }
    InputRecorder* recorder() override { return &recorder_; }

    // Ends the program the way its close box does when a signal comes or a connection to the
    // X server is lost. After the window's connection is open: FLTK sets a handler of its own.
    Status endOnSignalsAndLostConnections() {
        Display* const inputDisplays[] = {input_->display(), input_->escapeDisplay()};
        x11::EndProcessOnLostConnection(inputDisplays, 2);
        return posix::EndProcessOnSignals();
    }

private:
    gui::FltkGui gui_{NativeSystemInfo().screenPixelsPerInch()};
    std::unique_ptr<x11::X11Input> input_;
    PosixSerialPorts serial_;
    PosixProcessStarter process_;
    Services services_;
    x11::X11Recorder recorder_{nullptr};
};

}  // namespace

std::unique_ptr<NativeServices> OpenNativeServices(Status& status) {
    std::unique_ptr<x11::X11Input> input = x11::X11Input::Open(nullptr, status);
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
