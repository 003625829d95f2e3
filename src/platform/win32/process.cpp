// Starting files on Windows: programs as new processes, other files with their application.
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/win32_services.h"

namespace zs {
namespace {

// ShellExecuteA reports success as a value above 32; below it is an error code.
Status ShellOpen(const std::string& path) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return Status::success();
    const DWORD error = GetLastError();
    return Status::failure("ShellExecuteA",
                           Win32ErrorText(error ? error : static_cast<DWORD>(result)));
}

// The command line is the quoted path alone: the program gets no arguments.
bool StartProcess(const std::string& path) {
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

}  // namespace

Status Win32ProcessStarter::startFile(const std::string& path) {
    if (path.empty()) return Status::failure("CreateProcessA", "empty path");
    if (StartProcess(path)) return Status::success();
    return ShellOpen(path);
}

Status Win32ProcessStarter::openDocument(const std::string& path) { return ShellOpen(path); }

}  // namespace zs
