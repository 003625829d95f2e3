// The desktop on Windows: top-level windows in Z order, activation that is allowed to take the
// foreground, client origins, the window under a point and screen pixels. The program is per-
// monitor DPI aware (its manifest), so every position here is a physical pixel on any monitor.
#include <windows.h>

#include <dwmapi.h>

#include <string>

#include "platform/win32/win32_services.h"

namespace zs {
namespace {

HWND Handle(WindowId id) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id)); }
WindowId IdOf(HWND window) { return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window)); }

// The title in the ANSI code page, as step texts are. A character the code page lacks becomes
// "?" (no best-fit look-alikes), so a step text matches such a title only with "?" there too.
std::string AnsiTitle(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, wide.data(), length + 1);
    if (got <= 0) return {};
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), got, nullptr,
                                         0, nullptr, nullptr);
    std::string title(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), got, title.data(), size,
                            nullptr, nullptr);
    return title;
}

bool IsOwnProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// The desktop's background (the shell's window and the layer behind its icons).
bool IsDesktopBackground(HWND window) {
    if (window == GetShellWindow() || window == GetDesktopWindow()) return true;
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "Progman") == 0 || lstrcmpA(name, "WorkerW") == 0;
}

// Hidden by the window manager although "visible" (suspended store apps, other virtual desktops).
bool IsCloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
           cloaked != 0;
}

// Un-owned windows, and owned ones with a title bar: dialogs, such as a program's Save As. An
// owned window without one is a part of its owner (a tooltip, a menu, a drop-down list).
bool IsApplicationWindow(HWND window) {
    if (!IsWindowVisible(window) || IsDesktopBackground(window) || IsCloaked(window))
        return false;
    return GetWindow(window, GW_OWNER) == nullptr ||
           (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

DesktopWindow Describe(HWND window) { return {IdOf(window), AnsiTitle(window), IsOwnProcess(window)}; }

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    if (IsApplicationWindow(window))
        reinterpret_cast<std::vector<DesktopWindow>*>(list)->push_back(Describe(window));
    return TRUE;
}

// Windows lets a thread take the foreground when it shares the input state of the thread that
// has it; the calling thread (the player's) needs a message queue for that.
void TakeForeground(HWND window) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    const DWORD self = GetCurrentThreadId();
    const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attach = foreground != 0 && foreground != self &&
                        AttachThreadInput(self, foreground, TRUE) != FALSE;
    BringWindowToTop(window);
    SetForegroundWindow(window);
    if (attach) AttachThreadInput(self, foreground, FALSE);
}

}  // namespace

std::vector<DesktopWindow> Win32Desktop::windows() {
    std::vector<DesktopWindow> list;  // EnumWindows goes from the top of the Z order down
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

bool Win32Desktop::activate(WindowId id) {
    const HWND window = Handle(id);
    if (!IsWindow(window)) return false;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    TakeForeground(window);
    // A foreground-change event would need a message loop on the calling thread, which may be
    // the UI thread; the answer is looked for every 10 ms instead, for at most 100 ms.
    for (int tries = 0; tries <= 10; ++tries) {
        if (GetForegroundWindow() == window) return true;
        if (!IsWindow(window)) return false;
        Sleep(10);
    }
    return false;
}

std::optional<Point> Win32Desktop::clientOrigin(WindowId id) {
    const HWND window = Handle(id);
    POINT origin{0, 0};
    if (!IsWindow(window) || !ClientToScreen(window, &origin)) return std::nullopt;
    return Point{origin.x, origin.y};
}

std::optional<DesktopWindow> Win32Desktop::windowAt(Point point) {
    const HWND under = WindowFromPoint(POINT{point.x, point.y});
    const HWND top = under != nullptr ? GetAncestor(under, GA_ROOT) : nullptr;
    if (top == nullptr || IsDesktopBackground(top)) return std::nullopt;
    return Describe(top);
}

std::optional<Rgb> Win32Desktop::pixel(Point point) {
    if (MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONULL) == nullptr)
        return std::nullopt;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return std::nullopt;
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    if (colour == CLR_INVALID) return std::nullopt;
    return Rgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

}  // namespace zs
