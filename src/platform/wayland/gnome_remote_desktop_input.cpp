// Input through a remote-desktop service (mutter's own, or the desktop portal's): keysyms for keys
// and characters, evdev codes for buttons, absolute moves through the monitors' screen-cast
// streams.
#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "platform/wayland/mutter_remote_desktop.h"
#include "platform/wayland/pointer_place.h"
#include "platform/wayland/portal_remote_desktop.h"
#include "platform/wayland/wayland_input.h"
#include "platform/x11/escape_watcher.h"
#include "platform/x11/keysyms.h"

namespace zs::wayland {
namespace {

// mutter drops the first key of a new session: a lone Shift press and release goes first.
constexpr auto kNewSessionSettle = std::chrono::milliseconds(200);
// The program's own Escape reaches XWayland's watcher as any key does (through mutter's virtual
// keyboard); an Escape seen this soon after it is taken for it.
constexpr auto kOwnEscapeEcho = std::chrono::milliseconds(300);

std::uint32_t ButtonCode(MouseButton button) {
    switch (button) {
    case MouseButton::Left: return BTN_LEFT;
    case MouseButton::Middle: return BTN_MIDDLE;
    case MouseButton::Right: return BTN_RIGHT;
    }
    return BTN_LEFT;
}

// mutter finds the key of a keysym on the user's current layout, with the Shift or AltGr level
// it needs, and drops keysyms the layout lacks. So every character goes as its keysym, in the
// form layouts carry (Cyrillic_zhe rather than U0436), and scanChar reports no key: the service,
// not the program, knows the layout.
class GnomeRemoteDesktopInput final : public Input {
public:
    explicit GnomeRemoteDesktopInput(std::unique_ptr<RemoteDesktop> desktop)
        : desktop_(std::move(desktop)) {
        Status watcherStatus;  // without XWayland only the Stop button ends a run
        escape_ = std::make_unique<x11::EscapeWatcher>(nullptr, watcherStatus);
        desktop_->keysym(XKB_KEY_Shift_L, true);
        desktop_->keysym(XKB_KEY_Shift_L, false);
        std::this_thread::sleep_for(kNewSessionSettle);
    }
    ~GnomeRemoteDesktopInput() override {
        escape_.reset();
        releaseForExit();
    }

    void movePointer(int x, int y) override {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        if (desktop_->moveTo(x, y)) pointerPlace_.movedTo({x, y});
    }

    void mouseButton(MouseButton button, bool down) override {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        const std::uint32_t code = ButtonCode(button);
        desktop_->button(code, down);
        if (down) {
            buttonsDown_.insert(code);
        } else {
            buttonsDown_.erase(code);
        }
    }

    void key(int vkCode, bool down) override {
        const x11::KeysymValue keysym = x11::KeysymForVk(vkCode);
        if (keysym == x11::kNoKeysym) return;
        std::lock_guard lock(mutex_);
        if (closed_) return;
        if (vkCode == vk::Escape && down) ownEscapeAt_ = std::chrono::steady_clock::now();
        sendKeysym(static_cast<std::uint32_t>(keysym), down);
    }

    bool textIsUtf8() const override { return true; }
    KeyScan scanChar(char32_t) override { return {}; }

    void typeUnlisted(char32_t ch) override {
        const std::vector<x11::KeysymValue> keysyms = x11::KeysymsForChar(ch);
        if (keysyms.empty()) return;
        // Named keys (Return, Tab) and Latin-1 keep their keysym; others take the legacy form.
        std::uint32_t keysym = static_cast<std::uint32_t>(keysyms.front());
        if (ch > 0xFF) keysym = xkb_utf32_to_keysym(static_cast<std::uint32_t>(ch));
        std::lock_guard lock(mutex_);
        if (closed_) return;
        sendKeysym(keysym, true);
        sendKeysym(keysym, false);
    }

    bool escapePressed() override {
        const bool pressed = escape_ && escape_->pressedSinceLastCall();
        std::lock_guard lock(mutex_);
        return pressed && std::chrono::steady_clock::now() - ownEscapeAt_ > kOwnEscapeEcho;
    }

    Point pointerPosition() override {
        std::lock_guard lock(mutex_);
        return pointerPlace_.current();
    }

    void releaseForExit() override {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        closed_ = true;
        const std::set<std::uint32_t> keys = keysymsDown_;
        for (const std::uint32_t keysym : keys) sendKeysym(keysym, false);
        for (const std::uint32_t button : buttonsDown_) desktop_->button(button, false);
        buttonsDown_.clear();
    }

private:
    // Every call waits for mutter's answer, so the program never runs ahead of it.
    void sendKeysym(std::uint32_t keysym, bool down) {
        if (down == (keysymsDown_.count(keysym) != 0)) return;
        desktop_->keysym(keysym, down);
        if (down) {
            keysymsDown_.insert(keysym);
        } else {
            keysymsDown_.erase(keysym);
        }
    }

    std::mutex mutex_;  // guards everything below
    std::unique_ptr<RemoteDesktop> desktop_;
    std::set<std::uint32_t> keysymsDown_;
    std::set<std::uint32_t> buttonsDown_;
    PointerPlace pointerPlace_;
    std::unique_ptr<x11::EscapeWatcher> escape_;
    std::chrono::steady_clock::time_point ownEscapeAt_{};
    bool closed_ = false;
};

}  // namespace
}  // namespace zs::wayland

namespace zs {
namespace {

template <class Service>
std::unique_ptr<Input> OpenRemoteDesktopInput(Status& status) {
    std::unique_ptr<Service> desktop = Service::Open(status);
    if (!desktop) return nullptr;
    return std::make_unique<wayland::GnomeRemoteDesktopInput>(std::move(desktop));
}

}  // namespace

std::unique_ptr<Input> OpenGnomeRemoteDesktopInput(Status& status) {
    return OpenRemoteDesktopInput<wayland::MutterRemoteDesktop>(status);
}

std::unique_ptr<Input> OpenPortalRemoteDesktopInput(Status& status) {
    return OpenRemoteDesktopInput<wayland::PortalRemoteDesktop>(status);
}

}  // namespace zs
