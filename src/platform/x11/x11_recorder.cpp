// XInput2 raw events to recorded events: keycodes translated with the current keyboard map, the
// pointer's position and the window under it asked for at each press.
#include "platform/x11/x11_recorder.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#undef Status  // Xlib's name for int; Status below is zs::Status
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/x11/recorded_keys.h"

namespace zs::x11 {

void X11Recorder::setOwnInputTest(std::function<bool()> injecting) {
    std::lock_guard lock(testMutex_);
    ownInjection_ = std::move(injecting);
}

bool X11Recorder::programInjects() {
    std::lock_guard lock(testMutex_);
    return ownInjection_ && ownInjection_();
}

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
    for (int& fd : wakePipe_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
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
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0) return Status::failure("pipe2", std::strerror(errno));
    escapeKeycode_ = XKeysymToKeycode(display_, XK_Escape);
    keys_ = {};
    xtestDevices_.clear();
    loadKeyboardMap();
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
                if (event.xmapping.request == MappingKeyboard) loadKeyboardMap();
                continue;
            }
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

void X11Recorder::handleKey(RecordSink& sink, int keycode, bool down, unsigned long time) {
    if (keycode == escapeKeycode_) {
        if (down) sink.escapePressed();
        return;
    }
    const unsigned long base = keysymAt(keycode, 0);
    if (base == XK_Shift_L || base == XK_Shift_R) keys_.shift = down;
    if (base == XK_ISO_Level3_Shift || base == XK_Mode_switch) keys_.level3 = down;
    RecordedEvent event;
    event.kind = down ? RecordedKind::KeyDown : RecordedKind::KeyUp;
    event.timeMs = static_cast<std::uint32_t>(time);
    event.vk = RecordedVk(base);
    if (down) {
        XkbStateRec state{};
        const int group = XkbGetState(display_, XkbUseCoreKbd, &state) == Success && state.group == 1;
        const int level = (keys_.shift ? 1 : 0) + (keys_.level3 ? 2 : 0);
        unsigned long keysym = keysymAt(keycode, CoreMapColumn(group, level));
        if (keysym == NoSymbol && level == 1) {
            // A key with one keysym: Xlib's rule makes a letter upper case with Shift.
            KeySym lower = 0, upper = 0;
            XConvertCase(base, &lower, &upper);
            keysym = upper;
        }
        if (keysym == NoSymbol) keysym = keysymAt(keycode, CoreMapColumn(group, 0));
        event.text = TypedCharacter(keysym);
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        event.ownWindow = focus != None && focus != PointerRoot && isOwnWindow(focus);
    }
    sink.recorded(event);
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
    const unsigned long window = deepestWindowAt(event.position.x, event.position.y);
    event.ownWindow = window != None && isOwnWindow(window);
    sink.recorded(event);
}

void X11Recorder::loadKeyboardMap() {
    int last = 0;
    XDisplayKeycodes(display_, &firstKeycode_, &last);
    KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(firstKeycode_),
                                      last - firstKeycode_ + 1, &keysymsPerKeycode_);
    keyboardMap_.clear();
    if (map == nullptr) return;
    keyboardMap_.assign(map, map + (last - firstKeycode_ + 1) * keysymsPerKeycode_);
    XFree(map);
}

unsigned long X11Recorder::keysymAt(int keycode, int column) const {
    if (keycode < firstKeycode_ || column >= keysymsPerKeycode_) return NoSymbol;
    const auto at = static_cast<std::size_t>((keycode - firstKeycode_) * keysymsPerKeycode_ + column);
    return at < keyboardMap_.size() ? keyboardMap_[at] : NoSymbol;
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

// A window is the program's own when it or a window above it carries the program's process id.
bool X11Recorder::isOwnWindow(unsigned long window) {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    const Window root = DefaultRootWindow(display_);
    for (int depth = 0; window != None && window != root && depth < 64; ++depth) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) == Success && data != nullptr) {
            const bool own = format == 32 && count == 1 &&
                             *reinterpret_cast<unsigned long*>(data) ==
                                 static_cast<unsigned long>(::getpid());
            XFree(data);
            if (format == 32 && count == 1) return own;
        }
        Window parent = None, rootReturn = None;
        Window* children = nullptr;
        unsigned int childCount = 0;
        if (!XQueryTree(display_, window, &rootReturn, &parent, &children, &childCount)) return false;
        if (children != nullptr) XFree(children);
        window = parent;
    }
    return false;
}

// The pointer's screen position and the innermost window under it.
unsigned long X11Recorder::deepestWindowAt(int& x, int& y) {
    Window window = DefaultRootWindow(display_), deepest = None;
    for (int depth = 0; window != None && depth < 64; ++depth) {
        Window root = None, child = None;
        int winX = 0, winY = 0;
        unsigned mask = 0;
        if (!XQueryPointer(display_, window, &root, &child, &x, &y, &winX, &winY, &mask)) break;
        if (child == None) break;
        deepest = child;
        window = child;
    }
    return deepest;
}

}  // namespace zs::x11
