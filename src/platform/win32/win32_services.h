// The Windows implementations of the platform services. Only this header is needed to use them;
// it includes no system header.
#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/gui.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/recorder.h"
#include "platform/serial.h"

namespace zs {

class KeyboardHook;

// Pointer, buttons and keys through SetCursorPos, mouse_event and keybd_event; characters the
// layout lacks as Unicode key events. Step texts are bytes of the ANSI code page. The user's
// Escape is told apart from injected keys, and Caps Lock followed, by a low-level keyboard hook.
class Win32Input final : public Input {
public:
    Win32Input();
    ~Win32Input() override;
    Win32Input(const Win32Input&) = delete;
    Win32Input& operator=(const Win32Input&) = delete;

    void movePointer(int x, int y) override;
    void mouseButton(MouseButton button, bool down) override;
    void key(int vkCode, bool down) override;
    bool textIsUtf8() const override { return false; }
    KeyScan scanChar(char32_t ch) override;
    void typeUnlisted(char32_t ch) override;
    bool escapePressed() override;
    Point pointerPosition() override;
    void releaseForExit() override;

private:
    void liftCapsLock();
    void restoreCapsLock();
    bool capsLockOn();

    std::unique_ptr<KeyboardHook> keyboardHook_;
    std::mutex mutex_;  // guards the members below
    std::set<int> keysDown_;
    std::set<int> buttonsDown_;
    bool capsLockOn_ = false;      // the user's Caps Lock, as far as the hook told
    bool capsLockLifted_ = false;  // turned off while keys of this input are down
    bool closed_ = false;
};

// Top-level windows through EnumWindows (visible and un-owned), activation through
// SetForegroundWindow, client origins through ClientToScreen and pixels through GetPixel on the
// screen. Positions are physical pixels: the program is per-monitor DPI aware.
class Win32Desktop final : public Desktop {
public:
    std::vector<DesktopWindow> windows() override;
    bool activate(WindowId window) override;
    std::optional<Point> clientOrigin(WindowId window) override;
    std::optional<DesktopWindow> windowAt(Point point) override;
    std::optional<Rgb> pixel(Point point) override;
};

// COM ports through CreateFileA on "\\.\" + name and the comm API.
class Win32SerialPorts final : public SerialPorts {
public:
    Status open(const std::string& name, const SerialSettings& settings,
                std::unique_ptr<SerialPort>& port) override;
};

// Programs through CreateProcessA, everything else through ShellExecuteA "open".
class Win32ProcessStarter final : public ProcessStarter {
public:
    Status startFile(const std::string& path) override;
    Status openDocument(const std::string& path) override;
};

// The steady clock with 1 ms timer resolution while the object lives (timeBeginPeriod(1)):
// the program creates one at start-up, so every wait of a run is a 1 ms-resolution sleep.
class Win32Clock final : public Clock {
public:
    Win32Clock();
    ~Win32Clock() override;
    Win32Clock(const Win32Clock&) = delete;
    Win32Clock& operator=(const Win32Clock&) = delete;

    time_point now() override;
    void waitUntil(time_point deadline) override;

private:
    bool periodSet_ = false;
};

// The raw Win32 gadget layer. Create it on the thread that runs the event loop: that thread
// becomes the UI thread.
std::unique_ptr<gui::Gui> MakeWin32Gui();

// The desktop recorder: WH_KEYBOARD_LL and WH_MOUSE_LL hooks. Start and stop it on the UI thread,
// whose message loop calls the hooks.
std::unique_ptr<InputRecorder> MakeWin32Recorder();

// The system's text for a Win32 error code, without the trailing line end.
std::string Win32ErrorText(unsigned long code);

}  // namespace zs
