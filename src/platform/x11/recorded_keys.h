// What a recorded key means: its virtual-key code and the character it typed. Pure tables.
#pragma once

#include <string>

#include "platform/x11/keysyms.h"

namespace zs::x11 {

// The virtual-key code of a key by its level-0 keysym: both Shift, Control and Alt keys give the
// generic codes, the keypad's Enter gives Enter; 0 when none stands for it.
int RecordedVk(KeysymValue levelZeroKeysym);

// The printable character a keysym types ("" for function keys, modifiers and control codes),
// as UTF-8: the keypad's digits and operators included.
std::string TypedCharacter(KeysymValue keysym);

// The keysym column of the core keyboard map for a group (0 or 1) and a shift level (0 to 3).
int CoreMapColumn(int group, int level);

}  // namespace zs::x11
