// Zelvorin-Step: the platform's services handed to the program, start-up, then the event loop.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "editor/editor_hooks.h"
#include "platform/exit_action.h"
#include "platform/native_services.h"
#include "shell/program.h"
#ifdef ZS_WAYLAND_INPUT
#include "platform/wayland/input_named_in_environment.h"
#endif

int main() {
    zs::Status status;
    std::unique_ptr<zs::NativeServices> native = zs::OpenNativeServices(status);
    if (!native) {
        zs::ReportStartFailure(status);
        return 1;
    }
#ifdef ZS_WAYLAND_INPUT
    // Temporary: ZS_INPUT_BACKEND names a Wayland input backend to use in place of XTest.
    const std::unique_ptr<zs::Input> namedInput = zs::OpenInputNamedInEnvironment(status);
    if (!status) {
        zs::ReportStartFailure(status);
        return 1;
    }
    const zs::Services& base = native->services();
    zs::Services services = namedInput ? zs::Services{base.gui, *namedInput, base.serial,
                                                      base.process, base.system, base.clock}
                                       : base;
#else
    zs::Services& services = native->services();
#endif
    // However the program ends, no key or button it pressed stays down.
    zs::SetExitAction([&services] { services.input.releaseForExit(); });
    zs::Program program(services);
    program.AttachRecorder(native->recorder());
    zs::ProgramEditor editor(program.shell(), services, program.state());
    program.StartUp();
    const int code = program.Run();
    // The player and cursor threads end with the process, as a closed window promises: joining
    // them here could wait on a call they passed to this very thread.
    zs::RunExitAction();
    std::fflush(nullptr);
    std::_Exit(code);
}
