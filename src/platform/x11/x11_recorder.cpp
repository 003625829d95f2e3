// XInput2 raw events to recorded events: keys translated with the keyboard state of their moment
// (XKB) and the locale's compose sequences, clicks placed with the top-level windows as they
// were when the button went down.
#include "platform/x11/x11_recorder.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#undef Status  // Xlib's name for int; Status below is zs::Status
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon-compose.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/x11/own_clients.h"
#include "platform/x11/recorded_keys.h"
#include "platform/x11/top_levels.h"

namespace zs::x11 {

void X11Recorder::setOwnInputTest(std::function<bool()> injecting) {
    std::lock_guard lock(testMutex_);
    ownInjection_ = std::move(injecting);
}

bool X11Recorder::programInjects() {
    std::lock_guard lock(testMutex_);
    return ownInjection_ && ownInjection_();
}

// Dead keys and compose sequences as the locale's input method of an application reads them.
struct X11Recorder::Compose {
    xkb_context* context = nullptr;
    xkb_compose_table* table = nullptr;
    xkb_compose_state* state = nullptr;

    Compose() {
        context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (context == nullptr) return;
        const char* locale = std::getenv("LC_ALL");
        if (locale == nullptr || *locale == '\0') locale = std::getenv("LC_CTYPE");
        if (locale == nullptr || *locale == '\0') locale = std::getenv("LANG");
        if (locale == nullptr || *locale == '\0') locale = "C";
        table = xkb_compose_table_new_from_locale(context, locale, XKB_COMPOSE_COMPILE_NO_FLAGS);
        if (table != nullptr) state = xkb_compose_state_new(table, XKB_COMPOSE_STATE_NO_FLAGS);
    }
    ~Compose() {
        xkb_compose_state_unref(state);
        xkb_compose_table_unref(table);
        xkb_context_unref(context);
    }
    // The text a key press gives, once the sequence it may belong to is through.
    std::string feed(unsigned long keysym) {
        if (state == nullptr || xkb_compose_state_feed(state, static_cast<xkb_keysym_t>(keysym)) ==
                                    XKB_COMPOSE_FEED_IGNORED)
            return TypedCharacter(keysym);
        switch (xkb_compose_state_get_status(state)) {
        case XKB_COMPOSE_COMPOSING: return {};
        case XKB_COMPOSE_COMPOSED: {
            char text[64] = {};
            xkb_compose_state_get_utf8(state, text, sizeof text);
            xkb_compose_state_reset(state);
            return text;
        }
        case XKB_COMPOSE_CANCELLED: xkb_compose_state_reset(state); return {};
        case XKB_COMPOSE_NOTHING: break;
        }
        return TypedCharacter(keysym);
    }
};

struct X11Recorder::Windows {
    explicit Windows(Display* display) : own(XGetXCBConnection(display)) { tops.start(display, own); }
    OwnClients own;
    TopLevels tops;
};

X11Recorder::X11Recorder(const char* displayName) : displayName_(displayName) {}
X11Recorder::~X11Recorder() { stop(); }

Status X11Recorder::start(RecordSink& sink) {
    stop();
    Status status = open();
    if (!status) {
        stop();
        return status;
    }
    thread_ = std::thread([this, &sink] { readLoop(sink); });
    return Status::success();
}

void X11Recorder::stop() {
    if (thread_.joinable()) {
        const char quit = 0;
        (void)!::write(wakePipe_[1], &quit, 1);
        thread_.join();
    }
    close();
}

void X11Recorder::close() {
    for (int& fd : wakePipe_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    windows_.reset();
    compose_.reset();
    if (display_ != nullptr) XCloseDisplay(display_);
    display_ = nullptr;
}

Status X11Recorder::open() {
    XInitThreads();
    display_ = XOpenDisplay(displayName_);
    if (display_ == nullptr) return Status::failure("XOpenDisplay", "cannot open the display");
    int event = 0, error = 0;
    if (!XQueryExtension(display_, "XInputExtension", &xiOpcode_, &event, &error))
        return Status::failure("XQueryExtension", "no XInputExtension");
    int major = 2, minor = 2;
    if (XIQueryVersion(display_, &major, &minor) != Success)
        return Status::failure("XIQueryVersion", "XInput 2.2 is missing");
    int xkbOpcode = 0, xkbMajor = XkbMajorVersion, xkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(display_, &xkbOpcode, &xkbEventBase_, &error, &xkbMajor, &xkbMinor))
        return Status::failure("XkbQueryExtension", "no XKEYBOARD extension");
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0) return Status::failure("pipe2", std::strerror(errno));
    escapeKeycode_ = XKeysymToKeycode(display_, XK_Escape);
    altMask_ = XkbKeysymToModifiers(display_, XK_Alt_L) | XkbKeysymToModifiers(display_, XK_Alt_R);
    superMask_ = XkbKeysymToModifiers(display_, XK_Super_L) | XkbKeysymToModifiers(display_, XK_Super_R);
    if (altMask_ == 0) altMask_ = Mod1Mask;
    if (superMask_ == 0) superMask_ = Mod4Mask;
    withheldKeys_.clear();
    findSuperGrabs();
    xtestDevices_.clear();
    XkbSelectEventDetails(display_, XkbUseCoreKbd, XkbStateNotify, XkbAllStateComponentsMask,
                          XkbAllStateComponentsMask);
    XkbStateRec state{};
    if (XkbGetState(display_, XkbUseCoreKbd, &state) == Success)
        coreState_ = XkbBuildCoreState(state.lookup_mods, state.group);
    compose_ = std::make_unique<Compose>();
    windows_ = std::make_unique<Windows>(display_);
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    XSync(display_, False);
    return Status::success();
}

