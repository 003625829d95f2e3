// What the desktop recorder makes of a key: its virtual-key code and the character it typed.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "platform/x11/recorded_keys.h"

namespace zs::x11 {
namespace {

TEST(RecordedKeys, KeysymsGiveTheirCharacterAndCode) {
    const struct {
        KeysymValue keysym;
        const char* text;
        int vk;
    } rows[] = {
        {XK_a, "a", 'A'},           {XK_A, "A", 0},
        {XK_semicolon, ";", 0xBA},  {XK_space, " ", 0x20},
        {XK_eacute, "\xC3\xA9", 0}, {0x010020AC, "\xE2\x82\xAC", 0},  // Unicode keysym
        {XK_EuroSign, "\xE2\x82\xAC", 0},
        {XK_KP_1, "1", 0},          {XK_KP_Add, "+", 0},  {XK_KP_Decimal, ".", 0},
        {XK_KP_Enter, "", 0x0D},    {XK_Return, "", 0x0D}, {XK_Tab, "", 0x09},
        {XK_ISO_Left_Tab, "", 0x09}, {XK_BackSpace, "", 0x08}, {XK_F5, "", 0x74},
        {XK_Shift_R, "", 0x10},     {XK_Control_R, "", 0x11}, {XK_Alt_R, "", 0x12},
        {XK_ISO_Level3_Shift, "", 0}, {XK_Caps_Lock, "", 0},
        {0x01000007, "", 0},        {0x0100D800, "", 0},  // control character, surrogate
    };
    for (const auto& row : rows) {
        EXPECT_EQ(TypedCharacter(row.keysym), row.text) << std::hex << row.keysym;
        if (row.vk != 0) {
            EXPECT_EQ(RecordedVk(row.keysym), row.vk) << std::hex << row.keysym;
        }
    }
    // Columns of the core map: group 1 levels 1-2, group 2 levels 1-2, group 1 levels 3-4.
    EXPECT_EQ(CoreMapColumn(0, 0), 0);
    EXPECT_EQ(CoreMapColumn(0, 1), 1);
    EXPECT_EQ(CoreMapColumn(1, 0), 2);
    EXPECT_EQ(CoreMapColumn(0, 2), 4);
    EXPECT_EQ(CoreMapColumn(0, 3), 5);
}

}  // namespace
}  // namespace zs::x11
