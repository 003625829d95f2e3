// The non-GUI Win32 backends under Wine: error reports of the serial ports and the process
// starter, the layout scan, and the clock's deadline.
#include <gtest/gtest.h>

#include "platform/win32/win32_services.h"

namespace zs {
namespace {

TEST(Win32SerialPorts, PortsThatCannotOpenFailWithTheCallAndTheSystemText) {
    struct Case {
        std::string name;
    } cases[] = {{"COM99"}, {"NoSuchDevice"}, {""}, {std::string(300, 'X')}};
    Win32SerialPorts ports;
    for (const auto& c : cases) {
        std::unique_ptr<SerialPort> port;
        const Status status = ports.open(c.name, SerialSettings{}, port);
        EXPECT_FALSE(status.ok) << c.name;
        EXPECT_EQ(status.call, "CreateFileA") << c.name;
        EXPECT_FALSE(status.message.empty()) << c.name;
        EXPECT_EQ(port, nullptr) << c.name;
    }
}

TEST(Win32ProcessStarter, MissingFilesFailWithoutStartingAnything) {
    Win32ProcessStarter starter;
    for (const char* path : {"", "C:\\no\\such\\program.exe", "C:\\no such document.stp"}) {
        const Status status = starter.startFile(path);
        EXPECT_FALSE(status.ok) << path;
        EXPECT_FALSE(status.message.empty()) << path;
    }
    EXPECT_FALSE(starter.openDocument("C:\\no such help.pdf").ok);
}

TEST(Win32Input, ScansLettersDigitsAndShiftedCharactersOnTheLayout) {
    struct Case {
        char32_t ch;
        int vk;
        int shiftState;
    } cases[] = {{U'a', 'A', 0}, {U'A', 'A', 1}, {U'7', '7', 0}, {U' ', 0x20, 0},
                 {U'\r', 0x0D, 0}, {U'!', '1', 1}};
    Win32Input input;
    for (const auto& c : cases) {
        const KeyScan scan = input.scanChar(c.ch);
        EXPECT_TRUE(scan.found) << static_cast<int>(c.ch);
        EXPECT_EQ(scan.vk, c.vk) << static_cast<int>(c.ch);
        EXPECT_EQ(scan.shiftState, c.shiftState) << static_cast<int>(c.ch);
    }
    // Beyond one byte of the code page there is nothing to scan.
    EXPECT_FALSE(input.scanChar(U'\u20AC' + 0x10000).found);
    EXPECT_FALSE(input.textIsUtf8());
}

TEST(Win32Clock, WaitsReturnOnlyOnceTheDeadlineHasPassed) {
    Win32Clock clock;
    for (int ms : {0, 1, 3, 16}) {
        const auto deadline = clock.now() + std::chrono::milliseconds(ms);
        clock.waitUntil(deadline);
        EXPECT_GE(clock.now(), deadline) << ms;
    }
    clock.waitUntil(clock.now() - std::chrono::seconds(1));  // a past deadline returns at once
}

TEST(Win32ErrorText, GivesTheSystemsTextWithoutLineEnds) {
    const std::string text = Win32ErrorText(2);  // ERROR_FILE_NOT_FOUND
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
    EXPECT_EQ(Win32ErrorText(0xDEADBEEF).empty(), false);
}

}  // namespace
}  // namespace zs
