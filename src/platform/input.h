// Global input synthesis and polling. Key codes are Windows virtual-key codes everywhere.
#pragma once

#include <cstdint>

namespace zs {

namespace vk {
inline constexpr int Backspace = 0x08, Tab = 0x09, Enter = 0x0D, Shift = 0x10, Control = 0x11,
                     Alt = 0x12, Escape = 0x1B, PageUp = 0x21, PageDown = 0x22, End = 0x23,
                     Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28,
                     PrintScreen = 0x2C, Insert = 0x2D, Delete = 0x2E, F1 = 0x70, F9 = 0x78,
                     F12 = 0x7B;
// Codes from RawKeyBase up name a key of the input backend directly (RawKeyBase + the backend's
// own number for the key) where no virtual-key code fits it. scanChar may return them; pass them
// to key() unchanged.
inline constexpr int RawKeyBase = 0x10000;
}

enum class MouseButton { Left, Right, Middle };

// What VkKeyScanExA tells of a character: the key and the modifiers it needs.
struct KeyScan {
    bool found = false;  // false: the layout has no key for the character
    int vk = 0;          // virtual-key code
    int shiftState = 0;  // bit 1 Shift, bit 2 Control, bit 4 Alt
};

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

class Input {
public:
    virtual ~Input() = default;
    virtual void movePointer(int x, int y) = 0;
    virtual void mouseButton(MouseButton button, bool down) = 0;
    virtual void key(int vkCode, bool down) = 0;
    // True when step texts hold UTF-8 (Linux); false for the bytes of the ANSI code page (Windows).
    virtual bool textIsUtf8() const = 0;
    // The key and modifiers that type the character on the current layout.
    virtual KeyScan scanChar(char32_t ch) = 0;
    // Types a character the layout lacks (Unicode key event, or a spare key bound to it).
    virtual void typeUnlisted(char32_t ch) = 0;
    // The user's Escape is down now, or was pressed since the last call. The Escape keys the
    // program sends itself do not count.
    virtual bool escapePressed() = 0;
    // Where the pointer is, cheaply: for a display refreshed often. It may lag where a backend
    // cannot see the pointer everywhere.
    virtual Point pointerPosition() = 0;
    // Where the pointer is, exactly, for F9: may take a few milliseconds more.
    virtual Point pointerPositionForCapture() { return pointerPosition(); }
    // The text sender gave the last key of a text: a backend that gathers keys to send them
    // together sends what it holds now.
    virtual void sendGatheredKeys() {}
    // For the end of the program: releases every key and button the program holds down and
    // gives back what it changed in the keyboard's map. Later calls send nothing, so a step
    // still under way on another thread cannot press anything again. Safe from any thread.
    virtual void releaseForExit() = 0;
};

}  // namespace zs
