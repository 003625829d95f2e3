// The X client that tests type and click into: it opens its own window, takes the focus and
// writes every key press, button press and sync request it receives as one line on stdout.
//
//   zs_x11_test_client [--delay-ms N] [--geometry X Y WIDTH HEIGHT] [--title TITLE]
//
//   --delay-ms N   sleep N ms after each key press, to act as a slow client
//   --geometry     window position and size (default 0 0 800 600)
//   --title TITLE  an application window with that title, which the window manager manages
//                  (without it the window bypasses the manager and sits exactly where asked)
//
// Output, one line each, flushed at once:
//   READY <window>                        the window is mapped and has the focus
//   KEY <keysym> <state> <text> <keycode> keysym and modifier state in hex; text is the UTF-8
//                                         the input method decoded, as hex bytes, "-" for none;
//                                         keycode in decimal
//   BUTTON <button> <root-x> <root-y>
//   SYNC <n>                              a ClientMessage of type ZS_SYNC with data.l[0] = n,
//                                         sent by a test once its input is out (see test_client.h)
// The client runs until it is killed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    int delayMs = 0;
    int x = 0, y = 0, width = 800, height = 600;
    std::string title;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--delay-ms" && i + 1 < argc) {
            options.delayMs = std::atoi(argv[++i]);
        } else if (arg == "--geometry" && i + 4 < argc) {
            options.x = std::atoi(argv[++i]);
            options.y = std::atoi(argv[++i]);
            options.width = std::atoi(argv[++i]);
            options.height = std::atoi(argv[++i]);
        } else if (arg == "--title" && i + 1 < argc) {
            options.title = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

std::string Hex(const char* bytes, int length) {
    if (length <= 0) return "-";
    std::string hex;
    char pair[3];
    for (int i = 0; i < length; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(bytes[i]));
        hex += pair;
    }
    return hex;
}

// Latin-1 bytes as UTF-8: what XLookupString gives when no input method is available.
int Latin1ToUtf8(const char* in, int length, char* out) {
    int n = 0;
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out[n++] = static_cast<char>(c);
        } else {
            out[n++] = static_cast<char>(0xC0 | (c >> 6));
            out[n++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return n;
}

void ReportKey(XKeyEvent& event, XIC ic, int delayMs) {
    char text[64] = {};
    KeySym keysym = NoSymbol;
    int length = 0;
    if (ic != nullptr) {
        Status status = 0;
        length = Xutf8LookupString(ic, &event, text, sizeof text - 1, &keysym, &status);
        if (status != XLookupChars && status != XLookupBoth) length = 0;
    } else {
        char latin1[32] = {};
        length = Latin1ToUtf8(latin1, XLookupString(&event, latin1, sizeof latin1 - 1, &keysym,
                                                    nullptr), text);
    }
    std::printf("KEY %lx %x %s %u\n", keysym, event.state, Hex(text, length).c_str(),
                event.keycode);
    std::fflush(stdout);
    if (delayMs > 0) usleep(static_cast<useconds_t>(delayMs) * 1000);
}

XIC OpenInputContext(Display* display, Window window) {
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr || !XSupportsLocale()) return nullptr;
    XSetLocaleModifiers("@im=none");
    XIM im = XOpenIM(display, nullptr, nullptr, nullptr);
    if (im == nullptr) return nullptr;
    return XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                     window, XNFocusWindow, window, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--delay-ms N] [--geometry X Y W H] [--title TITLE]\n",
                     argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    // Placed exactly where asked, window manager or not; a titled one is managed.
    attributes.override_redirect = options.title.empty() ? True : False;
    attributes.background_pixel = WhitePixel(display, screen);
    attributes.event_mask = KeyPressMask | ButtonPressMask | StructureNotifyMask | FocusChangeMask;
    const Window window = XCreateWindow(
        display, RootWindow(display, screen), options.x, options.y,
        static_cast<unsigned>(options.width), static_cast<unsigned>(options.height), 0,
        CopyFromParent, InputOutput, CopyFromParent,
        CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    if (!options.title.empty()) {
        XStoreName(display, window, options.title.c_str());
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(options.title.c_str()),
                        static_cast<int>(options.title.size()));
    }
    XIC ic = OpenInputContext(display, window);
    // Load the keyboard map now, as a client that has run for a while has, rather than on the
    // first key press, in the middle of the input under test.
    XKeyEvent warmUp{};
    warmUp.type = KeyPress;
    warmUp.display = display;
    warmUp.window = window;
    warmUp.keycode = XKeysymToKeycode(display, XK_space);
    char ignored[8];
    KeySym ignoredKeysym;
    XLookupString(&warmUp, ignored, sizeof ignored, &ignoredKeysym, nullptr);
    const Atom syncAtom = XInternAtom(display, "ZS_SYNC", False);
    XMapRaised(display, window);
    bool ready = false;
    auto lastClick = std::chrono::steady_clock::time_point{};
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (XFilterEvent(&event, None)) continue;
        switch (event.type) {
        case MapNotify:
            XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
            break;
        case FocusIn:
            if (!ready) std::printf("READY %lu\n", window);
            ready = true;
            break;
        case FocusOut:
            // A window manager can answer an earlier click on one of its windows only after
            // this click took the keyboard; were this window managed, the later click would win.
            if (event.xfocus.mode == NotifyNormal &&
                std::chrono::steady_clock::now() - lastClick < std::chrono::milliseconds(300)) {
                XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
            }
            break;
        case MappingNotify:
            XRefreshKeyboardMapping(&event.xmapping);
            break;
        case KeyPress:
            ReportKey(event.xkey, ic, options.delayMs);
            break;
        case ButtonPress:
            // A click gives an application the keyboard, as a window manager's click-to-focus
            // does; this window bypasses the manager to sit exactly where it was asked.
            XSetInputFocus(display, window, RevertToPointerRoot, event.xbutton.time);
            lastClick = std::chrono::steady_clock::now();
            std::printf("BUTTON %u %d %d\n", event.xbutton.button, event.xbutton.x_root,
                        event.xbutton.y_root);
            break;
        case ClientMessage:
            if (event.xclient.message_type == syncAtom) {
                std::printf("SYNC %ld\n", event.xclient.data.l[0]);
            }
            break;
        default:
            break;
        }
        std::fflush(stdout);
    }
}
