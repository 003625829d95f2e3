// A lost connection to the X server ends the program; where the server is still there (only
// the window's connection was closed), the keys the input holds are released first.
#pragma once

typedef struct _XDisplay Display;

namespace zs::x11 {

// Installs Xlib's fatal-error handler: it runs the exit action, unless the lost connection is
// one of `inputDisplays` (the input cannot send anything then), and ends the process.
void EndProcessOnLostConnection(Display* const* inputDisplays, int count);

}  // namespace zs::x11
