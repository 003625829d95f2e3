// The non-GUI Win32 backends under Wine: error reports of the serial ports and the process
// starter, the layout scan, and the clock's deadline.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/dead_keys.h"
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

// Records the key transitions that reach low-level keyboard hooks: "d10" Shift down, "u10" up;
// injected ones start with "i".
class KeyHookRecorder {
public:
    KeyHookRecorder() {
        std::promise<void> ready;
        thread_ = std::thread([&] {
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            threadId_ = GetCurrentThreadId();
            HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, Record, GetModuleHandleW(nullptr), 0);
            ready.set_value();
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            if (hook) UnhookWindowsHookEx(hook);
        });
        ready.get_future().wait();
    }
    ~KeyHookRecorder() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    // Waits a little for the hook to see what was sent.
    std::vector<std::string> seen() {
        Sleep(200);
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    static LRESULT CALLBACK Record(int code, WPARAM message, LPARAM data) {
        if (code == HC_ACTION) {
            const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
            char text[16];
            std::snprintf(text, sizeof text, "%s%c%02lX", (key->flags & LLKHF_INJECTED) ? "i" : "",
                          message == WM_KEYUP || message == WM_SYSKEYUP ? 'u' : 'd', key->vkCode);
            std::lock_guard lock(mutex_);
            events_.push_back(text);
        }
        return CallNextHookEx(nullptr, code, message, data);
    }

    static inline std::mutex mutex_;
    static inline std::vector<std::string> events_;
    std::thread thread_;
    DWORD threadId_ = 0;
};

// The program's own Escape (a step typing it) is injected and must not stop the run; at the end
// of the program every key still held goes up, and nothing is sent afterwards.
TEST(Win32Input, InjectedEscapeDoesNotCountAndExitReleasesEveryKeyHeld) {
    KeyHookRecorder hook;
    Win32Input input;
    input.escapePressed();
    input.key(vk::Escape, true);
    input.key(vk::Escape, false);
    EXPECT_FALSE(input.escapePressed());

    for (const int vkCode : {vk::Shift, vk::Control, vk::Alt, int('A')}) input.key(vkCode, true);
    input.key(vk::Alt, false);
    input.releaseForExit();
    input.key(vk::Control, true);
    std::vector<std::string> after = hook.seen();
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(after.begin(), after.begin() + 2),
              (std::vector<std::string>{"id1B", "iu1B"}));
    after.erase(after.begin(), after.begin() + 7);  // Escape, the four presses, the Alt release
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, (std::vector<std::string>{"iu10", "iu11", "iu41"}));
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

// The recorder once gave "a" for a dead "^" and "a": the hook leaves the window's dead-key state
// alone, so it composes what the window composed.
TEST(Win32DeadKeys, AccentAndNextCharacterGiveWhatTheWindowGot) {
    struct Case {
        wchar_t accent;
        std::wstring typed, expected;
    } cases[] = {{L'^', L"a", L"\u00e2"},      {0x00B4, L"e", L"\u00e9"}, {0x00A8, L"U", L"\u00dc"},
                 {L'`', L"o", L"\u00f2"},      {L'~', L"n", L"\u00f1"},   {0x00B8, L"c", L"\u00e7"},
                 {L'^', L" ", L"^"},            {L'^', L"x", L"^x"},         {0x00B4, L"ab", L"\u00b4ab"}};
    for (const Case& c : cases)
        EXPECT_EQ(ComposeDeadKey(c.accent, c.typed), c.expected) << static_cast<int>(c.accent);
}

}  // namespace
}  // namespace zs
