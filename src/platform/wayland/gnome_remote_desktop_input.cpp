// GNOME's remote desktop: not there yet; the factory refuses.
#include "platform/wayland/wayland_input.h"

namespace zs {

std::unique_ptr<Input> OpenGnomeRemoteDesktopInput(Status& status) {
    status = Status::failure("org.gnome.Mutter.RemoteDesktop", "this build has no GNOME backend");
    return nullptr;
}

}  // namespace zs
