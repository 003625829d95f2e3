// The pointer's exact place on a wlroots desktop, read on demand.
//
// No wlroots protocol tells a client where the pointer is, except over a surface of its own.
// So for one reading the program puts a transparent overlay over every output: the compositor
// tells the overlay under the pointer where the pointer entered it, and the overlays go again.
#pragma once

#include <optional>

#include "platform/input.h"

namespace zs::wayland {

class WaylandConnection;

// The pointer's place in layout coordinates; nullopt when the compositor offers no layer shell
// or shared memory, or tells nothing in time. Blocks for a few round trips.
std::optional<Point> ReadPointerThroughOverlay(WaylandConnection& connection);

}  // namespace zs::wayland
