// A client connection to the Wayland compositor: the globals the input backends bind (seat,
// outputs with their place in the layout, the virtual-input and layer-shell managers).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"

struct wl_display;
struct wl_registry;
struct wl_seat;
struct wl_output;
struct wl_shm;
struct wl_compositor;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwp_virtual_keyboard_manager_v1;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_layer_shell_v1;

namespace zs::wayland {

// One output in layout coordinates (logical pixels, as the pointer moves in them).
struct OutputPlace {
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    std::uint32_t name = 0;  // the registry name
    int x = 0, y = 0, width = 0, height = 0;
    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

class WaylandConnection {
public:
    // Connects to $WAYLAND_DISPLAY and reads the globals and output places; nullptr with the
    // reason when there is no compositor to connect to.
    static std::unique_ptr<WaylandConnection> Open(Status& status);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return display_; }
    wl_seat* seat() const { return seat_; }
    wl_shm* shm() const { return shm_; }
    wl_compositor* compositor() const { return compositor_; }
    zwp_virtual_keyboard_manager_v1* keyboardManager() const { return keyboardManager_; }
    zwlr_virtual_pointer_manager_v1* pointerManager() const { return pointerManager_; }
    std::uint32_t pointerManagerVersion() const { return pointerManagerVersion_; }
    zwlr_layer_shell_v1* layerShell() const { return layerShell_; }
    const std::vector<OutputPlace>& outputs() const { return outputs_; }

    // Waits until the compositor has handled every request sent so far; false once the
    // connection is broken (the compositor ended or refused a request).
    bool roundTrip();
    bool broken() const;
    // What broke the connection, for a status.
    std::string errorText() const;

private:
    WaylandConnection() = default;
    static void OnGlobal(void* data, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);
    static void OnGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
    void bindOutputPlaces();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    zxdg_output_manager_v1* xdgOutputManager_ = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboardManager_ = nullptr;
    zwlr_virtual_pointer_manager_v1* pointerManager_ = nullptr;
    std::uint32_t pointerManagerVersion_ = 0;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    std::vector<OutputPlace> outputs_;
};

}  // namespace zs::wayland
