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

// GNOME: mutter's remote-desktop service, which asks nothing.
std::unique_ptr<Input> OpenGnomeRemoteDesktopInput(Status& status);

// The desktop portal's remote desktop (KDE Plasma, and GNOME where mutter's own service cannot be
// reached): waits until the user answers the portal's dialog.
std::unique_ptr<Input> OpenPortalRemoteDesktopInput(Status& status);

}  // namespace zs
