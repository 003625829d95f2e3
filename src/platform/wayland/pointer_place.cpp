// The pointer's place from XWayland's pointer and the program's own moves.
#include "platform/wayland/pointer_place.h"

#include <X11/Xlib.h>

namespace zs::wayland {

PointerPlace::PointerPlace() {
    XInitThreads();
    display_ = XOpenDisplay(nullptr);
    current();  // where XWayland's pointer stands counts only once it moves
}

PointerPlace::~PointerPlace() {
    if (display_) XCloseDisplay(display_);
}

void PointerPlace::movedTo(Point place) { latest_ = place; }

Point PointerPlace::current() {
    if (display_ == nullptr) return latest_;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &winX,
                  &winY, &mask);
    const Point seen{rootX, rootY};
    // A place XWayland has not changed is either still true or stale: the program's own move,
    // if later, is the better guess.
    if (seen != lastSeenByX_) latest_ = seen;
    lastSeenByX_ = seen;
    return latest_;
}

}  // namespace zs::wayland
