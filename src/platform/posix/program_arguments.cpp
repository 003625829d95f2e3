// POSIX: main's arguments are the program's, and its standard streams are the caller's already.
#include "platform/program_arguments.h"

namespace zs {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void ConnectStandardStreamsToCaller() {}

}  // namespace zs
