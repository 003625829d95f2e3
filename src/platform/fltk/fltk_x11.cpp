
#include "platform/fltk/fltk_x11.h"

// Fl_X, which tells whether a window still waits for its first expose, is declared for these.
#define FL_INTERNALS
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace zs::gui::fltk {

namespace {

Atom atom(const char* name) { return XInternAtom(fl_display, name, False); }

std::vector<Atom> readAtoms(Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> atoms;
    if (XGetWindowProperty(fl_display, window, property, 0, 64, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success && data) {
        if (type == XA_ATOM && format == 32) {
            auto* values = reinterpret_cast<Atom*>(data);
            atoms.assign(values, values + count);
        }
        XFree(data);
    }
    return atoms;
}

void sendToRoot(Window window, Atom message, long l0, long l1, long l2, long l3) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = message;
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

bool isViewable(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(fl_display, window, &attributes) &&
           attributes.map_state == IsViewable;
}

bool isTopLevelAbove(Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(fl_display, window, &attributes)) return false;
    return attributes.map_state == IsViewable && !attributes.override_redirect &&
           hasAboveState(window);
}

// A window of another program that would hide a top-most one. The program's own windows
// (alerts of the file chooser, pop-up menus) are meant to lie above it.
bool coversAbove(Window window) {
    if (fl_find(window)) return false;
    XWindowAttributes attributes{};
    return XGetWindowAttributes(fl_display, window, &attributes) &&
           attributes.map_state == IsViewable && !attributes.override_redirect &&
           !hasAboveState(window);
}

// Without a window manager nothing keeps a top-most window on top: when an ordinary window
// of another program lands above one, all top-most windows are raised again in their own order,
// so that a dialog stays above the window it belongs to.
void restackTopMost(Window obscured) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(fl_display, RootWindow(fl_display, fl_screen), &root, &parent, &children,
                    &count)) {
        return;
    }
    std::vector<Window> order(children, children + count);  // bottom to top
    if (children) XFree(children);
    auto at = std::find(order.begin(), order.end(), obscured);
    if (at == order.end() || std::none_of(at + 1, order.end(), coversAbove)) return;
    for (Window window : order) {
        if (isTopLevelAbove(window)) XRaiseWindow(fl_display, window);
    }
    XFlush(fl_display);
}

int onVisibility(void* xevent, void*) {
    const auto* event = static_cast<const XEvent*>(xevent);
    if (event->type == VisibilityNotify && event->xvisibility.state != VisibilityUnobscured &&
        hasAboveState(event->xvisibility.window) && !windowManagerRunning()) {
        restackTopMost(event->xvisibility.window);
    }
    return 0;  // FLTK handles the event as well
}

void watchVisibility(Window window) {
    static bool installed = false;
    if (!installed) {
        Fl::add_system_handler(onVisibility, nullptr);
        installed = true;
    }
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(fl_display, window, &attributes)) {
        XSelectInput(fl_display, window, attributes.your_event_mask | VisibilityChangeMask);
    }
}

}  // namespace

void keepingXErrorHandlers(const std::function<void()>& fn) {
    const XIOErrorHandler ioHandler = XSetIOErrorHandler(nullptr);
    XSetIOErrorHandler(ioHandler);
    const XErrorHandler errorHandler = XSetErrorHandler(nullptr);
    XSetErrorHandler(errorHandler);
    fn();
    XSetIOErrorHandler(ioHandler);
    XSetErrorHandler(errorHandler);
}

unsigned long foreignTransientFor(unsigned long owner) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!owner || !XQueryTree(fl_display, RootWindow(fl_display, fl_screen), &root, &parent,
                              &children, &count)) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = count; i-- > 0 && !found;) {  // topmost first
        Window transientFor = 0;
        XWindowAttributes attributes{};
        if (!fl_find(children[i]) && XGetTransientForHint(fl_display, children[i], &transientFor) &&
            transientFor == owner && XGetWindowAttributes(fl_display, children[i], &attributes) &&
            attributes.map_state == IsViewable && !attributes.override_redirect) {
            found = children[i];
        }
    }
    if (children) XFree(children);
    return found;
}

void ignoringXErrors(const std::function<void()>& fn) {
    XSync(fl_display, False);
    const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    fn();
    XSync(fl_display, False);
    XSetErrorHandler(previous);
}

