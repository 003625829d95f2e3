// The program's command-line arguments and the console of the process that started it.
#pragma once

#include <string>
#include <vector>

namespace zs {

// The arguments, the program's own name first, as the program keeps text: UTF-8 on Linux, the
// ANSI code page on Windows. argc and argv are main's.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Lets what the program writes to standard output and error reach its caller. A Windows GUI
// program has no console of its own: streams that lead nowhere are joined to the console of the
// process that started it, when there is one. Redirected streams are left as they are.
void ConnectStandardStreamsToCaller();

}  // namespace zs
