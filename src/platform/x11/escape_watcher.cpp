// Escape watcher: XInput2 raw key presses on the root window, read on a connection of its own.
#include "platform/x11/escape_watcher.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#undef Status  // Xlib's name for int; Status below is zs::Status
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/x11/xtest_devices.h"

namespace zs::x11 {

EscapeWatcher::EscapeWatcher(const char* displayName, Status& status) {
    XInitThreads();
    display_ = XOpenDisplay(displayName);
    if (display_ == nullptr) {
        status = Status::failure("XOpenDisplay", "cannot open the display");
        return;
    }
    escapeKeycode_ = XKeysymToKeycode(display_, XK_Escape);
    status = start();
}

EscapeWatcher::~EscapeWatcher() {
    if (thread_.joinable()) {
        const char stop = 0;
        (void)!::write(wakePipe_[1], &stop, 1);
        thread_.join();
    }
    for (int fd : wakePipe_) {
        if (fd >= 0) ::close(fd);
    }
    if (display_ != nullptr) XCloseDisplay(display_);
}

Status EscapeWatcher::start() {
    int event = 0, error = 0;
    if (!XQueryExtension(display_, "XInputExtension", &xiOpcode_, &event, &error)) {
        return Status::failure("XQueryExtension", "no XInputExtension");
    }
    int major = 2, minor = 2;
    if (XIQueryVersion(display_, &major, &minor) != Success) {
        return Status::failure("XIQueryVersion", "XInput 2.2 is missing");
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    // Hierarchy changes are reported for XIAllDevices only.
    unsigned char hierarchyBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(hierarchyBits, XI_HierarchyChanged);
    XIEventMask hierarchyMask{XIAllDevices, sizeof hierarchyBits, hierarchyBits};
    XISelectEvents(display_, DefaultRootWindow(display_), &hierarchyMask, 1);
    xtestDevices_ = XTestDeviceIds(display_);
    XSync(display_, False);
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0) return Status::failure("pipe2", std::strerror(errno));
    rawEvents_ = true;
    thread_ = std::thread([this] { watch(); });
    return Status::success();
}

// Keeps the server from piling up raw events while the player is busy elsewhere.
void EscapeWatcher::watch() {
    pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[1].revents != 0) return;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
        std::lock_guard lock(mutex_);
        drainEvents();
    }
}

void EscapeWatcher::drainEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xiOpcode_) continue;
        if (!XGetEventData(display_, cookie)) continue;
        if (cookie->evtype == XI_HierarchyChanged) {
            xtestDevices_ = XTestDeviceIds(display_);  // a master device came or went
        } else {
            handleRawKey(cookie->evtype, cookie->data);
        }
        XFreeEventData(display_, cookie);
    }
}

void EscapeWatcher::handleRawKey(int evtype, const void* rawEvent) {
    if (evtype != XI_RawKeyPress && evtype != XI_RawKeyRelease) return;
    const auto* raw = static_cast<const XIRawEvent*>(rawEvent);
    if (raw->detail != escapeKeycode_) return;
    if (evtype == XI_RawKeyRelease || (raw->flags & XIKeyRepeat) != 0) return;
    if (ownPressesExpected_ > 0 && IsFromXTestDevice(raw->sourceid, xtestDevices_)) {
        --ownPressesExpected_;
        return;
    }
    pressed_ = true;
}

void EscapeWatcher::expectOwnPress() {
    std::lock_guard lock(mutex_);
    ++ownPressesExpected_;
}

bool EscapeWatcher::escapeDownNow() {
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    return escapeKeycode_ > 0 && (keys[escapeKeycode_ / 8] >> (escapeKeycode_ % 8)) & 1;
}

bool EscapeWatcher::pressedSinceLastCall() {
    if (display_ == nullptr) return false;
    std::lock_guard lock(mutex_);
    // The round trip brings every event the server produced before it into the queue.
    XSync(display_, False);
    if (rawEvents_) drainEvents();
    const bool pressed = pressed_ || escapeDownNow();
    pressed_ = false;
    // Every Escape the program pressed before this call has been seen by now.
    ownPressesExpected_ = 0;
    return pressed;
}

}  // namespace zs::x11
