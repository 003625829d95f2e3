// The desktop recorder on Windows: low-level keyboard and mouse hooks on the UI thread, which
// calls them while it waits for messages. Injected input (the program's own playback among it)
// is left out.
#include <windows.h>

#include <set>
#include <string>

#include "platform/win32/dead_keys.h"
#include "platform/win32/win32_services.h"

namespace zs {
namespace {

// A hook procedure has no context of its own; one recording runs at a time.
struct HookState {
    RecordSink* sink = nullptr;
    HHOOK keyboard = nullptr;
    HHOOK mouse = nullptr;
    bool shift = false, control = false, alt = false, windowsKey = false;
    wchar_t deadKey = 0;    // the accent of a dead key waiting for its letter
    std::set<DWORD> withheld;  // pressed keys whose release is not recorded either
};
HookState g_hooks;

int GenericVk(DWORD vkCode) {
    switch (vkCode) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return static_cast<int>(vkCode);
    }
}

bool OwnProcessWindow(HWND window) {
    if (window == nullptr) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(GetAncestor(window, GA_ROOT), &process);
    return process == GetCurrentProcessId();
}

std::string ToAnsi(const std::wstring& units) {
    if (units.empty() || units[0] < 0x20 || units[0] == 0x7F) return {};
    char bytes[16] = {};
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units.data(),
                                         static_cast<int>(units.size()), bytes, sizeof bytes,
                                         nullptr, &lossy);
    return size > 0 && !lossy ? std::string(bytes, static_cast<std::size_t>(size)) : std::string();
}

// The characters of a key with the given modifiers on the foreground window's layout; a dead
// key gives none and is kept for the next key. The keyboard state (dead keys) of the window the
// key goes to is left alone (flag 4), so the dead key is composed here.
std::wstring KeyUnits(const KBDLLHOOKSTRUCT& key, bool shift, bool altGr) {
    BYTE state[256] = {};
    if (shift) state[VK_SHIFT] = 0x80;
    if (altGr) state[VK_CONTROL] = state[VK_MENU] = 0x80;
    state[VK_CAPITAL] = static_cast<BYTE>(GetKeyState(VK_CAPITAL) & 1);
    const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    wchar_t units[8] = {};
    const int count = ToUnicodeEx(key.vkCode, key.scanCode, state, units, 8, 4, layout);
    if (count < 0) return std::wstring(1, L'\0') + units[0];  // a dead key: NUL, then its accent
    return std::wstring(units, static_cast<std::size_t>(count > 0 ? count : 0));
}

// The character the key typed as bytes of the ANSI code page; "" for none, a dead key, or a
// character the code page lacks.
std::string KeyText(const KBDLLHOOKSTRUCT& key, bool shift, bool altGr) {
    std::wstring units = KeyUnits(key, shift, altGr);
    if (!units.empty() && units[0] == L'\0') {
        if (g_hooks.deadKey != 0) {  // two dead keys: the first one's accent, then waiting again
            const wchar_t first = g_hooks.deadKey;
            g_hooks.deadKey = units[1];
            return ToAnsi(std::wstring(1, first));
        }
        g_hooks.deadKey = units[1];
        return {};
    }
    if (g_hooks.deadKey != 0 && !units.empty()) {
        units = ComposeDeadKey(g_hooks.deadKey, units);
        g_hooks.deadKey = 0;
    }
    return ToAnsi(units);
}

