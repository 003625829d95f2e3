// Global input synthesis on Windows: pointer moves, button and key transitions, layout scans.
#include <windows.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/win32/win32_services.h"

namespace zs {
namespace {

DWORD ButtonFlag(MouseButton button, bool down) {
    switch (button) {
    case MouseButton::Left: return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    case MouseButton::Right: return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    case MouseButton::Middle: return down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
    }
    return 0;
}

// Marks the lock taps of this input, so that the hook does not count them.
constexpr ULONG_PTR kOwnTap = 0x5A534B54;

void TapOwnKey(BYTE vkCode) {
    keybd_event(vkCode, 0, 0, kOwnTap);
    keybd_event(vkCode, 0, KEYEVENTF_KEYUP, kOwnTap);
}

void SendUnicodeUnit(wchar_t unit, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = unit;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
    SendInput(1, &in, sizeof in);
}

// What the hook saw of the user's Escape key, and of Caps Lock presses that were not this
// input's. One hook serves the process; the hook procedure has no way to reach an object.
struct HookedKeys {
    std::atomic<bool> escapePressed{false};     // since the last question
    std::atomic<bool> escapeDown{false};
    std::atomic<bool> capsLockDown{false};
    std::atomic<int> capsLockPresses{0};  // since the input last looked
};
HookedKeys gKeys;

// Each press of Caps Lock toggles it; a key repeat is no press.
void CountCapsLock(const KBDLLHOOKSTRUCT& key, bool down) {
    if (!down) {
        gKeys.capsLockDown = false;
    } else if (!gKeys.capsLockDown.exchange(true) && key.dwExtraInfo != kOwnTap) {
        ++gKeys.capsLockPresses;
    }
}

// Injected keys (this program's, or any other program's) carry LLKHF_INJECTED; GetAsyncKeyState
// cannot tell them apart. Key repeats of a held key are no new presses.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (key->vkCode == VK_CAPITAL) CountCapsLock(*key, down);
        if (key->vkCode == VK_ESCAPE && (key->flags & LLKHF_INJECTED) == 0) {
            if (!down) {
                gKeys.escapeDown = false;
            } else if (!gKeys.escapeDown.exchange(true)) {
                gKeys.escapePressed = true;
            }
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

// A low-level hook runs on the thread that set it, which must keep a message loop going.
class KeyboardHook {
public:
    KeyboardHook() {
        std::promise<bool> ready;
        std::future<bool> installed = ready.get_future();
        thread_ = std::thread([this, &ready] { run(ready); });
        installed_ = installed.get();
    }
    ~KeyboardHook() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    bool installed() const { return installed_; }

private:
    void run(std::promise<bool>& ready) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the thread's message queue
        threadId_ = GetCurrentThreadId();
        HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleW(nullptr), 0);
        ready.set_value(hook != nullptr);
        if (hook == nullptr) return;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        UnhookWindowsHookEx(hook);
    }

    std::thread thread_;
    DWORD threadId_ = 0;
    bool installed_ = false;
};

Win32Input::Win32Input() : keyboardHook_(std::make_unique<KeyboardHook>()) {
    if (!keyboardHook_->installed()) keyboardHook_.reset();
    // Caps Lock as GetKeyState gives it at the start; from then on the hook tells of every press
    // that this input does not make itself.
    gKeys.capsLockPresses = 0;
    capsLockOn_ = (GetKeyState(VK_CAPITAL) & 1) != 0;
}

Win32Input::~Win32Input() = default;

void Win32Input::movePointer(int x, int y) {
    std::lock_guard lock(mutex_);
    if (!closed_) SetCursorPos(x, y);
}

// One transition at the current pointer position, no movement.
void Win32Input::mouseButton(MouseButton button, bool down) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    mouse_event(ButtonFlag(button, down), 0, 0, 0, 0);
    if (down) {
        buttonsDown_.insert(static_cast<int>(button));
    } else {
        buttonsDown_.erase(static_cast<int>(button));
    }
}

