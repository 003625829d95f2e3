// XTest input: keys by keycode of the current layout, spare keys for characters it lacks.
#include "platform/x11/x11_input.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#undef Status  // Xlib's name for int; Status below is zs::Status

#include <thread>
#include <vector>

namespace zs::x11 {
namespace {

// Long enough for any client that keeps up with its input to decode a key press.
constexpr auto kSpareKeySettle = std::chrono::seconds(1);

// Keycodes that carry no keysym at all: free to bind for characters the layout lacks.
std::vector<int> FindSpareKeycodes(Display* display) {
    int first = 0, last = 0, perKeycode = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1,
                                      &perKeycode);
    std::vector<int> spare;
    if (map == nullptr) return spare;
    for (int keycode = first; keycode <= last; ++keycode) {
        const KeySym* syms = map + (keycode - first) * perKeycode;
        bool empty = true;
        for (int i = 0; i < perKeycode; ++i) empty = empty && syms[i] == NoSymbol;
        if (empty) spare.push_back(keycode);
    }
    XFree(map);
    return spare;
}

unsigned CurrentGroup(Display* display) {
    XkbStateRec state{};
    return XkbGetState(display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
}

unsigned ButtonNumber(MouseButton button) {
    switch (button) {
    case MouseButton::Left: return 1;
    case MouseButton::Middle: return 2;
    case MouseButton::Right: return 3;
    }
    return 1;
}

}  // namespace

std::unique_ptr<X11Input> X11Input::Open(const char* displayName, Status& status) {
    XInitThreads();
    Display* display = XOpenDisplay(displayName);
    if (display == nullptr) {
        status = Status::failure("XOpenDisplay", "cannot open the display");
        return nullptr;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        status = Status::failure("XTestQueryExtension", "the display has no XTEST extension");
        return nullptr;
    }
    status = Status::success();
    return std::unique_ptr<X11Input>(new X11Input(display, displayName));
}

X11Input::X11Input(Display* display, const char* displayName)
    : display_(display), spareKeys_(FindSpareKeycodes(display), kSpareKeySettle) {
    // Injected input must reach the server even while another client grabs it.
    XTestGrabControl(display_, True);
    Status watcherStatus;
    escape_ = std::make_unique<EscapeWatcher>(displayName, watcherStatus);
}

X11Input::~X11Input() {
    escape_.reset();
    releaseForExit();
    XCloseDisplay(display_);
}

void X11Input::releaseForExit() {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    releaseHeld();
    unbindSpareKeys();
}

void X11Input::releaseHeld() {
    for (const int keycode : keycodesDown_)
        XTestFakeKeyEvent(display_, static_cast<unsigned>(keycode), False, CurrentTime);
    for (const unsigned button : buttonsDown_)
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
    keycodesDown_.clear();
    buttonsDown_.clear();
    restoreLocks();
    XSync(display_, False);
}

void X11Input::movePointer(int x, int y) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

void X11Input::mouseButton(MouseButton button, bool down) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    const unsigned number = ButtonNumber(button);
    XTestFakeButtonEvent(display_, number, down ? True : False, CurrentTime);
    XSync(display_, False);
    if (down) {
        buttonsDown_.insert(number);
    } else {
        buttonsDown_.erase(number);
    }
}

void X11Input::key(int vkCode, bool down) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    const int keycode = keycodeForVk(vkCode);
    if (keycode == 0) return;
    const bool modifier = vkCode == vk::Shift || vkCode == vk::Control || vkCode == vk::Alt;
    sendKey(keycode, down, /*waitForServer=*/!down && !modifier);
}

KeyScan X11Input::scanChar(char32_t ch) {
    std::lock_guard lock(mutex_);
    for (unsigned long keysym : KeysymsForChar(ch)) {
        if (const std::optional<KeyScan> scan = scanKeysym(keysym)) return *scan;
    }
    return {};
}

// The first key of the current group with the keysym at level 0, else at level 1 (with Shift).
// Keys at higher levels (AltGr) count as missing: a spare key types them without modifiers.
std::optional<KeyScan> X11Input::scanKeysym(unsigned long keysym) {
    int first = 0, last = 0;
    XDisplayKeycodes(display_, &first, &last);
    const unsigned group = CurrentGroup(display_);
    int found = 0, shiftState = 0;
    for (int level = 0; level < 2 && found == 0; ++level) {
        for (int keycode = first; keycode <= last && found == 0; ++keycode) {
            if (spareKeys_.isSpare(keycode)) continue;
            const auto code = static_cast<KeyCode>(keycode);
            if (XkbKeycodeToKeysym(display_, code, group, level) != keysym) continue;
            found = keycode;
            shiftState = level;
        }
    }
    if (found == 0) return std::nullopt;
    // The key's own code where it has one, so that key() presses this very key; it is
    // remembered per scan, so a changed layout updates it.
    const auto code = static_cast<KeyCode>(found);
    const int vk = VkForKeysym(XkbKeycodeToKeysym(display_, code, group, 0));
    if (vk == 0) return KeyScan{true, vk::RawKeyBase + found, shiftState};
    vkKeycodes_[vk] = found;
    return KeyScan{true, vk, shiftState};
}

