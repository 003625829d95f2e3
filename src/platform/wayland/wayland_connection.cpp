// Registry of the globals and the output layout, read with round trips on the default queue.
#include "platform/wayland/wayland_connection.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace zs::wayland {
namespace {

template <typename T>
T* Bind(wl_registry* registry, std::uint32_t name, const wl_interface* interface,
        std::uint32_t offered, std::uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

OutputPlace* PlaceOf(std::vector<OutputPlace>& outputs, zxdg_output_v1* xdgOutput) {
    for (OutputPlace& place : outputs) {
        if (place.xdgOutput == xdgOutput) return &place;
    }
    return nullptr;
}

void OnLogicalPosition(void* data, zxdg_output_v1* xdgOutput, int32_t x, int32_t y) {
    auto* outputs = static_cast<std::vector<OutputPlace>*>(data);
    if (OutputPlace* place = PlaceOf(*outputs, xdgOutput)) place->x = x, place->y = y;
}

void OnLogicalSize(void* data, zxdg_output_v1* xdgOutput, int32_t width, int32_t height) {
    auto* outputs = static_cast<std::vector<OutputPlace>*>(data);
    if (OutputPlace* place = PlaceOf(*outputs, xdgOutput)) {
        place->width = width, place->height = height;
    }
}

void Ignore() {}

const zxdg_output_v1_listener kXdgOutputListener = {
    OnLogicalPosition,
    OnLogicalSize,
    [](void*, zxdg_output_v1*) { Ignore(); },
    [](void*, zxdg_output_v1*, const char*) { Ignore(); },
    [](void*, zxdg_output_v1*, const char*) { Ignore(); },
};

const wl_registry_listener kRegistryListener = {
    nullptr,  // set in Open: the member functions need the connection
    nullptr,
};

}  // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::Open(Status& status) {
    if (std::getenv("WAYLAND_DISPLAY") == nullptr && std::getenv("WAYLAND_SOCKET") == nullptr) {
        status = Status::failure("wl_display_connect", "this is no Wayland session");
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection());
    connection->display_ = wl_display_connect(nullptr);
    if (connection->display_ == nullptr) {
        status = Status::failure("wl_display_connect", std::strerror(errno));
        return nullptr;
    }
    static const wl_registry_listener listener = {&WaylandConnection::OnGlobal,
                                                  &WaylandConnection::OnGlobalRemove};
    (void)kRegistryListener;
    connection->registry_ = wl_display_get_registry(connection->display_);
    wl_registry_add_listener(connection->registry_, &listener, connection.get());
    // The first round trip announces the globals, the second their first events (outputs).
    if (!connection->roundTrip() || !connection->roundTrip()) {
        status = Status::failure("wl_display_roundtrip", connection->errorText());
        return nullptr;
    }
    status = Status::success();
    return connection;
}

WaylandConnection::~WaylandConnection() {
    for (OutputPlace& place : outputs_) {
        if (place.xdgOutput) zxdg_output_v1_destroy(place.xdgOutput);
        wl_output_destroy(place.output);
    }
    if (xdgOutputManager_) zxdg_output_manager_v1_destroy(xdgOutputManager_);
    if (keyboardManager_) zwp_virtual_keyboard_manager_v1_destroy(keyboardManager_);
    if (pointerManager_) zwlr_virtual_pointer_manager_v1_destroy(pointerManager_);
    if (layerShell_) zwlr_layer_shell_v1_destroy(layerShell_);
    if (shm_) wl_shm_destroy(shm_);
    if (compositor_) wl_compositor_destroy(compositor_);
    if (seat_) wl_seat_destroy(seat_);
    if (registry_) wl_registry_destroy(registry_);
    if (display_) {
        wl_display_roundtrip(display_);  // the destroy requests reach the compositor
        wl_display_disconnect(display_);
    }
}

void WaylandConnection::OnGlobal(void* data, wl_registry* registry, std::uint32_t name,
                                 const char* interface, std::uint32_t version) {
    auto* self = static_cast<WaylandConnection*>(data);
    const std::string_view id = interface;
    if (id == wl_seat_interface.name && self->seat_ == nullptr) {
        self->seat_ = Bind<wl_seat>(registry, name, &wl_seat_interface, version, 1);
    } else if (id == wl_shm_interface.name) {
        self->shm_ = Bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (id == wl_compositor_interface.name) {
        self->compositor_ = Bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (id == wl_output_interface.name) {
        OutputPlace place;
        place.output = Bind<wl_output>(registry, name, &wl_output_interface, version, 2);
        place.name = name;
        self->outputs_.push_back(place);
        self->bindOutputPlaces();
    } else if (id == zxdg_output_manager_v1_interface.name) {
        self->xdgOutputManager_ = Bind<zxdg_output_manager_v1>(
            registry, name, &zxdg_output_manager_v1_interface, version, 2);
        self->bindOutputPlaces();
    } else if (id == zwp_virtual_keyboard_manager_v1_interface.name) {
        self->keyboardManager_ = Bind<zwp_virtual_keyboard_manager_v1>(
            registry, name, &zwp_virtual_keyboard_manager_v1_interface, version, 1);
    } else if (id == zwlr_virtual_pointer_manager_v1_interface.name) {
        self->pointerManagerVersion_ = std::min<std::uint32_t>(version, 2);
        self->pointerManager_ = Bind<zwlr_virtual_pointer_manager_v1>(
            registry, name, &zwlr_virtual_pointer_manager_v1_interface, version, 2);
    } else if (id == zwlr_layer_shell_v1_interface.name) {
        self->layerShell_ = Bind<zwlr_layer_shell_v1>(registry, name,
                                                      &zwlr_layer_shell_v1_interface, version, 2);
    }
}

void WaylandConnection::OnGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto* self = static_cast<WaylandConnection*>(data);
    auto& outputs = self->outputs_;
    const auto gone = std::find_if(outputs.begin(), outputs.end(),
                                   [name](const OutputPlace& place) { return place.name == name; });
    if (gone == outputs.end()) return;
    if (gone->xdgOutput) zxdg_output_v1_destroy(gone->xdgOutput);
    wl_output_release(gone->output);
    outputs.erase(gone);
}

// Asks for the logical place of every output that has none yet; the answers come with the
// next round trip. Without xdg-output an output keeps no place and the pointer cannot reach it.
void WaylandConnection::bindOutputPlaces() {
    if (xdgOutputManager_ == nullptr) return;
    for (OutputPlace& place : outputs_) {
        if (place.xdgOutput) continue;
        place.xdgOutput = zxdg_output_manager_v1_get_xdg_output(xdgOutputManager_, place.output);
        zxdg_output_v1_add_listener(place.xdgOutput, &kXdgOutputListener, &outputs_);
    }
}

bool WaylandConnection::roundTrip() {
    return wl_display_roundtrip(display_) >= 0 && !broken();
}

bool WaylandConnection::broken() const { return wl_display_get_error(display_) != 0; }

std::string WaylandConnection::errorText() const {
    const int error = wl_display_get_error(display_);
    if (error == 0) return "no error";
    if (error != EPROTO) return std::strerror(error);
    const wl_interface* interface = nullptr;
    std::uint32_t id = 0;
    const std::uint32_t code = wl_display_get_protocol_error(display_, &interface, &id);
    return std::string("the compositor refused a request of ") +
           (interface ? interface->name : "an object") + " (error " + std::to_string(code) + ")";
}

}  // namespace zs::wayland
