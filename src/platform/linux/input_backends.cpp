// The list of input backends and the choice among them.
#include "platform/linux/input_backends.h"

#include <cstdlib>
#include <string>

#include "platform/x11/lost_connection.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_recorder.h"

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

constexpr InputBackend kBackends[] = {
    {"x11", OpenX11},
};

}  // namespace

std::span<const InputBackend> InputBackends() { return kBackends; }

std::unique_ptr<InputSession> OpenInputSession(Status& status) {
    const char* named = std::getenv(kInputBackendVariable);
    for (const InputBackend& backend : InputBackends()) {
        if (named && *named && backend.name != named) continue;
        if (auto session = backend.open(status)) return session;
        if (named && *named) return nullptr;
    }
    if (named && *named)
        status = Status::failure(kInputBackendVariable, std::string("no input backend named ") + named);
    return nullptr;
}

}  // namespace zs
