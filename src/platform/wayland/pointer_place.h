// Where the pointer is on a wlroots desktop, known cheaply and without disturbing anyone.
//
// No wlroots protocol tells a client where the pointer is unless the client's own surface is
// under it. XWayland knows it while the pointer is over an X11 window and keeps the last place
// once the pointer moves on to a native window. So the place is the latest of two sources: a
// move of XWayland's pointer (the user moved it over X11 windows), or the program's own move of
// the virtual pointer.
#pragma once

#include "platform/input.h"

typedef struct _XDisplay Display;

namespace zs::wayland {

class PointerPlace {
public:
    // Opens a connection to $DISPLAY (XWayland) when there is one.
    PointerPlace();
    ~PointerPlace();
    PointerPlace(const PointerPlace&) = delete;
    PointerPlace& operator=(const PointerPlace&) = delete;

    // The program moved the pointer to `place`.
    void movedTo(Point place);
    Point current();

private:
    Display* display_ = nullptr;
    Point latest_;
    Point lastSeenByX_;
};

}  // namespace zs::wayland
