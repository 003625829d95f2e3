// The desktop service under Wine: Wine's notepad found by title, activated (confirmed by the
// foreground), restored from minimised; a window of our own with a known colour for the origin,
// the pixels and the window under a point.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/win32_services.h"

namespace zs {
namespace {

bool Eventually(const std::function<bool()>& condition) {
    for (int tries = 0; tries < 1000; ++tries) {  // 20 s at most
        if (condition()) return true;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(20);
    }
    return false;
}

std::optional<DesktopWindow> FindByTitle(Win32Desktop& desktop, const std::string& part) {
    for (const DesktopWindow& w : desktop.windows())
        if (w.title.find(part) != std::string::npos) return w;
    return std::nullopt;
}

class Notepad {
public:
    Notepad() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        char command[] = "notepad.exe";
        started_ = CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process_) != FALSE;
    }
    ~Notepad() {
        if (!started_) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool started() const { return started_; }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// A plain window of this process, filled with one colour.
HWND OwnColouredWindow(const char* title, COLORREF colour, int x, int y) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = title;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, title, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 300,
                                  200, nullptr, nullptr, windowClass.hInstance, nullptr);
    UpdateWindow(window);
    return window;
}

TEST(Win32Desktop, NotepadFoundByTitleActivatedAndRestored) {
    Win32Desktop desktop;
    Notepad notepad;
    ASSERT_TRUE(notepad.started());
    ASSERT_TRUE(Eventually([&] { return FindByTitle(desktop, "Notepad").has_value(); }));
    const DesktopWindow found = *FindByTitle(desktop, "Notepad");
    EXPECT_FALSE(found.own);

    HWND own = OwnColouredWindow("zs own window", RGB(0, 0, 255), 500, 300);
    ASSERT_TRUE(Eventually([&] { return FindByTitle(desktop, "zs own window").has_value(); }));
    EXPECT_TRUE(FindByTitle(desktop, "zs own window")->own);

    EXPECT_TRUE(desktop.activate(found.id) || Eventually([&] { return desktop.activate(found.id); }));
    EXPECT_EQ(desktop.windows().front().id, found.id) << "the active window is on top";

    ShowWindow(reinterpret_cast<HWND>(found.id), SW_MINIMIZE);
    ASSERT_TRUE(Eventually([&] { return IsIconic(reinterpret_cast<HWND>(found.id)) != FALSE; }));
    EXPECT_TRUE(desktop.activate(found.id));
    EXPECT_FALSE(IsIconic(reinterpret_cast<HWND>(found.id)));

    // Notepad's text area is white from its client corner on.
    const auto origin = desktop.clientOrigin(found.id);
    ASSERT_TRUE(origin.has_value());
    EXPECT_TRUE(Eventually([&] { return desktop.pixel({origin->x + 8, origin->y + 8}) == Rgb{255, 255, 255}; }));
    DestroyWindow(own);
}

TEST(Win32Desktop, OwnedWindowsAreListedWhenTheyHaveATitleBar) {
    Win32Desktop desktop;
    HWND owner = OwnColouredWindow("zs owner window", RGB(0, 0, 255), 100, 100);
    struct Row {
        const char* title;
        DWORD style;
        bool listed;
    };
    const Row rows[] = {
        {"zs owned dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, true},
        {"zs owned popup", WS_POPUP | WS_BORDER | WS_VISIBLE, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        HWND owned = CreateWindowExA(0, "zs owner window", row.title, row.style, 150, 150, 200,
                                     100, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owned, nullptr);
        ASSERT_TRUE(Eventually([&] { return IsWindowVisible(owned) != FALSE; }));
        EXPECT_EQ(FindByTitle(desktop, row.title).has_value(), row.listed);
        DestroyWindow(owned);
    }
    DestroyWindow(owner);
}

TEST(Win32Desktop, OriginPixelsAndTheWindowUnderAPointOfAColouredWindow) {
    Win32Desktop desktop;
    HWND own = OwnColouredWindow("zs green window", RGB(0, 255, 0), 200, 150);
    const auto id = static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(own));
    ASSERT_TRUE(desktop.activate(id) || Eventually([&] { return desktop.activate(id); }));
    const auto origin = desktop.clientOrigin(id);
    ASSERT_TRUE(origin.has_value());
    RECT client{};
    GetClientRect(own, &client);
    const Rgb green{0, 255, 0};
    EXPECT_TRUE(Eventually([&] { return desktop.pixel(*origin) == green; }));
    EXPECT_EQ(desktop.pixel({origin->x + client.right - 1, origin->y + client.bottom - 1}), green);
    EXPECT_NE(desktop.pixel({origin->x - 1, origin->y - 1}), green) << "the frame is not client";
    const auto under = desktop.windowAt({origin->x + 10, origin->y + 10});
    ASSERT_TRUE(under.has_value());
    EXPECT_EQ(under->id, id);
    EXPECT_EQ(under->title, "zs green window");
    EXPECT_TRUE(under->own);

    EXPECT_FALSE(desktop.pixel({-100000, -100000}).has_value());
    DestroyWindow(own);
    EXPECT_FALSE(desktop.clientOrigin(id).has_value());
    EXPECT_FALSE(desktop.activate(id));
}

}  // namespace
}  // namespace zs
