// ZS_INPUT_BACKEND: the one place that reads it.
#include "platform/wayland/input_named_in_environment.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/wayland/wayland_input.h"

namespace zs {

std::unique_ptr<Input> OpenInputNamedInEnvironment(Status& status) {
    status = Status::success();
    const char* name = std::getenv("ZS_INPUT_BACKEND");
    if (name == nullptr || *name == '\0') return nullptr;
    const std::string_view backend = name;
    if (backend == "wlroots") return OpenWlrootsInput(status);
    if (backend == "gnome") return OpenGnomeRemoteDesktopInput(status);
    status = Status::failure("ZS_INPUT_BACKEND", "no input backend is named " + std::string(name));
    return nullptr;
}

}  // namespace zs
