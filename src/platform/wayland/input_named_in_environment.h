// Temporary, for tests by hand until start-up tries a list of input backends: the environment
// variable ZS_INPUT_BACKEND ("wlroots" or "gnome") opens that Wayland backend for the program's
// steps in place of XTest. Everything else stays as the platform's services have it.
#pragma once

#include <memory>

#include "platform/input.h"
#include "platform/status.h"

namespace zs {

// nullptr with success when the variable is not set; nullptr with the reason when the named
// backend cannot open or the name is unknown.
std::unique_ptr<Input> OpenInputNamedInEnvironment(Status& status);

}  // namespace zs