void RecordKey(const KBDLLHOOKSTRUCT& key, bool down) {
    const int vkCode = GenericVk(key.vkCode);
    if (vkCode == VK_ESCAPE) {
        if (down) g_hooks.sink->escapePressed();
        return;
    }
    if (vkCode == VK_SHIFT) g_hooks.shift = down;
    if (vkCode == VK_CONTROL) g_hooks.control = down;
    if (vkCode == VK_MENU) g_hooks.alt = down;
    if (vkCode == VK_LWIN || vkCode == VK_RWIN) {
        g_hooks.windowsKey = down;  // no step can press it
        return;
    }
    // Windows keeps the combinations of the Windows key for the shell: no application gets them.
    if (!down && g_hooks.withheld.erase(key.vkCode) != 0) return;
    if (down && g_hooks.windowsKey) {
        g_hooks.withheld.insert(key.vkCode);
        return;
    }
    RecordedEvent event;
    event.kind = down ? RecordedKind::KeyDown : RecordedKind::KeyUp;
    event.timeMs = key.time;
    event.vk = vkCode;
    if (down) {
        if (g_hooks.control && g_hooks.alt) {
            event.text = KeyText(key, g_hooks.shift, true);
            event.altGr = !event.text.empty();
        }
        if (event.text.empty()) event.text = KeyText(key, g_hooks.shift, false);
        event.ownWindow = OwnProcessWindow(GetForegroundWindow());
    }
    g_hooks.sink->recorded(event);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM data) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && g_hooks.sink != nullptr && (key->flags & LLKHF_INJECTED) == 0) {
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        RecordKey(*key, down);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

bool ButtonOf(WPARAM message, MouseButton& button, bool& down) {
    switch (message) {
    case WM_LBUTTONDOWN: button = MouseButton::Left, down = true; return true;
    case WM_LBUTTONUP: button = MouseButton::Left, down = false; return true;
    case WM_RBUTTONDOWN: button = MouseButton::Right, down = true; return true;
    case WM_RBUTTONUP: button = MouseButton::Right, down = false; return true;
    case WM_MBUTTONDOWN: button = MouseButton::Middle, down = true; return true;
    case WM_MBUTTONUP: button = MouseButton::Middle, down = false; return true;
    default: return false;  // moves, the wheel and side buttons make no Mouse step
    }
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    RecordedEvent event;
    bool down = false;
    if (code == HC_ACTION && g_hooks.sink != nullptr && (mouse->flags & LLMHF_INJECTED) == 0 &&
        ButtonOf(message, event.button, down)) {
        event.kind = down ? RecordedKind::ButtonDown : RecordedKind::ButtonUp;
        event.timeMs = mouse->time;
        event.position = {mouse->pt.x, mouse->pt.y};
        event.held = {(GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0,
                      (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0,
                      (GetAsyncKeyState(VK_MENU) & 0x8000) != 0};
        event.ownWindow = OwnProcessWindow(WindowFromPoint(mouse->pt));
        g_hooks.sink->recorded(event);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

class Win32Recorder final : public InputRecorder {
public:
    ~Win32Recorder() override { stop(); }

    Status start(RecordSink& sink) override {
        stop();
        const HINSTANCE module = GetModuleHandleA(nullptr);
        g_hooks.keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, module, 0);
        if (g_hooks.keyboard == nullptr)
            return Status::failure("SetWindowsHookExA", Win32ErrorText(GetLastError()));
        g_hooks.mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, module, 0);
        if (g_hooks.mouse == nullptr) {
            const Status failure = Status::failure("SetWindowsHookExA", Win32ErrorText(GetLastError()));
            stop();
            return failure;
        }
        g_hooks.shift = g_hooks.control = g_hooks.alt = g_hooks.windowsKey = false;
        g_hooks.deadKey = 0;
        g_hooks.withheld.clear();
        g_hooks.sink = &sink;
        return Status::success();
    }

    void stop() override {
        if (g_hooks.keyboard != nullptr) UnhookWindowsHookEx(g_hooks.keyboard);
        if (g_hooks.mouse != nullptr) UnhookWindowsHookEx(g_hooks.mouse);
        g_hooks = HookState{};
    }

    DoubleClickRule doubleClickRule() override {
        return {static_cast<std::uint32_t>(GetDoubleClickTime()),
                (GetSystemMetrics(SM_CXDOUBLECLK) + 1) / 2};
    }
};

}  // namespace

std::unique_ptr<InputRecorder> MakeWin32Recorder() { return std::make_unique<Win32Recorder>(); }

}  // namespace zs
