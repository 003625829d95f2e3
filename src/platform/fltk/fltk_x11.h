// Window-manager requests on X11: top-most (_NET_WM_STATE_ABOVE), owner (WM_TRANSIENT_FOR),
// frame functions (_MOTIF_WM_HINTS) and input focus. Each works with an EWMH window manager and
// on a bare X server.
#pragma once

#include <functional>

class Fl_Window;

namespace zs::gui::fltk {

// Maps a window that belongs to owner (nullptr: to none). The owner hint, and what
// beforeManaged writes on the window (given its X id), are there before the window manager
// first sees the window, so that it stacks the window above its owner at once.
void showOwned(Fl_Window& window, Fl_Window* owner,
               const std::function<void(unsigned long)>& beforeManaged = {});
// Waits until the window has been drawn once, but never longer than the given seconds: a window
// manager may leave a window hidden below a top-most one, and then no expose ever comes.
void waitExposed(Fl_Window& window, double seconds = 0.5);
// A frame that offers moving and, with closeBox, closing only: no minimise or maximise box.
void setFixedFrame(unsigned long window, bool closeBox);
// Marks a top-level window as a tool window (EWMH toolbar type, normal where that is unknown):
// window managers that keep a minimise box whatever the frame hints say (openbox) drop it then.
void setToolWindowType(unsigned long window);

// Runs fn and then puts back Xlib's error handlers as they were: a desktop's file dialog (GTK)
// installs its own fatal-error handler, which would end the program on a lost connection
// without releasing the keys it holds.
void keepingXErrorHandlers(const std::function<void()>& fn);
// Runs fn, which acts on windows of other clients that may go at any time, ignoring the errors
// that causes.
void ignoringXErrors(const std::function<void()>& fn);

// A shown top-level window of another client (the desktop's file dialog) that is transient for
// owner; 0 when there is none.
unsigned long foreignTransientFor(unsigned long owner);

bool windowManagerRunning();
void setAbove(unsigned long window, bool on);
bool hasAboveState(unsigned long window);
void setTransientFor(unsigned long window, unsigned long owner);
void focusWindow(unsigned long window);

}  // namespace zs::gui::fltk
