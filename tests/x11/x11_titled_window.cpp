// A managed top-level window for the desktop tests: a title, one solid colour, and on request a
// refusal of the keyboard focus or a change of colour.
//
//   zs_x11_titled_window TITLE RRGGBB X Y WIDTH HEIGHT [--refuse-focus] [--turn RRGGBB MS]
//
// Prints "SHOWN <window>" once the window is mapped and exposed, then runs until it is killed.
// --refuse-focus sets the input hint to False and offers no WM_TAKE_FOCUS, so that a window
// manager never gives it the keyboard.
// --turn fills the window with the second colour MS milliseconds after it showed; "TURNING" is
// printed just before, so a test that saw the new colour knows the line is there.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Waits up to ms for an event of the display; false when the time ran out first.
bool EventWithin(Display* display, long ms) {
    if (XPending(display) > 0) return true;
    const int fd = ConnectionNumber(display);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    timeval timeout{ms / 1000, (ms % 1000) * 1000};
    return select(fd + 1, &readable, nullptr, nullptr, &timeout) > 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr, "usage: %s TITLE RRGGBB X Y WIDTH HEIGHT [--refuse-focus]"
                             " [--turn RRGGBB MS]\n", argv[0]);
        return 2;
    }
    bool refuseFocus = false;
    const char* turnColour = nullptr;
    long turnAfterMs = 0;
    for (int i = 7; i < argc; ++i) {
        if (std::strcmp(argv[i], "--refuse-focus") == 0) {
            refuseFocus = true;
        } else if (std::strcmp(argv[i], "--turn") == 0 && i + 2 < argc) {
            turnColour = argv[++i];
            turnAfterMs = std::atol(argv[++i]);
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = std::strtoul(argv[2], nullptr, 16);  // a TrueColor screen
    attributes.event_mask = ExposureMask | StructureNotifyMask;
    const int x = std::atoi(argv[3]), y = std::atoi(argv[4]);
    const Window window = XCreateWindow(
        display, RootWindow(display, screen), x, y, static_cast<unsigned>(std::atoi(argv[5])),
        static_cast<unsigned>(std::atoi(argv[6])), 0, CopyFromParent, InputOutput, CopyFromParent,
        CWBackPixel | CWEventMask, &attributes);
    XSizeHints size{};
    size.flags = USPosition | PPosition;
    size.x = x;
    size.y = y;
    XSetWMNormalHints(display, window, &size);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = refuseFocus ? False : True;
    XSetWMHints(display, window, &hints);
    XStoreName(display, window, argv[1]);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(argv[1]),
                    static_cast<int>(std::strlen(argv[1])));
    XMapWindow(display, window);
    using Clock = std::chrono::steady_clock;
    Clock::time_point turnAt{};
    bool shown = false;
    for (;;) {
        const long leftMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(turnAt - Clock::now()).count();
        if (shown && turnColour != nullptr && !EventWithin(display, leftMs > 0 ? leftMs : 0)) {
            std::printf("TURNING\n");
            std::fflush(stdout);
            XSetWindowBackground(display, window, std::strtoul(turnColour, nullptr, 16));
            XClearWindow(display, window);
            XFlush(display);
            turnColour = nullptr;
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && !shown) {
            shown = true;
            turnAt = Clock::now() + std::chrono::milliseconds(turnAfterMs);
            std::printf("SHOWN %lu\n", window);
            std::fflush(stdout);
        }
    }
}
