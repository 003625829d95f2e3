// Global input synthesis on Windows: pointer moves, button and key transitions, layout scans.
#include <windows.h>

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

void SendUnicodeUnit(wchar_t unit, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = unit;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
    SendInput(1, &in, sizeof in);
}

}  // namespace

void Win32Input::movePointer(int x, int y) { SetCursorPos(x, y); }

// One transition at the current pointer position, no movement.
void Win32Input::mouseButton(MouseButton button, bool down) {
    mouse_event(ButtonFlag(button, down), 0, 0, 0, 0);
}

// Scan code 0 and no extended-key flag: the virtual key alone says which key it is.
void Win32Input::key(int vkCode, bool down) {
    keybd_event(static_cast<BYTE>(vkCode), 0, down ? 0 : KEYEVENTF_KEYUP, 0);
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
    for (int i = 0; i < count; ++i) {
        SendUnicodeUnit(units[i], true);
        SendUnicodeUnit(units[i], false);
    }
}

// Any non-zero state counts: down now, or pressed since the last query.
bool Win32Input::escapePressed() { return GetAsyncKeyState(VK_ESCAPE) != 0; }

Point Win32Input::pointerPosition() {
    POINT p{};
    if (!GetCursorPos(&p)) return {};
    return {p.x, p.y};
}

}  // namespace zs
