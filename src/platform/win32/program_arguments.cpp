// Windows: the arguments from the wide command line in the ANSI code page, and standard output
// and error joined to the console of the caller, which a GUI program does not get by itself.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "platform/program_arguments.h"

namespace zs {

namespace {

// A character that the code page lacks becomes "?", which no file name holds: the best-fit
// mapping that the C runtime's own argv uses turns "Ω" into "O" and can name another file.
std::string AnsiText(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 1) return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, bytes.data(), size, nullptr,
                        nullptr);
    bytes.resize(static_cast<std::size_t>(size - 1));
    return bytes;
}

bool LeadsSomewhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(AnsiText(wide[i]));
    LocalFree(wide);
    return arguments;
}

void ConnectStandardStreamsToCaller() {
    const bool output = LeadsSomewhere(STD_OUTPUT_HANDLE);
    const bool error = LeadsSomewhere(STD_ERROR_HANDLE);
    if (output && error) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!output) std::freopen("CONOUT$", "w", stdout);
    if (!error) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace zs
