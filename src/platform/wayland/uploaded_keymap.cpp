// The virtual keyboard's keymap, compiled with xkbcommon from the system's layout data.
#include "platform/wayland/uploaded_keymap.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

namespace zs::wayland {
namespace {

constexpr int kFirstKeycode = 9;     // 8 is no key in the evdev numbering
constexpr int kLastKeycode = 255;    // XWayland's X clients see no key above 255
constexpr Keysym kEscapeKeysym = XKB_KEY_Escape;

std::string KeysymName(Keysym keysym) {
    char name[64] = {};
    xkb_keysym_get_name(keysym, name, sizeof name);
    return name;
}

}  // namespace

std::unique_ptr<UploadedKeymap> UploadedKeymap::Create(Status& status) {
    std::unique_ptr<UploadedKeymap> keymap(new UploadedKeymap());
    keymap->context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (keymap->context_ == nullptr || !keymap->compile()) {
        status = Status::failure("xkb_keymap_new_from_string",
                                 "the keyboard layout data (xkb-data) is missing");
        return nullptr;
    }
    // The keys with no symbol; the first becomes the program's Escape key for good.
    for (int keycode = kFirstKeycode; keycode <= kLastKeycode; ++keycode) {
        if (xkb_keymap_key_get_name(keymap->keymap_, keycode) != nullptr &&
            xkb_keymap_num_layouts_for_key(keymap->keymap_, keycode) == 0) {
            keymap->spare_.push_back(keycode);
        }
    }
    if (keymap->spare_.empty()) {
        status = Status::failure("xkb_keymap_new_from_string", "the keymap has no free key");
        return nullptr;
    }
    keymap->ownEscape_ = keymap->spare_.front();
    keymap->spare_.erase(keymap->spare_.begin());
    if (!keymap->bind(keymap->ownEscape_, kEscapeKeysym)) {
        status = Status::failure("xkb_keymap_new_from_string", "cannot bind the Escape key");
        return nullptr;
    }
    status = Status::success();
    return keymap;
}

UploadedKeymap::~UploadedKeymap() {
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

bool UploadedKeymap::compile() {
    std::string symbols = "xkb_symbols { include \"pc+us+inet(evdev)\"\n";
    for (const auto& [keycode, keysym] : bindings_) {
        const std::string sym = KeysymName(keysym);
        symbols += "  key <" + std::string(xkb_keymap_key_get_name(keymap_, keycode)) + "> { [ " +
                   sym + ", " + sym + " ] };\n";
    }
    symbols += "};\n";
    const std::string source =
        "xkb_keymap {\n"
        "xkb_keycodes { include \"evdev\" };\n"
        "xkb_types { include \"complete\" };\n"
        "xkb_compat { include \"complete\" };\n" +
        symbols + "};\n";
    xkb_keymap* compiled = xkb_keymap_new_from_string(context_, source.c_str(),
                                                      XKB_KEYMAP_FORMAT_TEXT_V1,
                                                      XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (compiled == nullptr) return false;
    xkb_keymap_unref(keymap_);
    keymap_ = compiled;
    indexKeys();
    return true;
}

// The first key of each keysym at level 0, then at level 1, leaving out the bound spare keys.
void UploadedKeymap::indexKeys() {
    keys_.clear();
    for (int level = 0; level < 2; ++level) {
        for (int keycode = kFirstKeycode; keycode <= kLastKeycode; ++keycode) {
            if (bindings_.count(keycode)) continue;
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap_, keycode, 0, level, &syms) != 1) continue;
            keys_.emplace(syms[0], KeyLevel{keycode, level});
        }
    }
}

std::optional<KeyLevel> UploadedKeymap::find(Keysym keysym) const {
    const auto key = keys_.find(keysym);
    if (key == keys_.end()) return std::nullopt;
    return key->second;
}

int UploadedKeymap::keycodeOf(Keysym keysym) const {
    const std::optional<KeyLevel> key = find(keysym);
    return key && key->level == 0 ? key->keycode : 0;
}

Keysym UploadedKeymap::plainKeysym(int keycode) const {
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap_, keycode, 0, 0, &syms) != 1) return 0;
    return syms[0];
}

bool UploadedKeymap::bind(int spareKeycode, Keysym keysym) {
    const auto previous = bindings_.find(spareKeycode);
    const std::optional<Keysym> before =
        previous == bindings_.end() ? std::nullopt : std::optional<Keysym>(previous->second);
    bindings_[spareKeycode] = keysym;
    if (compile()) return true;
    if (before) {
        bindings_[spareKeycode] = *before;
    } else {
        bindings_.erase(spareKeycode);
    }
    return false;
}

std::string UploadedKeymap::text() const {
    char* text = xkb_keymap_get_as_string(keymap_, XKB_KEYMAP_FORMAT_TEXT_V1);
    if (text == nullptr) return {};
    std::string result(text);
    free(text);
    return result;
}

ModifierState UploadedKeymap::modifiersFor(const std::vector<int>& keycodesDown) const {
    xkb_state* state = xkb_state_new(keymap_);
    if (state == nullptr) return {};
    for (const int keycode : keycodesDown) xkb_state_update_key(state, keycode, XKB_KEY_DOWN);
    const ModifierState modifiers{
        xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE)};
    xkb_state_unref(state);
    return modifiers;
}

}  // namespace zs::wayland
