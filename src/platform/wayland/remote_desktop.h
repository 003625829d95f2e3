// A remote-desktop service that takes the program's input as keysyms, evdev buttons and absolute
// pointer moves: mutter's own service, or the desktop portal's. GnomeRemoteDesktopInput drives
// either through this. Also what both clients share: the choice of a monitor stream and
// synchronous GDBus calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef struct _GDBusConnection GDBusConnection;
typedef struct _GError GError;
typedef struct _GVariant GVariant;

namespace zs::wayland {

class RemoteDesktop {
public:
    virtual ~RemoteDesktop() = default;
    // Each returns false when the service did not take the event.
    virtual bool keysym(std::uint32_t keysym, bool down) = 0;
    virtual bool button(std::uint32_t evdevButton, bool down) = 0;
    // Moves to x, y of the desktop, through the stream of the monitor that holds the point.
    virtual bool moveTo(int x, int y) = 0;
};

// The monitor stream, of streams with their desktop origin in x and y, that takes a move to x, y:
// the last one whose origin lies left of and above the point, else the first; nullptr when
// there is none.
template <class Stream>
const Stream* StreamForPoint(const std::vector<Stream>& streams, int x, int y) {
    const Stream* chosen = streams.empty() ? nullptr : &streams.front();
    for (const Stream& stream : streams) {
        if (x >= stream.x && y >= stream.y) chosen = &stream;
    }
    return chosen;
}

// A failed call's message, with the error freed.
std::string TakeMessage(GError* error);

// Calls a method synchronously and returns its reply; nullptr with the message in `failure`.
GVariant* CallMethod(GDBusConnection* bus, const char* name, const std::string& path,
                     const char* interface, const char* method, GVariant* parameters,
                     std::string& failure, int timeoutMs);

// The object path a reply "(o)" holds; the reply is freed.
std::string TakeObjectPath(GVariant* reply);

}  // namespace zs::wayland
