// Input through the wlroots virtual pointer and virtual keyboard protocols.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

#include "platform/input.h"
#include "platform/status.h"
#include "platform/wayland/pointer_place.h"
#include "platform/wayland/uploaded_keymap.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/x11/escape_watcher.h"
#include "platform/x11/spare_keys.h"

struct zwp_virtual_keyboard_v1;
struct zwlr_virtual_pointer_v1;

namespace zs::wayland {

// Every call may come from any thread; one mutex serialises the use of the connection. Typed
// keys go out in batches, each ended by a round trip, so the caller never runs ahead of the
// compositor. wlroots takes a virtual keyboard's modifiers only from the modifiers request, so every key
// that changes them is followed by one, computed from the keys held down.
class WlrootsInput : public Input {
public:
    static std::unique_ptr<WlrootsInput> Open(Status& status);
    ~WlrootsInput() override;

    void movePointer(int x, int y) override;
    void mouseButton(MouseButton button, bool down) override;
    void key(int vkCode, bool down) override;
    bool textIsUtf8() const override { return true; }
    KeyScan scanChar(char32_t ch) override;
    void typeUnlisted(char32_t ch) override;
    bool escapePressed() override;
    Point pointerPosition() override;
    Point pointerPositionForCapture() override;
    void sendGatheredKeys() override;
    void releaseForExit() override;

private:
    WlrootsInput(std::unique_ptr<WaylandConnection> connection,
                 std::unique_ptr<UploadedKeymap> keymap);
    Status createDevices();
    void uploadKeymap();
    zwlr_virtual_pointer_v1* pointerFor(const OutputPlace& output);
    int keycodeForVk(int vkCode);
    void sendKey(int keycode, bool down, bool typed);
    void endBatch();
    void sendModifiers(bool always);
    std::uint32_t now() const;
    void releaseHeld();

    std::mutex mutex_;  // guards everything below
    std::unique_ptr<WaylandConnection> connection_;
    std::unique_ptr<UploadedKeymap> keymap_;
    zwp_virtual_keyboard_v1* keyboard_ = nullptr;
    std::map<std::uint32_t, zwlr_virtual_pointer_v1*> pointers_;  // by output registry name
    zwlr_virtual_pointer_v1* lastPointer_ = nullptr;  // buttons go through the last one moved
    std::vector<int> keycodesDown_;                    // in the order they went down
    std::set<std::uint32_t> buttonsDown_;
    ModifierState modifiers_;
    x11::SpareKeyPool spareKeys_;
    std::unordered_map<int, int> vkKeycodes_;  // what scanChar found for each vk it returned
    PointerPlace pointerPlace_;
    std::unique_ptr<x11::EscapeWatcher> escape_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point batchDue_{};  // when the open batch may go out
    int keysInBatch_ = 0;                                // typed keys not yet sent
    bool closed_ = false;
};

}  // namespace zs::wayland
