#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/headless/in_memory_serial.h"
#include "platform/headless/recording_input.h"
#include "platform/headless/virtual_clock.h"

namespace zs {
namespace {

using namespace std::chrono_literals;

TEST(UsLayoutScan, GivesTheKeyAndShiftOfTheUsLayout) {
    struct Case {
        char32_t ch;
        KeyScan scan;
    };
    const std::vector<Case> cases = {
        {U'a', {true, 'A', 0}},    {U'Z', {true, 'Z', 1}},   {U'0', {true, '0', 0}},
        {U'!', {true, '1', 1}},    {U'(', {true, '9', 1}},   {U')', {true, '0', 1}},
        {U' ', {true, 0x20, 0}},   {U'\t', {true, 0x09, 0}}, {U'\r', {true, 0x0D, 0}},
        {U'\n', {true, 0x0D, 2}},  {U'\x03', {true, 'C', 2}}, {U';', {true, 0xBA, 0}},
        {U':', {true, 0xBA, 1}},   {U'"', {true, 0xDE, 1}},  {U'~', {true, 0xC0, 1}},
        {U'{', {true, 0xDB, 1}},   {U'\\', {true, 0xDC, 0}}, {U'?', {true, 0xBF, 1}},
        {U'\0', {}},               {U'\x1F', {}},            {U'\xE9', {}},
        {U'\x80', {}},             {U'\u20AC', {}},
    };
    for (const auto& c : cases) {
        const KeyScan scan = UsLayoutScan(c.ch);
        EXPECT_EQ(scan.found, c.scan.found) << unsigned(c.ch);
        EXPECT_EQ(scan.vk, c.scan.vk) << unsigned(c.ch);
        EXPECT_EQ(scan.shiftState, c.scan.shiftState) << unsigned(c.ch);
    }
}

TEST(RecordingInput, ReportsAScriptedEscapeOnceItsTimeHasCome) {
    VirtualClock clock;
    RecordingInput input(&clock);
    input.pressEscapeAt(clock.now() + 300ms);
    EXPECT_FALSE(input.escapePressed());
    clock.advance(299ms);
    EXPECT_FALSE(input.escapePressed());
    clock.advance(1ms);
    EXPECT_TRUE(input.escapePressed());
    EXPECT_FALSE(input.escapePressed());  // one press is reported once
    input.setEscapeDown(true);
    EXPECT_TRUE(input.escapePressed());
    EXPECT_TRUE(input.escapePressed());  // held down: reported while down
}

TEST(InMemorySerialPorts, OpensExclusivelyAndRecordsTheCloseOfEveryPort) {
    InMemorySerialPorts serial;
    std::unique_ptr<SerialPort> first, second;
    ASSERT_TRUE(serial.open("COM1", {}, first).ok);
    EXPECT_FALSE(serial.open("COM1", {}, second).ok);
    EXPECT_EQ(second, nullptr);
    first.reset();
    EXPECT_TRUE(serial.open("COM1", {}, second).ok);
    EXPECT_EQ(serial.log(), (std::vector<std::string>{"open COM1", "fail open COM1", "close COM1",
                                                      "open COM1"}));
    EXPECT_EQ(serial.openPorts(), (std::set<std::string>{"COM1"}));
}

}  // namespace
}  // namespace zs
