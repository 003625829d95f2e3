// Which windows belong to this process. A window's id lies in the id range of the X connection
// that created it, so the id alone tells its owner, even after the window is gone; the
// X-Resource extension names the process behind each connection.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <set>

namespace zs::x11 {

class OwnClients {
public:
    explicit OwnClients(xcb_connection_t* c);
    // True for a window created by one of this process's connections. Without the X-Resource
    // extension, or for a connection it cannot place, the window's _NET_WM_PID decides (false
    // once the window is gone).
    bool owns(xcb_window_t window);

private:
    void learnClients();
    bool carriesOwnPid(xcb_window_t window);

    xcb_connection_t* c_;
    std::uint32_t idMask_;
    bool resourceExtension_ = false;
    std::set<std::uint32_t> ownBases_, otherBases_;
};

}  // namespace zs::x11
