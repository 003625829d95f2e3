// The list of input backends and the choice among them.
#include "platform/linux/input_backends.h"

#include <cstdlib>
#include <string>

#include "platform/x11/lost_connection.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_recorder.h"
#ifdef ZS_WAYLAND_INPUT
#include "platform/wayland/wayland_input.h"
#endif

namespace zs {
namespace {

// XTest and XInput2 on the X server of $DISPLAY.
class X11Session final : public InputSession {
public:
    explicit X11Session(std::unique_ptr<x11::X11Input> input) : input_(std::move(input)) {}
    Input& input() override { return *input_; }
    InputRecorder* recorder() override { return &recorder_; }
    Status endOnLostConnection() override {
        Display* const displays[] = {input_->display(), input_->escapeDisplay()};
        x11::EndProcessOnLostConnection(displays, 2);
        return Status::success();
    }

private:
    std::unique_ptr<x11::X11Input> input_;
    x11::X11Recorder recorder_{nullptr};
};

std::unique_ptr<InputSession> OpenX11(Status& status) {
    std::unique_ptr<x11::X11Input> input = x11::X11Input::Open(nullptr, status);
    if (!input) return nullptr;
    return std::make_unique<X11Session>(std::move(input));
}

bool WaylandDesktop() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return display != nullptr && *display != '\0';
}

#ifdef ZS_WAYLAND_INPUT
// A Wayland compositor's own input. The recorder sees what X11 sees: the input of XWayland
// windows.
class WaylandSession final : public InputSession {
public:
    explicit WaylandSession(std::unique_ptr<Input> input) : input_(std::move(input)) {}
    Input& input() override { return *input_; }
    InputRecorder* recorder() override { return &recorder_; }

private:
    std::unique_ptr<Input> input_;
    x11::X11Recorder recorder_{nullptr};
};

template <std::unique_ptr<Input> (*OpenInput)(Status&)>
std::unique_ptr<InputSession> OpenWayland(Status& status) {
    // GNOME's X11 session offers the same remote-desktop services, but XTest does everything
    // there, with no dialog.
    if (!WaylandDesktop()) {
        status = Status::failure("WAYLAND_DISPLAY", "this is not a Wayland session");
        return nullptr;
    }
    std::unique_ptr<Input> input = OpenInput(status);
    if (!input) return nullptr;
    return std::make_unique<WaylandSession>(std::move(input));
}
#endif

// In priority order: a Wayland compositor's own input where the session offers it, else XTest
// (which on a Wayland desktop reaches XWayland windows only).
constexpr InputBackend kBackends[] = {
#ifdef ZS_WAYLAND_INPUT
    {"wlroots", OpenWayland<OpenWlrootsInput>},
    {"gnome", OpenWayland<OpenGnomeRemoteDesktopInput>},
    {"portal", OpenWayland<OpenPortalRemoteDesktopInput>},
#endif
    {"x11", OpenX11},
};

constexpr const char* kWaylandReach =
    "On this Wayland desktop, mouse and keyboard steps reach only X11 (XWayland) windows: ";

}  // namespace

std::span<const InputBackend> InputBackends() { return kBackends; }

std::unique_ptr<InputSession> OpenInputSession(Status& status) {
    const char* named = std::getenv(kInputBackendVariable);
    std::string refusals;
    for (const InputBackend& backend : InputBackends()) {
        if (named && *named && backend.name != named) continue;
        if (auto session = backend.open(status)) {
            if (!refusals.empty() && backend.name == "x11" && WaylandDesktop())
                session->reachNotice = kWaylandReach + refusals;
            return session;
        }
        if (named && *named) return nullptr;
        if (!refusals.empty()) refusals += "; ";
        refusals += status.message;
    }
    if (named && *named)
        status = Status::failure(kInputBackendVariable, std::string("no input backend named ") + named);
    return nullptr;
}

}  // namespace zs
