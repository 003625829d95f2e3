#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/actions.h"

namespace zs {
namespace {

struct SettingsCase {
    std::string text;
    PortSetting expected;  // without the name
    SerialSettings serial;
};

TEST(ParseSettings, ReadsFourFieldsSplitAtSingleBlanks) {
    using P = Parity;
    using S = StopBits;
    const std::vector<SettingsCase> cases = {
        {"9600 N 8 1", {"", 9600, 0, 8, 1}, {9600, P::None, 8, S::One}},
        {"19200 O 7 2", {"", 19200, 1, 7, 2}, {19200, P::Odd, 7, S::Two}},
        {"115200 E 5 1", {"", 115200, 2, 5, 1}, {115200, P::Even, 5, S::One}},
        {"9600 n 8 1", {"", 9600, 0, 8, 1}, {9600, P::None, 8, S::One}},      // lower case: none
        {"9600 X 8 2", {"", 9600, 0, 8, 2}, {9600, P::None, 8, S::Two}},
        {"9600  N 8 1", {"", 9600, 0, 0, 8}, {9600, P::None, 0, S::OneAndHalf}},  // fields shift
        {"9600 N 8", {"", 9600, 0, 8, 0}, {9600, P::None, 8, S::OneAndHalf}},
        {"9600 N 8 1.5", {"", 9600, 0, 8, 1}, {9600, P::None, 8, S::One}},
        {"9600 N 8 3", {"", 9600, 0, 8, 3}, {9600, P::None, 8, S::OneAndHalf}},
        {"9600x E 8 2 extra", {"", 9600, 2, 8, 2}, {9600, P::Even, 8, S::Two}},
        {" 9600 N 8 1", {"", 0, 0, 0, 8}, {0, P::None, 0, S::OneAndHalf}},
        {"", {"", 0, 0, 0, 0}, {0, P::None, 0, S::OneAndHalf}},
        {"-300 E -8 -1", {"", -300, 2, -8, -1}, {-300, P::Even, -8, S::OneAndHalf}},
    };
    for (auto c : cases) {
        c.expected.name = "COM3";
        const PortSetting setting = ParseSettings("COM3", c.text);
        EXPECT_EQ(setting, c.expected) << c.text;
        EXPECT_EQ(ToSerialSettings(setting), c.serial) << c.text;
    }
}

struct TelegramCase {
    std::string comType, telegram;
    bool ok;
    std::vector<std::uint8_t> bytes;
    std::string error;
};

TEST(EncodeTelegram, TurnsStringHexAndByteTextsIntoBytesOrNamesTheBadValue) {
    const std::vector<TelegramCase> cases = {
        {"String", "ATZ", true, {'A', 'T', 'Z'}, ""},
        {"String", "F4 03", true, {'F', '4', ' ', '0', '3'}, ""},
        {"String", "", true, {}, ""},
        {"String", "\xC3\xA9\r", true, {0xC3, 0xA9, 0x0D}, ""},
        {"Hex", "F4 03 28", true, {0xF4, 0x03, 0x28}, ""},
        {"Hex", "f4 0a 3 FF 00", true, {0xF4, 0x0A, 0x03, 0xFF, 0x00}, ""},
        {"Hex", "  F4   03\t28  ", true, {0xF4, 0x03, 0x28}, ""},
        {"Hex", "F4 G1 28", false, {}, "Bad hex value: G1"},
        {"Hex", "F403", false, {}, "Bad hex value: F403"},
        {"Hex", "0xF4", false, {}, "Bad hex value: 0xF4"},
        {"Hex", "F4,03", false, {}, "Bad hex value: F4,03"},
        {"Hex", "   ", false, {}, "No hex values in the telegram"},
        {"Byte", "128 255 1", true, {128, 255, 1}, ""},
        {"Byte", " 0  007 ", true, {0, 7}, ""},
        {"Byte", "128 256 1", false, {}, "Bad byte value: 256"},
        {"Byte", "1 -1", false, {}, "Bad byte value: -1"},
        {"Byte", "12a", false, {}, "Bad byte value: 12a"},
        {"Byte", "99999999999999999999", false, {}, "Bad byte value: 99999999999999999999"},
        {"Byte", "999999999999999999999", false, {}, "Bad byte value: 99999999999999999999..."},
        {"Byte", "", false, {}, "No byte values in the telegram"},
        {"Initialise", "9600 N 8 1", false, {}, "Unknown telegram type: Initialise"},
        {"hex", "F4", false, {}, "Unknown telegram type: hex"},
        {"", "x", false, {}, "Unknown telegram type: "},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = {9, 9};  // earlier contents never leak into the result
        std::string error = "old";
        EXPECT_EQ(EncodeTelegram(c.comType, c.telegram, bytes, error), c.ok)
            << c.comType << " " << c.telegram;
        EXPECT_EQ(bytes, c.bytes) << c.comType << " " << c.telegram;
        EXPECT_EQ(error, c.error) << c.comType << " " << c.telegram;
    }
}

}  // namespace
}  // namespace zs