void X11Recorder::readLoop(RecordSink& sink) {
    pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    for (;;) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MappingNotify) {
                // A new keyboard map (a layout change, or a key bound for a missing character):
                // later keys are read with it.
                XRefreshKeyboardMapping(&event.xmapping);
                continue;
            }
            if (followState(&event)) continue;
            windows_->tops.apply(event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != xiOpcode_) continue;
            if (!XGetEventData(display_, cookie)) continue;
            handleRawEvent(sink, cookie->evtype, cookie->data);
            XFreeEventData(display_, cookie);
        }
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[1].revents != 0) return;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
    }
}

void X11Recorder::handleRawEvent(RecordSink& sink, int type, const void* data) {
    const auto* raw = static_cast<const XIRawEvent*>(data);
    if (programInjects() && isXTestDevice(raw->sourceid)) return;
    switch (type) {
    case XI_RawKeyPress: handleKey(sink, raw->detail, true, raw->time); break;
    case XI_RawKeyRelease: handleKey(sink, raw->detail, false, raw->time); break;
    case XI_RawButtonPress: handleButton(sink, raw->detail, true, raw->time); break;
    case XI_RawButtonRelease: handleButton(sink, raw->detail, false, raw->time); break;
    default: break;
    }
}

bool X11Recorder::followState(const void* event) {
    const auto* xkb = static_cast<const XkbEvent*>(event);
    if (xkb->type != xkbEventBase_) return false;
    if (xkb->any.xkb_type == XkbStateNotify)
        coreState_ = XkbBuildCoreState(xkb->state.lookup_mods, xkb->state.group);
    return true;
}

void X11Recorder::handleKey(RecordSink& sink, int keycode, bool down, unsigned long time) {
    if (keycode == escapeKeycode_) {
        if (down) sink.escapePressed();
        return;
    }
    const KeySym base = XkbKeycodeToKeysym(display_, static_cast<KeyCode>(keycode), 0, 0);
    RecordedEvent event;
    event.kind = down ? RecordedKind::KeyDown : RecordedKind::KeyUp;
    event.timeMs = static_cast<std::uint32_t>(time);
    event.vk = RecordedVk(base);
    if (!down && withheldKeys_.erase(keycode) != 0) return;
    if (down) {
        // With Super held, a key that another client (the window manager) grabbed went to that
        // client alone: no application received it, and no step can press Super to repeat it.
        if ((coreState_ & superMask_) != 0 && !IsModifierKey(base) && grabbedByAnotherClient(keycode)) {
            withheldKeys_.insert(keycode);
            return;
        }
        event.text = typedText(keycode);
        event.ownWindow = focusIsOwn();
    }
    sink.recorded(event);
}

