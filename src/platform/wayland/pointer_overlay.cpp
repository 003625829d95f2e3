// Transparent layer-shell overlays, one per output, mapped only for one reading.
#include "platform/wayland/pointer_overlay.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/wayland/wayland_connection.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace zs::wayland {
namespace {

// Long enough for a loaded compositor to map the overlays and place the pointer on one.
constexpr auto kAnswerTime = std::chrono::milliseconds(500);
constexpr auto kPollPause = std::chrono::milliseconds(2);

struct Overlay {
    OutputPlace output;  // a copy: the connection's list may change while the overlay is up
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    wl_buffer* buffer = nullptr;
    std::uint32_t configureSerial = 0;
    int width = 0, height = 0;
    bool configured = false, closed = false;
};

struct Reading {
    std::vector<std::unique_ptr<Overlay>> overlays;
    std::optional<Point> place;
};

void OnConfigure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                 std::uint32_t height) {
    auto* overlay = static_cast<Overlay*>(data);
    overlay->configureSerial = serial;
    overlay->width = static_cast<int>(width), overlay->height = static_cast<int>(height);
    overlay->configured = true;
}

void OnClosed(void* data, zwlr_layer_surface_v1*) { static_cast<Overlay*>(data)->closed = true; }

const zwlr_layer_surface_v1_listener kLayerListener = {OnConfigure, OnClosed};

void OnEnter(void* data, wl_pointer*, std::uint32_t, wl_surface* surface, wl_fixed_t x,
             wl_fixed_t y) {
    auto* reading = static_cast<Reading*>(data);
    for (const auto& overlay : reading->overlays) {
        if (overlay->surface != surface) continue;
        reading->place = Point{overlay->output.x + wl_fixed_to_int(x),
                               overlay->output.y + wl_fixed_to_int(y)};
    }
}

// A pointer of seat version 1 sends the first five events only.
const wl_pointer_listener kPointerListener = {
    OnEnter,
    [](void*, wl_pointer*, std::uint32_t, wl_surface*) {},
    [](void*, wl_pointer*, std::uint32_t, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
    nullptr, nullptr, nullptr, nullptr, nullptr,
};

// A fully transparent buffer: a fresh memory file reads as zeros, and zero ARGB is clear.
wl_buffer* ClearBuffer(wl_shm* shm, int width, int height) {
    const int fd = memfd_create("zelvorin-step-overlay", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    const int stride = width * 4;
    wl_buffer* buffer = nullptr;
    if (ftruncate(fd, static_cast<off_t>(stride) * height) == 0) {
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, stride * height);
        buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_ARGB8888);
        wl_shm_pool_destroy(pool);
    }
    ::close(fd);
    return buffer;
}

void AskForOverlay(WaylandConnection& connection, Overlay& overlay) {
    overlay.surface = wl_compositor_create_surface(connection.compositor());
    overlay.layer = zwlr_layer_shell_v1_get_layer_surface(
        connection.layerShell(), overlay.surface, overlay.output.output,
        ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "zelvorin-step-pointer");
    zwlr_layer_surface_v1_add_listener(overlay.layer, &kLayerListener, &overlay);
    zwlr_layer_surface_v1_set_anchor(
        overlay.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                           ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(overlay.layer, 0, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(overlay.layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(overlay.layer, 0);
    wl_surface_commit(overlay.surface);
}

void ShowOverlay(WaylandConnection& connection, Overlay& overlay) {
    if (!overlay.configured || overlay.closed || overlay.width <= 0 || overlay.height <= 0) return;
    zwlr_layer_surface_v1_ack_configure(overlay.layer, overlay.configureSerial);
    overlay.buffer = ClearBuffer(connection.shm(), overlay.width, overlay.height);
    if (overlay.buffer == nullptr) return;
    wl_surface_attach(overlay.surface, overlay.buffer, 0, 0);
    wl_surface_commit(overlay.surface);
}

void RemoveOverlay(Overlay& overlay) {
    if (overlay.layer) zwlr_layer_surface_v1_destroy(overlay.layer);
    if (overlay.surface) wl_surface_destroy(overlay.surface);
    if (overlay.buffer) wl_buffer_destroy(overlay.buffer);
}

}  // namespace

std::optional<Point> ReadPointerThroughOverlay(WaylandConnection& connection) {
    if (!connection.layerShell() || !connection.compositor() || !connection.shm() ||
        !connection.seat()) {
        return std::nullopt;
    }
    Reading reading;
    wl_pointer* pointer = wl_seat_get_pointer(connection.seat());
    wl_pointer_add_listener(pointer, &kPointerListener, &reading);
    for (const OutputPlace& output : connection.outputs()) {
        if (output.width <= 0 || output.height <= 0) continue;
        reading.overlays.push_back(std::make_unique<Overlay>());
        reading.overlays.back()->output = output;
        AskForOverlay(connection, *reading.overlays.back());
    }
    if (connection.roundTrip()) {
        for (const auto& overlay : reading.overlays) ShowOverlay(connection, *overlay);
        const auto deadline = std::chrono::steady_clock::now() + kAnswerTime;
        while (connection.roundTrip() && !reading.place &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kPollPause);
        }
    }
    for (const auto& overlay : reading.overlays) RemoveOverlay(*overlay);
    wl_pointer_destroy(pointer);
    connection.roundTrip();
    return reading.place;
}

}  // namespace zs::wayland
