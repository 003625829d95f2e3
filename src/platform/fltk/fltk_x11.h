// Window-manager requests on X11: top-most (_NET_WM_STATE_ABOVE), owner (WM_TRANSIENT_FOR) and
// input focus. Each works with an EWMH window manager and on a bare X server.
#pragma once

namespace zs::gui::fltk {

bool windowManagerRunning();
void setAbove(unsigned long window, bool on);
bool hasAboveState(unsigned long window);
void setTransientFor(unsigned long window, unsigned long owner);
void focusWindow(unsigned long window);

}  // namespace zs::gui::fltk
