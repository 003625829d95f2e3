// A managed top-level window for the desktop tests: a title, one solid colour, and on request a
// refusal of the keyboard focus.
//
//   zs_x11_titled_window TITLE RRGGBB X Y WIDTH HEIGHT [--refuse-focus]
//
// Prints "SHOWN <window>" once the window is mapped and exposed, then runs until it is killed.
// --refuse-focus sets the input hint to False and offers no WM_TAKE_FOCUS, so that a window
// manager never gives it the keyboard.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr, "usage: %s TITLE RRGGBB X Y WIDTH HEIGHT [--refuse-focus]\n", argv[0]);
        return 2;
    }
    const bool refuseFocus = argc > 7 && std::strcmp(argv[7], "--refuse-focus") == 0;
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
    bool shown = false;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && !shown) {
            shown = true;
            std::printf("SHOWN %lu\n", window);
            std::fflush(stdout);
        }
    }
}
