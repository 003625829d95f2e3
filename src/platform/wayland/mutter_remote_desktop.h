// mutter's remote-desktop service (org.gnome.Mutter.RemoteDesktop) over D-Bus (GDBus): a
// session that takes keys and buttons, linked to screen-cast streams of the monitors, in whose
// coordinates absolute pointer moves are given. No dialog: mutter trusts the user's own session.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"
#include "platform/wayland/remote_desktop.h"

namespace zs::wayland {

class MutterRemoteDesktop final : public RemoteDesktop {
public:
    // Creates and starts a session with one stream per monitor; nullptr with the reason when
    // the session bus or mutter's service is missing.
    static std::unique_ptr<MutterRemoteDesktop> Open(Status& status);
    ~MutterRemoteDesktop() override;
    MutterRemoteDesktop(const MutterRemoteDesktop&) = delete;
    MutterRemoteDesktop& operator=(const MutterRemoteDesktop&) = delete;

    // Each call returns once mutter has taken the event.
    bool keysym(std::uint32_t keysym, bool down) override;
    bool button(std::uint32_t evdevButton, bool down) override;
    bool moveTo(int x, int y) override;

private:
    struct Stream {
        std::string path;
        int x = 0, y = 0;
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
