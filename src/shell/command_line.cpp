#include "shell/command_line.h"

namespace zs {

namespace {

bool IsFileName(const std::string& argument) {
    return !argument.empty() && argument.front() != '-';
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    const CommandLine usageError{StartCommand::UsageError, ""};
    switch (arguments.size()) {
        case 0: return {StartCommand::Window, ""};
        case 1:
            if (arguments[0] == "--help") return {StartCommand::Help, ""};
            if (IsFileName(arguments[0])) return {StartCommand::OpenFile, arguments[0]};
            return usageError;
        case 2:
            if (arguments[0] == "--play" && IsFileName(arguments[1]))
                return {StartCommand::PlayFile, arguments[1]};
            return usageError;
        default: return usageError;
    }
}

std::string UsageText(std::string_view programName) {
    const std::string name(programName.empty() ? "Zelvorin-Step" : programName);
    return "Usage: " + name + " [FILE]\n" +
           "       " + name + " --play FILE\n" +
           "       " + name + " --help\n"
           "\n"
           "Builds and plays step programs that click, type and wait on the desktop.\n"
           "\n"
           "  FILE         open the step program FILE (.stp) as File > Open does\n"
           "  --play FILE  open FILE, play it from step 1 and exit when the run ends:\n"
           "               0 after its last step, 1 stopped by the user, 2 FILE cannot be\n"
           "               opened, 3 a step failed (\"Step n: ...\" on standard error)\n"
           "  --help       show this text and exit\n";
}

}  // namespace zs
