// The keymap the virtual keyboard uploads: a US layout, with characters it lacks bound to keys
// that carry no symbol, and Escape on a key of its own.
//
// The compositor and every client decode the virtual keyboard's keys with this keymap, whatever
// layout the user's own keyboard has; the program's Escape goes out on a key other than the
// user's Escape key, so that watching the user's Escape key never counts the program's own.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace zs::wayland {

using Keysym = std::uint32_t;

struct KeyLevel {
    int keycode = 0;  // xkb key code (evdev code + 8)
    int level = 0;    // 0 plain, 1 with Shift
};

// The modifier state as wl_keyboard.modifiers carries it.
struct ModifierState {
    std::uint32_t depressed = 0, latched = 0, locked = 0, group = 0;
    bool operator==(const ModifierState&) const = default;
};

class UploadedKeymap {
public:
    // Compiles the base keymap; nullptr with the reason when xkbcommon finds no layout data.
    static std::unique_ptr<UploadedKeymap> Create(Status& status);
    ~UploadedKeymap();

    // The plain or shifted key of the base layout that types keysym (spare keys excluded).
    std::optional<KeyLevel> find(Keysym keysym) const;
    // The key of a keysym at level 0 (Shift_L, Return, F1...), spare keys excluded.
    int keycodeOf(Keysym keysym) const;
    // The keysym at level 0 of a key.
    Keysym plainKeysym(int keycode) const;
    // The key that sends the program's own Escape.
    int ownEscapeKeycode() const { return ownEscape_; }
    // Keys with no symbol in the base layout, free to bind.
    const std::vector<int>& spareKeycodes() const { return spare_; }

    // Binds keysym (at both levels) to a spare key and recompiles; false when the result does
    // not compile (the binding is then dropped).
    bool bind(int spareKeycode, Keysym keysym);
    // The whole keymap as text, for the compositor.
    std::string text() const;

    // The modifier state after a key went down or up, given the keys that are down.
    ModifierState modifiersFor(const std::vector<int>& keycodesDown) const;

private:
    UploadedKeymap() = default;
    bool compile();
    void indexKeys();

    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::map<int, Keysym> bindings_;  // spare key -> bound keysym
    std::map<Keysym, KeyLevel> keys_;  // first key of each keysym in the base layout
    std::vector<int> spare_;
    int ownEscape_ = 0;
};

}  // namespace zs::wayland
