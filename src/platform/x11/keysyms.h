// Translation between the program's virtual-key codes, Unicode code points and X keysyms.
// Pure tables: no display needed.
#pragma once

#include <cstdint>
#include <vector>

namespace zs::x11 {

using KeysymValue = unsigned long;  // the value of an X KeySym
inline constexpr KeysymValue kNoKeysym = 0;

// The keysym a virtual-key code stands for ('A' is the a key, 0x10 Shift_L, 0xBA semicolon, ...);
// kNoKeysym for codes the program does not use.
KeysymValue KeysymForVk(int vkCode);

// The virtual-key code of a keysym found at level 0 of a key, the reverse of KeysymForVk;
// 0 when no code stands for it.
int VkForKeysym(KeysymValue keysym);

// The keysyms that type a character, best first: the Latin-1 or Unicode keysym, then the legacy
// keysym some layouts carry instead. Tab, line feed, return, backspace and escape give their
// function keys; other control characters give none.
std::vector<KeysymValue> KeysymsForChar(char32_t ch);

// The keysym to bind to a spare key for a character the layout lacks; kNoKeysym for characters
// no key can type (control characters, surrogates, values beyond Unicode).
KeysymValue UnlistedKeysym(char32_t ch);

}  // namespace zs::x11
