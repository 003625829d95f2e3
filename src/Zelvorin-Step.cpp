// Zelvorin-Step for Linux: the FLTK gadget layer, XTest input, POSIX serial ports, process start
// and system facts, and the steady clock, handed to the program.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "editor/editor_hooks.h"
#include "platform/clock.h"
#include "platform/fltk/fltk_gui.h"
#include "platform/posix/posix_process.h"
#include "platform/posix/posix_serial.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/x11/x11_input.h"
#include "shell/program.h"

int main() {
    zs::SystemInfo& system = zs::NativeSystemInfo();
    zs::gui::FltkGui gui(system.screenPixelsPerInch());
    zs::Status status;
    std::unique_ptr<zs::x11::X11Input> input = zs::x11::X11Input::Open(nullptr, status);
    if (!input) {
        std::fprintf(stderr, "Zelvorin-Step: %s: %s\n", status.call.c_str(),
                     status.message.c_str());
        return 1;
    }
    zs::PosixSerialPorts serial;
    zs::PosixProcessStarter process;
    zs::Services services{gui, *input, serial, process, system, zs::RealClock()};

    zs::Program program(services);
    zs::ProgramEditor editor(program.shell(), services, program.state());
    program.StartUp();
    const int code = program.Run();
    // The player and cursor threads end with the process, as a closed window promises: joining
    // them here could wait on a call they passed to this very thread.
    std::fflush(nullptr);
    std::_Exit(code);
}