int X11Input::keycodeForVk(int vkCode) {
    if (vkCode >= vk::RawKeyBase) {
        const int keycode = vkCode - vk::RawKeyBase;
        return keycode >= 8 && keycode <= 255 ? keycode : 0;
    }
    if (const auto known = vkKeycodes_.find(vkCode); known != vkKeycodes_.end()) {
        return known->second;
    }
    const unsigned long keysym = KeysymForVk(vkCode);
    return keysym == kNoKeysym ? 0 : XKeysymToKeycode(display_, keysym);
}

// Events of one connection reach the server in order; the round trip after each typed key keeps
// the caller from running ahead of the server. Presses and modifier releases are only flushed:
// the next round trip covers them.
void X11Input::sendKey(int keycode, bool down, bool waitForServer) {
    if (down && escape_ && keycode == escape_->escapeKeycode()) escape_->expectOwnPress();
    if (down && keycodesDown_.empty()) liftLocks();
    XTestFakeKeyEvent(display_, static_cast<unsigned>(keycode), down ? True : False, CurrentTime);
    if (down) {
        keycodesDown_.insert(keycode);
    } else {
        keycodesDown_.erase(keycode);
        if (keycodesDown_.empty()) restoreLocks();
    }
    if (waitForServer) {
        XSync(display_, False);
    } else {
        XFlush(display_);
    }
}

// Lock keys change what a key types: Caps Lock inverts letters (and the characters typed on
// spare keys), Shift Lock shifts every key. They are lifted from the first key this input
// presses until it holds none again, so that a text arrives as written and the user's locks are
// back after each character. The server applies the change in order with the keys, so every key
// event carries the state it was typed with. Num Lock stays: it changes only the keypad, which
// is never typed on.
void X11Input::liftLocks() {
    XkbStateRec state{};
    if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success) return;
    liftedLocks_ = state.locked_mods & ~XkbKeysymToModifiers(display_, XK_Num_Lock);
    if (liftedLocks_ != 0) XkbLockModifiers(display_, XkbUseCoreKbd, liftedLocks_, 0);
}

void X11Input::restoreLocks() {
    if (liftedLocks_ == 0) return;
    XkbLockModifiers(display_, XkbUseCoreKbd, liftedLocks_, liftedLocks_);
    liftedLocks_ = 0;
}

void X11Input::typeUnlisted(char32_t ch) {
    const unsigned long keysym = UnlistedKeysym(ch);
    if (keysym == kNoKeysym) return;
    std::unique_lock lock(mutex_);
    if (closed_) return;
    SpareKeyPool::Lease lease = spareKeys_.acquire(keysym);
    if (lease.keycode != 0 && !lease.mustBind && !stillBound(lease.keycode, keysym)) {
        // Another keyboard map was loaded (a layout change): the old bindings are gone and
        // the free keys may be others now.
        spareKeys_ = SpareKeyPool(FindSpareKeycodes(display_), kSpareKeySettle);
        lease = spareKeys_.acquire(keysym);
    }
    if (lease.keycode == 0) return;
    if (lease.mustBind) {
        // Waiting for an old binding to settle leaves the connection to the other threads
        // (which read the pointer; typing comes from the player thread alone).
        lock.unlock();
        std::this_thread::sleep_until(lease.notBefore);
        lock.lock();
        if (closed_) return;
        KeySym syms[2] = {keysym, keysym};  // the same character with and without Shift
        XChangeKeyboardMapping(display_, lease.keycode, 2, syms, 1);
        XSync(display_, False);
    }
    sendKey(lease.keycode, true, false);
    sendKey(lease.keycode, false, true);
    spareKeys_.markUsed(lease.keycode, SpareKeyPool::Clock::now());
}

bool X11Input::stillBound(int keycode, unsigned long keysym) {
    XSync(display_, False);  // reads any notice of a new keyboard map
    return XkbKeycodeToKeysym(display_, static_cast<KeyCode>(keycode), 0, 0) == keysym;
}

// Gives the spare keys back once the last character typed on them has settled.
void X11Input::unbindSpareKeys() {
    const std::vector<int> bound = spareKeys_.boundKeycodes();
    if (bound.empty()) return;
    std::this_thread::sleep_until(spareKeys_.settledAfter());
    for (int keycode : bound) {
        KeySym none[2] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(display_, keycode, 2, none, 1);
    }
    XSync(display_, False);
}

bool X11Input::escapePressed() {
    if (escape_) return escape_->pressedSinceLastCall();
    return false;
}

Point X11Input::pointerPosition() {
    std::lock_guard lock(mutex_);
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &winX,
                  &winY, &mask);
    return {rootX, rootY};
}

}  // namespace zs::x11
