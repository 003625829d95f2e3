#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/in_memory_serial.h"
#include "platform/headless/recording_input.h"
#include "platform/headless/virtual_clock.h"
#include "player/actions.h"

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

TEST(RecordingInput, CanBeReadWhileAnotherThreadTypes) {
    VirtualClock clock;
    RecordingInput input(&clock);
    std::atomic<bool> done{false};
    std::thread player([&] {
        for (int i = 0; i < 50; ++i) SendKeyText(input, "Ab{ENTER}");
        done = true;
    });
    std::size_t seen = 0;
    while (!done) {
        const std::size_t now = input.events().size();
        EXPECT_GE(now, seen);
        seen = now;
        input.escapePressed();
    }
    player.join();
    EXPECT_EQ(input.events().size(), 50u * 11u);  // 11 transitions per text
    EXPECT_TRUE(input.keysDown().empty());
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

// The device at the other end: stale bytes until a discard, an answer in pieces after the write
// it answers, a flood bounded by each read's limit, an unplugged adapter.
TEST(InMemorySerialPorts, PlaysTheDeviceAtTheOtherEnd) {
    using Bytes = std::vector<std::uint8_t>;
    InMemorySerialPorts serial;
    serial.arrive("COM1", {'o', 'l', 'd'});
    serial.answer("COM1", {{'O'}, {'K', '\r'}});
    std::unique_ptr<SerialPort> port;
    ASSERT_TRUE(serial.open("COM1", {}, port).ok);
    EXPECT_TRUE(port->waitReadable(std::chrono::milliseconds(100)));
    EXPECT_TRUE(port->discardInput().ok);
    EXPECT_FALSE(port->waitReadable(std::chrono::milliseconds(100)));
    ASSERT_TRUE(port->write({'?'}).ok);
    Bytes got;
    while (port->waitReadable(std::chrono::milliseconds(100))) port->readAvailable(got, 1);
    EXPECT_EQ(got, (Bytes{'O', 'K', '\r'}));

    serial.flood("COM1", {1, 2, 3});
    got.clear();
    EXPECT_TRUE(port->readAvailable(got, 4).ok);
    EXPECT_TRUE(port->readAvailable(got, 0).ok);
    EXPECT_EQ(got, (Bytes{1, 2, 3, 1}));
    serial.silence("COM1");
    EXPECT_FALSE(port->waitReadable(std::chrono::milliseconds(100)));

    serial.vanish("COM1");
    EXPECT_TRUE(port->waitReadable(std::chrono::milliseconds(100)));
    EXPECT_FALSE(port->readAvailable(got, 10).ok);
    EXPECT_FALSE(port->write({'?'}).ok);
    port.reset();
    EXPECT_FALSE(serial.open("COM1", {}, port).ok);
    EXPECT_EQ(serial.log(),
              (std::vector<std::string>{"open COM1", "discard COM1", "write COM1 1", "read COM1 1",
                                        "read COM1 1", "read COM1 1", "read COM1 4",
                                        "fail read COM1", "fail write COM1", "close COM1",
                                        "fail open COM1"}));
}

}  // namespace
}  // namespace zs