// The keysym as a core key event with this state gives it to Xlib's lookup (Num Lock picks the
// keypad's digits, Caps Lock the capitals), then through the compose sequences.
std::string X11Recorder::typedText(int keycode) {
    unsigned consumed = 0;
    KeySym keysym = NoSymbol;
    XkbLookupKeySym(display_, static_cast<KeyCode>(keycode), coreState_, &consumed, &keysym);
    if ((coreState_ & ~consumed & LockMask) != 0) {
        // Caps Lock on a key whose type does not use it still gives the capital, as Xlib does.
        KeySym lower = 0, upper = 0;
        XConvertCase(keysym, &lower, &upper);
        keysym = upper;
    }
    return compose_->feed(keysym);
}

HeldModifiers X11Recorder::heldModifiers() const {
    return {(coreState_ & ShiftMask) != 0, (coreState_ & ControlMask) != 0,
            (coreState_ & altMask_) != 0};
}

// The keys with Super that another client (the window manager) grabbed on the root, read once
// as the recording starts: the server refuses our own grab of a combination another client
// holds, and ours, where it succeeds, is released at once. Read later, at the key, the answer
// would race with a manager that drops its grabs while it acts on the key.
void X11Recorder::findSuperGrabs() {
    superGrabs_.clear();
    xcb_connection_t* c = XGetXCBConnection(display_);
    const auto root = static_cast<xcb_window_t>(DefaultRootWindow(display_));
    const xcb_setup_t* setup = xcb_get_setup(c);
    struct Try {
        xcb_void_cookie_t cookie;
        xcb_keycode_t key;
        std::uint16_t modifiers;
    };
    std::vector<Try> tries;
    const unsigned extras[] = {0, ShiftMask, ControlMask, altMask_};
    for (int key = setup->min_keycode; key <= setup->max_keycode; ++key) {
        for (unsigned extra : extras) {
            const auto modifiers = static_cast<std::uint16_t>(superMask_ | extra);
            const auto keycode = static_cast<xcb_keycode_t>(key);
            tries.push_back({xcb_grab_key_checked(c, 0, root, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                                  XCB_GRAB_MODE_ASYNC),
                             keycode, modifiers});
        }
    }
    for (const Try& attempt : tries) {
        xcb_generic_error_t* error = xcb_request_check(c, attempt.cookie);
        if (error == nullptr)
            xcb_ungrab_key(c, attempt.key, root, attempt.modifiers);
        else if (error->error_code == XCB_ACCESS)
            superGrabs_.insert(attempt.key << 16 | attempt.modifiers);
        std::free(error);
    }
    xcb_flush(c);
}

bool X11Recorder::grabbedByAnotherClient(int keycode) const {
    const unsigned modifiers = coreState_ & (superMask_ | ShiftMask | ControlMask | altMask_);
    return superGrabs_.count(static_cast<unsigned>(keycode) << 16 | modifiers) != 0;
}

bool X11Recorder::focusIsOwn() {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus != None && focus != PointerRoot &&
           windows_->own.owns(static_cast<xcb_window_t>(focus));
}

void X11Recorder::handleButton(RecordSink& sink, int button, bool down, unsigned long time) {
    RecordedEvent event;
    switch (button) {
    case 1: event.button = MouseButton::Left; break;
    case 2: event.button = MouseButton::Middle; break;
    case 3: event.button = MouseButton::Right; break;
    default: return;  // wheel and side buttons make no Mouse step
    }
    event.kind = down ? RecordedKind::ButtonDown : RecordedKind::ButtonUp;
    event.timeMs = static_cast<std::uint32_t>(time);
    Window root = None, child = None;
    int winX = 0, winY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &event.position.x,
                  &event.position.y, &winX, &winY, &mask);
    event.held = heldModifiers();
    // The windows as they were when the button went down: a menu that the click closed is gone
    // from the server by now, but not from this record of it.
    event.ownWindow = windows_->tops.ownAt(event.position);
    sink.recorded(event);
}

// The XTEST devices by name, found once per recording and again for an unknown device.
bool X11Recorder::isXTestDevice(int deviceId) {
    for (int id : xtestDevices_)
        if (id == deviceId) return true;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display_, deviceId, &count);
    bool xtest = false;
    for (int i = 0; i < count; ++i)
        xtest = xtest || std::string_view(devices[i].name).find("XTEST") != std::string_view::npos;
    if (devices != nullptr) XIFreeDeviceInfo(devices);
    if (xtest) xtestDevices_.push_back(deviceId);
    return xtest;
}

}  // namespace zs::x11
