// The input backends of a Linux session, as one list tried in order at start-up.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/input.h"
#include "platform/recorder.h"
#include "platform/status.h"

namespace zs {

// What an input backend brings once it runs in this session.
class InputSession {
public:
    virtual ~InputSession() = default;
    virtual Input& input() = 0;
    // The desktop recorder; nullptr where the session lets the program see no input.
    virtual InputRecorder* recorder() { return nullptr; }
    // Ends the process the way the close box does when the backend loses its connection.
    virtual Status endOnLostConnection() { return Status::success(); }

    // What the user must know of where the steps' input arrives ("" when it arrives everywhere),
    // said before the first Mouse or Keyboard step acts.
    std::string reachNotice;
};

struct InputBackend {
    std::string_view name;
    // The backend running in this session; nullptr, with the reason in `status`, when the
    // session cannot do what it needs.
    std::unique_ptr<InputSession> (*open)(Status& status);
};

// The backends in the order they are tried.
std::span<const InputBackend> InputBackends();

// The environment variable that names the one backend to open (for tests).
inline constexpr const char* kInputBackendVariable = "ZS_INPUT_BACKEND";

// The first backend of the list that opens, or the one the environment variable names; nullptr
// with the reason in `status` when none opens. On a Wayland desktop where only the X11 backend
// opens, its reachNotice says why the others did not.
std::unique_ptr<InputSession> OpenInputSession(Status& status);

}  // namespace zs
