// The desktop portal's remote desktop (org.freedesktop.portal.RemoteDesktop, with ScreenCast's
// monitor streams for absolute moves): what KDE Plasma offers, and GNOME where mutter's own
// service cannot be reached. The user allows each session in the portal's dialog.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"
#include "platform/wayland/remote_desktop.h"

typedef struct _GMainContext GMainContext;

namespace zs::wayland {

class PortalRemoteDesktop final : public RemoteDesktop {
public:
    // Creates a session for keyboard and pointer on every monitor and starts it: the portal
    // asks the user, and this waits for the answer as long as the dialog is up. nullptr with the
    // reason when there is no portal, it offers no remote desktop, or the user refused.
    static std::unique_ptr<PortalRemoteDesktop> Open(Status& status);
    ~PortalRemoteDesktop() override;
    PortalRemoteDesktop(const PortalRemoteDesktop&) = delete;
    PortalRemoteDesktop& operator=(const PortalRemoteDesktop&) = delete;

    // Each returns once the portal has taken the event on its way to the compositor.
    bool keysym(std::uint32_t keysym, bool down) override;
    bool button(std::uint32_t evdevButton, bool down) override;
    bool moveTo(int x, int y) override;

private:
    struct Stream {
        std::uint32_t node = 0;
        int x = 0, y = 0;
    };
    struct Answer;

    PortalRemoteDesktop() = default;
    Status checkOffered();
    Status start();
    Status recordStreams(GVariant* results);
    // Calls a method that answers through a Request object and waits for its Response; the
    // results (a{sv}) in `results`, to be freed. `bounded`: give up when no answer comes soon.
    Status request(const char* interface, const char* method, GVariant* parameters,
                   const std::string& token, bool bounded, GVariant*& results);
    void awaitAnswer(GMainContext* context, Answer& answer, bool bounded);
    static Status Outcome(const std::string& call, const char* method, Answer& answer,
                          GVariant*& results);
    // A request on the session with the given options, whose results are not needed.
    Status choose(const char* interface, const char* method,
                  std::initializer_list<std::pair<const char*, GVariant*>> options);
    bool notify(const char* method, GVariant* parameters);

    GDBusConnection* bus_ = nullptr;
    std::string session_;  // object path of the portal's session
    std::vector<Stream> streams_;
};

}  // namespace zs::wayland
