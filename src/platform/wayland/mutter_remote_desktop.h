// mutter's remote-desktop service (org.gnome.Mutter.RemoteDesktop) over D-Bus (GDBus): a
// session that takes keys and buttons, linked to screen-cast streams of the monitors, in whose
// coordinates absolute pointer moves are given. No dialog: mutter trusts the user's own session.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"

typedef struct _GDBusConnection GDBusConnection;

namespace zs::wayland {

class MutterRemoteDesktop {
public:
    // Creates and starts a session with one stream per monitor; nullptr with the reason when
    // the session bus or mutter's service is missing.
    static std::unique_ptr<MutterRemoteDesktop> Open(Status& status);
    ~MutterRemoteDesktop();
    MutterRemoteDesktop(const MutterRemoteDesktop&) = delete;
    MutterRemoteDesktop& operator=(const MutterRemoteDesktop&) = delete;

    // Each call returns once mutter has taken the event; false when the call failed.
    bool keysym(std::uint32_t keysym, bool down);
    bool button(std::uint32_t evdevButton, bool down);
    // Moves to x, y of the desktop, through the stream of the monitor that holds the point.
    bool moveTo(int x, int y);

private:
    struct Stream {
        std::string path;
        int x = 0, y = 0, width = 0, height = 0;
    };

    MutterRemoteDesktop() = default;
    Status start();
    Status recordMonitors(const std::string& screenCastSession);
    bool call(const char* method, void* parameters);  // a GVariant*, taken

    GDBusConnection* bus_ = nullptr;
    std::string session_;  // object path of the remote-desktop session
    std::vector<Stream> streams_;
};

}  // namespace zs::wayland
