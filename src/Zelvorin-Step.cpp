// Zelvorin-Step: the command line, the platform's services handed to the program, start-up, then
// the event loop.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_hooks.h"
#include "model/step_file.h"
#include "platform/exit_action.h"
#include "platform/native_services.h"
#include "platform/program_arguments.h"
#include "shell/command_line.h"
#include "shell/program.h"
#include "shell/unattended_run.h"

namespace {

// --help and usage errors answer on the caller's console, before any window or display is
// needed.
int AnswerCaller(std::FILE* stream, const std::string& text, int exitStatus) {
    zs::ConnectStandardStreamsToCaller();
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
    return exitStatus;
}

// The main window, with FILE opened first when one is given (and played, for --play), until the
// program ends; returns only when it cannot start.
int RunProgram(const zs::CommandLine& commandLine) {
    zs::Status status;
    std::unique_ptr<zs::NativeServices> native = zs::OpenNativeServices(status);
    if (!native) {
        zs::ReportStartFailure(status);
        return 1;
    }
    zs::Services& services = native->services();
    // However the program ends, no key or button it pressed stays down.
    zs::SetExitAction([&services] { services.input.releaseForExit(); });
    zs::Program program(services);
    program.AttachRecorder(native->recorder());
    program.state().inputReachNotice = native->inputReachNotice();
    zs::ProgramEditor editor(program.shell(), services, program.state());
    program.StartUp();
    int code = 0;
    if (commandLine.command == zs::StartCommand::PlayFile) {
        zs::ConnectStandardStreamsToCaller();
        zs::UnattendedRun run(program);
        if (run.Start(commandLine.file)) program.Run();
        code = run.ExitStatus();
    } else {
        if (commandLine.command == zs::StartCommand::OpenFile)
            program.shell().OpenFile(commandLine.file);
        code = program.Run();
    }
    // The player and cursor threads end with the process, as a closed window promises: joining
    // them here could wait on a call they passed to this very thread.
    zs::RunExitAction();
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = zs::ProgramArguments(argc, argv);
    const std::string programName = arguments.empty() ? "" : zs::FilePart(arguments.front());
    const zs::CommandLine commandLine = zs::ParseCommandLine(
        arguments.empty() ? arguments
                          : std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    switch (commandLine.command) {
        case zs::StartCommand::Help: return AnswerCaller(stdout, zs::UsageText(programName), 0);
        case zs::StartCommand::UsageError:
            return AnswerCaller(stderr, zs::UsageText(programName), zs::kExitUsageError);
        case zs::StartCommand::PlayFile:
        case zs::StartCommand::Window:
        case zs::StartCommand::OpenFile: break;
    }
    return RunProgram(commandLine);
}
