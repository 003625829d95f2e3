// Small helpers for XCB requests: replies that free themselves, atoms by name, window
// properties. XCB hands a failed request's error to the caller that waits for its reply, so a
// window that vanished between two requests is an empty answer here, never a process-wide Xlib
// error handler's business.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace zs::x11 {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

// Waits for a reply; nullptr when the request failed (its error is dropped).
template <class T, class Cookie, class Fetch>
Reply<T> Await(xcb_connection_t* c, Cookie cookie, Fetch fetch) {
    xcb_generic_error_t* error = nullptr;
    Reply<T> reply(fetch(c, cookie, &error));
    std::free(error);
    return reply;
}

// Interns every name in one round trip; XCB_ATOM_NONE for a name that failed.
std::vector<xcb_atom_t> InternAtoms(xcb_connection_t* c, const std::vector<const char*>& names);

// A property request already sent, read when its reply is needed (so that many go out at once).
class PropertyRequest {
public:
    PropertyRequest(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                    xcb_atom_t type, std::uint32_t maxWords = 1024);
    PropertyRequest(PropertyRequest&& other) noexcept;
    PropertyRequest& operator=(PropertyRequest&&) = delete;
    ~PropertyRequest();  // a reply never read is discarded, not kept by XCB
    // 32-bit values (windows, atoms, cardinals); empty for a missing property or another format.
    std::vector<std::uint32_t> words();
    // 8-bit text as stored; `type` tells which type it had (XCB_ATOM_NONE when missing).
    std::string text(xcb_atom_t* type = nullptr);

private:
    Reply<xcb_get_property_reply_t> reply();
    xcb_connection_t* c_ = nullptr;
    xcb_get_property_cookie_t cookie_{};
    bool sent_ = false;
};

// Latin-1 bytes (the STRING type of window titles) as UTF-8.
std::string Latin1ToUtf8(const std::string& latin1);

}  // namespace zs::x11
