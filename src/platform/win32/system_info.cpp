// User name, local time, the program's own file and the screen's pixel density on Windows.
#include <windows.h>

#include <lmcons.h>

#include "platform/system.h"

namespace zs {
namespace {

class Win32SystemInfo final : public SystemInfo {
public:
    std::string userName() override {
        char name[UNLEN + 1] = {};
        DWORD size = sizeof name;
        return GetUserNameA(name, &size) ? std::string(name) : std::string();
    }

    LocalTime localTime() override {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }

    std::string ownExecutablePath() override {
        std::string path(MAX_PATH, '\0');
        for (;;) {
            const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) return {};
            if (n < path.size()) {
                path.resize(n);
                return path;
            }
            path.resize(path.size() * 2);
        }
    }

    int screenPixelsPerInch() override {
        HDC screen = GetDC(nullptr);
        if (!screen) return 96;
        const int ppi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return ppi > 0 ? ppi : 96;
    }
};

}  // namespace

SystemInfo& NativeSystemInfo() {
    static Win32SystemInfo info;
    return info;
}

}  // namespace zs
