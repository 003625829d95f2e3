// The root window's children as a connection's event stream tells of them: place, size,
// stacking and whether they belong to this process. Read in step with the input events of the
// same connection, it answers which top-level window lay under a point at the moment of a click,
// even when that window (a pop-up menu closed by the click) is gone by the time the click is
// looked at.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/input.h"
#include "platform/x11/own_clients.h"

namespace zs::x11 {

class TopLevels {
public:
    // Selects the structure events on the root and reads the children as they are now.
    void start(Display* display, OwnClients& own);
    // Follows one event of the connection; others are ignored.
    void apply(const XEvent& event);
    // Whether the topmost mapped child under the point is, or holds, one of the process's
    // windows.
    bool ownAt(Point point) const;

private:
    struct TopLevel {
        Window id = None;
        int x = 0, y = 0, width = 0, height = 0;
        bool mapped = false;
        bool own = false;  // created by this process, or a manager's frame around such a window
    };

    TopLevel* find(Window id);
    void add(const TopLevel& window);
    void remove(Window id);
    void restack(Window id, Window above);
    void reparented(const XReparentEvent& event);
    void markFrameOf(Window client);
    void markFramesOfOwnClients();

    Display* display_ = nullptr;
    OwnClients* own_ = nullptr;
    Window root_ = None;
    std::vector<TopLevel> stack_;  // bottom first
};

}  // namespace zs::x11
