#include "platform/x11/recorded_keys.h"

#include <X11/keysym.h>

namespace zs::x11 {
namespace {

std::string Utf8(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// Legacy keysyms that layouts carry for characters beyond Latin-1.
char32_t LegacyCharacter(KeysymValue keysym) {
    switch (keysym) {
    case XK_EuroSign: return U'\u20AC';
    case XK_OE: return U'\u0152';
    case XK_oe: return U'\u0153';
    case XK_Ydiaeresis: return U'\u0178';
    default: return 0;
    }
}

}  // namespace

int RecordedVk(KeysymValue keysym) {
    switch (keysym) {
    case XK_Shift_L:
    case XK_Shift_R: return 0x10;
    case XK_Control_L:
    case XK_Control_R: return 0x11;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R: return 0x12;
    case XK_KP_Enter: return 0x0D;
    case XK_ISO_Left_Tab: return 0x09;
    default: return VkForKeysym(keysym);
    }
}

std::string TypedCharacter(KeysymValue keysym) {
    char32_t code = 0;
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) {
        code = static_cast<char32_t>(keysym);
    } else if ((keysym >= XK_KP_Multiply && keysym <= XK_KP_9) || keysym == XK_KP_Equal) {
        code = static_cast<char32_t>(keysym - 0xFF80);  // the keypad mirrors ASCII
    } else if (keysym == XK_KP_Space) {
        code = U' ';
    } else if ((keysym & 0xFF000000) == 0x01000000) {
        code = static_cast<char32_t>(keysym & 0x00FFFFFF);
    } else {
        code = LegacyCharacter(keysym);
    }
    const bool control = code < 0x20 || (code >= 0x7F && code < 0xA0);
    const bool invalid = (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF;
    return control || invalid ? std::string() : Utf8(code);
}

int CoreMapColumn(int group, int level) {
    // Group 1 levels 1-2, group 2 levels 1-2, then group 1 levels 3-4 (AltGr).
    if (group == 0) return level < 2 ? level : level + 2;
    return level < 2 ? 2 + level : level + 4;
}

}  // namespace zs::x11
