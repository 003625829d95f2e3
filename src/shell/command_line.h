// The program's command line: what to do at start, and the usage text for the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zs {

enum class StartCommand {
    Window,      // no arguments: the main window with nothing loaded
    OpenFile,    // FILE: the main window, then FILE opened as File > Open does
    PlayFile,    // --play FILE
    Help,        // --help: the usage on standard output, exit status 0
    UsageError,  // anything else: the usage on standard error, exit status kExitUsageError
};

struct CommandLine {
    StartCommand command = StartCommand::Window;
    std::string file;  // OpenFile and PlayFile only
    bool operator==(const CommandLine&) const = default;
};

inline constexpr int kExitUsageError = 2;

// arguments: those after the program's own name. Every argument that starts with "-" is an
// option; a file name that starts with one is given as "./-name".
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text, every line ending in "\n"; programName as the user called the program.
std::string UsageText(std::string_view programName);

}  // namespace zs
