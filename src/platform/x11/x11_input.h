// Global input through XTest: pointer, buttons and keys, with characters scanned on the current
// keyboard layout and characters the layout lacks typed on spare keys.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

#include "platform/input.h"
#include "platform/status.h"
#include "platform/x11/escape_watcher.h"
#include "platform/x11/spare_keys.h"

typedef struct _XDisplay Display;

namespace zs::x11 {

// Every call may come from any thread; one mutex serialises the use of the connection. The
// release of each typed key and every button event wait for the server (XSync), so the caller
// never runs ahead of the server and no event is lost or reordered however fast it types.
class X11Input : public Input {
public:
    // Connects to displayName (nullptr: $DISPLAY); nullptr with the reason in `status` when the
    // display or its XTest extension is missing. The Escape watcher is optional: without XInput2
    // escapePressed() reports only a key that is down at the time of the call.
    static std::unique_ptr<X11Input> Open(const char* displayName, Status& status);
    ~X11Input() override;

    void movePointer(int x, int y) override;
    void mouseButton(MouseButton button, bool down) override;
    void key(int vkCode, bool down) override;
    bool textIsUtf8() const override { return true; }
    KeyScan scanChar(char32_t ch) override;
    void typeUnlisted(char32_t ch) override;
    bool escapePressed() override;
    Point pointerPosition() override;
    void releaseForExit() override;

    // The connections the input uses: its own and the Escape watcher's (nullptr if none).
    Display* display() const { return display_; }
    Display* escapeDisplay() const { return escape_ ? escape_->display() : nullptr; }

private:
    X11Input(Display* display, const char* displayName);

    std::optional<KeyScan> scanKeysym(unsigned long keysym);
    int keycodeForVk(int vkCode);
    void sendKey(int keycode, bool down, bool waitForServer);
    void liftLocks();
    void restoreLocks();
    bool stillBound(int keycode, unsigned long keysym);
    void unbindSpareKeys();
    void releaseHeld();

    std::mutex mutex_;  // guards the connection and everything below
    std::set<int> keycodesDown_;
    std::set<unsigned> buttonsDown_;
    unsigned liftedLocks_ = 0;  // locked modifiers lifted while keys of this input are down
    bool closed_ = false;
    Display* display_;
    SpareKeyPool spareKeys_;
    std::unordered_map<int, int> vkKeycodes_;  // what scanChar found for each vk it returned
    std::unique_ptr<EscapeWatcher> escape_;
};

}  // namespace zs::x11