bool windowManagerRunning() {
    fl_open_display();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen),
                           atom("_NET_SUPPORTING_WM_CHECK"), 0, 1, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success && data) {
        found = count == 1;
        XFree(data);
    }
    return found;
}

void setAbove(unsigned long window, bool on) {
    if (!window) return;
    Atom state = atom("_NET_WM_STATE");
    Atom above = atom("_NET_WM_STATE_ABOVE");
    // The window manager owns the state of a mapped window and changes it on request; with none
    // running the property is written directly, so that it still tells the truth.
    sendToRoot(window, state, on ? 1 : 0, static_cast<long>(above), 0, 1);
    if (!windowManagerRunning()) {
        std::vector<Atom> atoms = readAtoms(window, state);
        atoms.erase(std::remove(atoms.begin(), atoms.end(), above), atoms.end());
        if (on) atoms.push_back(above);
        XChangeProperty(fl_display, window, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(atoms.data()),
                        static_cast<int>(atoms.size()));
        if (on) {
            watchVisibility(window);
            XRaiseWindow(fl_display, window);
        }
    }
    XFlush(fl_display);
}

bool hasAboveState(unsigned long window) {
    if (!window) return false;
    std::vector<Atom> atoms = readAtoms(window, atom("_NET_WM_STATE"));
    return std::find(atoms.begin(), atoms.end(), atom("_NET_WM_STATE_ABOVE")) != atoms.end();
}

void setTransientFor(unsigned long window, unsigned long owner) {
    if (!window || !owner) return;
    XSetTransientForHint(fl_display, window, owner);
    XFlush(fl_display);
}

void showOwned(Fl_Window& window, Fl_Window* owner,
               const std::function<void(unsigned long)>& beforeManaged) {
    bool owned = owner && owner->shown();
    if (owned && !window.shown()) {
        // FLTK puts the hint on a non-modal window before mapping it, naming the window at the
        // head of its list; the owner is put there first.
        if (!window.modal()) window.set_non_modal();
        Fl::first_window(owner);
    }
    // A window manager reads a window's hints when it takes the window on, and some never
    // again: with the server held, the map request waits until they are all written.
    XGrabServer(fl_display);
    window.show();
    if (owned) XSetTransientForHint(fl_display, fl_xid(&window), fl_xid(owner));
    if (beforeManaged) beforeManaged(fl_xid(&window));
    XUngrabServer(fl_display);
    XFlush(fl_display);
}

void waitExposed(Fl_Window& window, double seconds) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        Fl_X* x = Fl_X::i(&window);
        double left = std::chrono::duration<double>(deadline - Clock::now()).count();
        if (!x || !x->wait_for_expose || left <= 0) return;
        Fl::wait(left);
    }
}

void setFixedFrame(unsigned long window, bool closeBox) {
    if (!window) return;
    // The layout of _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
    constexpr long kFunctions = 1, kDecorations = 2;
    constexpr long kFuncMove = 4, kFuncClose = 32;
    constexpr long kDecorBorder = 2, kDecorTitle = 8, kDecorMenu = 16;
    long hints[5] = {kFunctions | kDecorations, kFuncMove | (closeBox ? kFuncClose : 0),
                     kDecorBorder | kDecorTitle | (closeBox ? kDecorMenu : 0), 0, 0};
    Atom motif = atom("_MOTIF_WM_HINTS");
    XChangeProperty(fl_display, window, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(hints), 5);
    XFlush(fl_display);
}

void setToolWindowType(unsigned long window) {
    if (!window) return;
    Atom types[2] = {atom("_NET_WM_WINDOW_TYPE_TOOLBAR"), atom("_NET_WM_WINDOW_TYPE_NORMAL")};
    XChangeProperty(fl_display, window, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(types), 2);
    XFlush(fl_display);
}

void focusWindow(unsigned long window) {
    if (!window) return;
    if (windowManagerRunning()) {
        sendToRoot(window, atom("_NET_ACTIVE_WINDOW"), 2, CurrentTime, 0, 0);
    } else if (isViewable(window)) {
        XSetInputFocus(fl_display, window, RevertToParent, CurrentTime);
    }
    XFlush(fl_display);
}

}  // namespace zs::gui::fltk
