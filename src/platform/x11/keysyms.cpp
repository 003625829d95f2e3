// Virtual-key, code point and keysym tables.
#include "platform/x11/keysyms.h"

#include <X11/keysym.h>

namespace zs::x11 {
namespace {

struct VkKeysym {
    int vk;
    KeysymValue keysym;
};

// Named keys, and the punctuation keys of a US keyboard under their OEM codes.
constexpr VkKeysym kNamedKeys[] = {
    {0x08, XK_BackSpace},  {0x09, XK_Tab},         {0x0D, XK_Return},     {0x10, XK_Shift_L},
    {0x11, XK_Control_L},  {0x12, XK_Alt_L},       {0x1B, XK_Escape},     {0x20, XK_space},
    {0x21, XK_Prior},      {0x22, XK_Next},        {0x23, XK_End},        {0x24, XK_Home},
    {0x25, XK_Left},       {0x26, XK_Up},          {0x27, XK_Right},      {0x28, XK_Down},
    {0x2C, XK_Print},      {0x2D, XK_Insert},      {0x2E, XK_Delete},     {0xBA, XK_semicolon},
    {0xBB, XK_equal},      {0xBC, XK_comma},       {0xBD, XK_minus},      {0xBE, XK_period},
    {0xBF, XK_slash},      {0xC0, XK_grave},       {0xDB, XK_bracketleft}, {0xDC, XK_backslash},
    {0xDD, XK_bracketright}, {0xDE, XK_apostrophe}, {0xE2, XK_less},
};

// Characters that layouts commonly carry under a legacy keysym rather than a Unicode one.
struct LegacyKeysym {
    char32_t ch;
    KeysymValue keysym;
};

constexpr LegacyKeysym kLegacyKeysyms[] = {
    {U'\u20AC', XK_EuroSign},
    {U'\u0152', XK_OE},
    {U'\u0153', XK_oe},
    {U'\u0178', XK_Ydiaeresis},
};

}  // namespace

KeysymValue KeysymForVk(int vkCode) {
    if (vkCode >= '0' && vkCode <= '9') return XK_0 + static_cast<KeysymValue>(vkCode - '0');
    if (vkCode >= 'A' && vkCode <= 'Z') return XK_a + static_cast<KeysymValue>(vkCode - 'A');
    if (vkCode >= 0x70 && vkCode <= 0x7B) return XK_F1 + static_cast<KeysymValue>(vkCode - 0x70);
    for (const VkKeysym& entry : kNamedKeys) {
        if (entry.vk == vkCode) return entry.keysym;
    }
    return kNoKeysym;
}

int VkForKeysym(KeysymValue keysym) {
    if (keysym >= XK_0 && keysym <= XK_9) return '0' + static_cast<int>(keysym - XK_0);
    if (keysym >= XK_a && keysym <= XK_z) return 'A' + static_cast<int>(keysym - XK_a);
    if (keysym >= XK_F1 && keysym <= XK_F12) return 0x70 + static_cast<int>(keysym - XK_F1);
    for (const VkKeysym& entry : kNamedKeys) {
        if (entry.keysym == keysym) return entry.vk;
    }
    return 0;
}

std::vector<KeysymValue> KeysymsForChar(char32_t ch) {
    switch (ch) {
    case U'\b': return {XK_BackSpace};
    case U'\t': return {XK_Tab};
    case U'\n':
    case U'\r': return {XK_Return};
    case U'\x1B': return {XK_Escape};
    default: break;
    }
    const KeysymValue unlisted = UnlistedKeysym(ch);
    if (unlisted == kNoKeysym) return {};
    std::vector<KeysymValue> keysyms{unlisted};
    for (const LegacyKeysym& entry : kLegacyKeysyms) {
        if (entry.ch == ch) keysyms.push_back(entry.keysym);
    }
    return keysyms;
}

KeysymValue UnlistedKeysym(char32_t ch) {
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) return kNoKeysym;
    if (ch <= 0xFF) return ch;  // Latin-1 keysyms equal their code points
    if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) return kNoKeysym;
    return 0x01000000 | ch;
}

}  // namespace zs::x11
