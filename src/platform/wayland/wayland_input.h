// Input backends for Wayland desktops, where XTest reaches X11 (XWayland) windows only. Each
// factory returns nullptr with a short reason when this session cannot do what it needs; the
// reason completes "mouse and keyboard steps reach only X11 (XWayland) windows: ".
#pragma once

#include <memory>

#include "platform/input.h"
#include "platform/status.h"

namespace zs {

// wlroots compositors (sway, labwc, Hyprland, river): the virtual pointer and virtual keyboard
// protocols.
std::unique_ptr<Input> OpenWlrootsInput(Status& status);

// GNOME (mutter's remote-desktop service) and, where mutter's own service is missing, the
// desktop portal's remote desktop (KDE and others; asks the user's consent).
std::unique_ptr<Input> OpenGnomeRemoteDesktopInput(Status& status);

}  // namespace zs
