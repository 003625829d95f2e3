// Global input through XTest: pointer, buttons and keys, with characters scanned on the current
// keyboard layout and characters the layout lacks typed on spare keys.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/input.h"
#include "platform/status.h"
#include "platform/x11/escape_watcher.h"
#include "platform/x11/spare_keys.h"

typedef struct _XDisplay Display;

namespace zs::x11 {

// Every call may come from any thread; one mutex serialises the use of the connection. Key
// releases and button events wait for the server (XSync), so the server has taken every event
// before the next one is made and none is lost or reordered however fast the caller is.
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

private:
    X11Input(Display* display, const char* displayName);

    std::optional<KeyScan> scanKeysym(unsigned long keysym);
    int keycodeForVk(int vkCode);
    void sendKey(int keycode, bool down);
    void waitThenBind(const SpareKeyPool::Lease& lease, unsigned long keysym);
    void unbindSpareKeys();

    std::mutex mutex_;
    Display* display_;
    SpareKeyPool spareKeys_;
    std::unordered_map<int, int> vkKeycodes_;  // what scanChar found for each vk it returned
    std::unique_ptr<EscapeWatcher> escape_;
};

}  // namespace zs::x11