// Scan code 0 and no extended-key flag: the virtual key alone says which key it is.
void Win32Input::key(int vkCode, bool down) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    if (down && keysDown_.empty()) liftCapsLock();
    keybd_event(static_cast<BYTE>(vkCode), 0, down ? 0 : KEYEVENTF_KEYUP, 0);
    if (down) {
        keysDown_.insert(vkCode);
    } else {
        keysDown_.erase(vkCode);
        if (keysDown_.empty()) restoreCapsLock();
    }
}

// Caps Lock inverts the letters a layout types, Shift included. It is off from the first key
// this input presses until it holds none again, so that a text arrives as written and the user's
// Caps Lock is back after each character. The taps go into the input stream in order with the
// keys. Where the user chose that Shift turns Caps Lock off, the Caps Lock key only sets it: when
// the system still reports it on after the tap, a tap of Shift lifts it (elsewhere that Shift
// changes nothing).
void Win32Input::liftCapsLock() {
    if (!capsLockOn()) return;
    TapOwnKey(VK_CAPITAL);
    if ((GetKeyState(VK_CAPITAL) & 1) != 0) TapOwnKey(VK_SHIFT);
    capsLockLifted_ = true;
}

void Win32Input::restoreCapsLock() {
    if (!capsLockLifted_) return;
    TapOwnKey(VK_CAPITAL);
    capsLockLifted_ = false;
}

// The user's Caps Lock: as it was at the start, toggled by every press the hook counted since.
// The state the system keeps for a thread follows the input that thread reads, which the player
// thread never does; without the hook it is all there is.
bool Win32Input::capsLockOn() {
    if (!keyboardHook_) return (GetKeyState(VK_CAPITAL) & 1) != 0;
    if (gKeys.capsLockPresses.exchange(0) % 2 != 0) capsLockOn_ = !capsLockOn_;
    return capsLockOn_;
}

void Win32Input::releaseForExit() {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    for (const int vkCode : keysDown_) keybd_event(static_cast<BYTE>(vkCode), 0, KEYEVENTF_KEYUP, 0);
    for (const int button : buttonsDown_)
        mouse_event(ButtonFlag(static_cast<MouseButton>(button), false), 0, 0, 0, 0);
    keysDown_.clear();
    buttonsDown_.clear();
    restoreCapsLock();
}

// Characters are bytes of the ANSI code page; the layout is the calling thread's.
KeyScan Win32Input::scanChar(char32_t ch) {
    if (ch > 0xFF) return {};
    const SHORT result = VkKeyScanExA(static_cast<CHAR>(ch), GetKeyboardLayout(0));
    if (result == -1) return {};
    return {true, result & 0xFF, (result >> 8) & 0xFF};
}

// The byte is read in the ANSI code page and typed as its UTF-16 unit(s).
void Win32Input::typeUnlisted(char32_t ch) {
    wchar_t units[2] = {};
    int count = 0;
    if (ch <= 0xFF) {
        const char byte = static_cast<char>(ch);
        count = MultiByteToWideChar(CP_ACP, 0, &byte, 1, units, 2);
    } else if (ch <= 0xFFFF) {
        units[0] = static_cast<wchar_t>(ch), count = 1;
    }
    std::lock_guard lock(mutex_);
    if (closed_) return;
    for (int i = 0; i < count; ++i) {
        SendUnicodeUnit(units[i], true);
        SendUnicodeUnit(units[i], false);
    }
}

// Without the hook, any non-zero state counts: down now, or pressed since the last query.
bool Win32Input::escapePressed() {
    if (!keyboardHook_) return GetAsyncKeyState(VK_ESCAPE) != 0;
    const bool pressed = gKeys.escapePressed.exchange(false);
    return pressed || gKeys.escapeDown;
}

Point Win32Input::pointerPosition() {
    POINT p{};
    if (!GetCursorPos(&p)) return {};
    return {p.x, p.y};
}

}  // namespace zs
