// The raw Win32 gadget layer against Wine's user32 (needs an X display, e.g. under Xvfb): windows
// and their client size, gadgets of every kind, combos, states, menus, the event queue fed by the
// real controls, dialogs closed by posted messages, and calls carried over from other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <thread>

#include "platform/win32/gui_win32.h"
#include "platform/win32/win32_services.h"
#include "player/actions.h"

namespace zs::gui::win32 {
namespace {

constexpr int kMain = 53;
constexpr unsigned kMainFlags = kCaption | kCloseBox | kCentered;

class Win32GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gui.openWindow(kMain, {0, 0, 252, 344}, "Zelvorin-Step", kMainFlags, 0));
        gui.createMenu(kMain, {{"File", {{75, "Open"}, {0, ""}, {80, "Exit"}}},
                               {"Control", {{81, "Play"}, {84, "Stop"}}}});
        gui.createGadget({68, GadgetKind::Container, kMain, 0, {16, 85, 220, 160}, "", Align::Left, false, 0});
        gui.createGadget({69, GadgetKind::Combo, kMain, 68, {10, 3, 200, 22}, "", Align::Left, false, 0});
        gui.createGadget({4, GadgetKind::String, kMain, 68, {50, 35, 50, 20}, "50", Align::Left, true, 0});
        gui.createGadget({17, GadgetKind::String, kMain, 68, {5, 60, 200, 20}, "", Align::Left, false, 0});
        gui.createGadget({54, GadgetKind::Button, kMain, 0, {58, 280, 45, 35}, "Play", Align::Left, false, 0});
        gui.createGadget({67, GadgetKind::Text, kMain, 0, {10, 253, 230, 20}, "", Align::Center, false, 0});
        gui.createGadget({104, GadgetKind::Editor, kMain, 0, {10, 3, 230, 70}, "", Align::Left, false, 0});
    }

    // Handles messages until the next event; the posted marker ends a wait that finds none.
    Event nextEvent() {
        PostMessageA(gui.windowHandle(kMain), WM_COMMAND, MAKEWPARAM(80, 0), 0);
        return gui.waitEvent();
    }

    Win32Gui gui;
};

TEST_F(Win32GuiTest, ClientAreaKeepsItsSizeWithTheMenuBar) {
    const Rect client = gui.windowRect(kMain);
    EXPECT_EQ(client.w, 252);
    EXPECT_EQ(client.h, 344);
    ASSERT_TRUE(gui.openWindow(112, {0, 0, 80, 25}, "", kBorderless | kCentered, kMain));
    EXPECT_EQ(gui.windowRect(112).w, 80);
    EXPECT_EQ(gui.windowRect(112).h, 25);
    gui.closeWindow(112);
    EXPECT_EQ(gui.windowHandle(112), nullptr);
    EXPECT_EQ(gui.windowRect(112), Rect{});
}

TEST_F(Win32GuiTest, WindowsOpenAtTheirClientPositionAndGadgetsTakeTheFocus) {
    ASSERT_TRUE(gui.openWindow(103, {40, 60, 388, 496}, "Editor", kCaption | kCloseBox | kAtPosition, kMain));
    EXPECT_EQ(gui.windowRect(103), (Rect{40, 60, 388, 496}));
    gui.closeWindow(103);
    for (int id : {17, 4, 104, 17}) {
        gui.setFocus(id);
        EXPECT_EQ(gui.focusedGadget(), id);
    }
    gui.setFocus(999);  // unknown: the focus stays
    EXPECT_EQ(gui.focusedGadget(), 17);
    // Tab goes on in the order the gadgets were made, into and out of containers.
    gui.setFocus(69);
    for (int next : {4, 17, 54}) {
        PostMessageA(gui.gadgetHandle(gui.focusedGadget()), WM_KEYDOWN, VK_TAB, 0);
        for (Event event = nextEvent(); event.kind != EventKind::Menu; event = gui.waitEvent()) {
        }  // the key, and the fields' Focus events, come before the marker
        EXPECT_EQ(gui.focusedGadget(), next);
    }
}

TEST_F(Win32GuiTest, TextsOfEveryKindReadBackAsSet) {
    gui.createGadget({57, GadgetKind::Frame, kMain, 0, {11, 28, 230, 220}, "1", Align::Left, false, 0});
    gui.createGadget({8, GadgetKind::Text, kMain, 68, {5, 15, 40, 15}, "Click:", Align::Right, false, 0});
    struct Case {
        int gadget;
        std::string text;
    } cases[] = {{57, "12"}, {8, "X:"}, {54, "Stop"}, {17, "a&b {ENTER} \xE9"}, {67, ""},
                 {67, std::string(5000, 'x')}};
    for (const auto& c : cases) {
        gui.setText(c.gadget, c.text);
        EXPECT_EQ(gui.text(c.gadget), c.text) << c.gadget;
    }
    EXPECT_EQ(gui.text(4), "50");
    EXPECT_EQ(gui.text(999), "");  // unknown gadgets read as empty and ignore changes
    gui.setText(999, "x");
}

TEST_F(Win32GuiTest, DigitsOnlyFieldsTakeOnlyDigitsFromTheKeyboard) {
    gui.setText(4, "");
    for (char ch : std::string("4a2-x7")) SendMessageA(gui.gadgetHandle(4), WM_CHAR, ch, 0);
    EXPECT_EQ(gui.text(4), "427");
    for (char ch : std::string("4a2")) SendMessageA(gui.gadgetHandle(17), WM_CHAR, ch, 0);
    EXPECT_EQ(gui.text(17), "4a2");
}

TEST_F(Win32GuiTest, CombosSelectByIndexAndByExactText) {
    for (const char* item : {"L_Click", "Ldbl_Click", "R_Click"}) gui.addItem(69, item);
    EXPECT_EQ(gui.itemCount(69), 3);
    EXPECT_EQ(gui.itemText(69, 1), "Ldbl_Click");
    EXPECT_EQ(gui.itemText(69, 3), "");
    EXPECT_EQ(gui.selected(69), -1);
    struct Case {
        std::string text;
        int selected;
        std::string shown;
    } byText[] = {{"R_Click", 2, "R_Click"}, {"l_click", -1, ""}, {"L_Click", 0, "L_Click"},
                  {"L_Clic", -1, ""}, {"", -1, ""}};
    for (const auto& c : byText) {
        gui.setText(69, c.text);
        EXPECT_EQ(gui.selected(69), c.selected) << c.text;
        EXPECT_EQ(gui.text(69), c.shown) << c.text;
    }
    for (int index : {1, 7, -1, 2, -5}) {
        gui.select(69, index);
        EXPECT_EQ(gui.selected(69), index >= 0 && index < 3 ? index : -1) << index;
    }
    gui.clearItems(69);
    EXPECT_EQ(gui.itemCount(69), 0);
    EXPECT_EQ(gui.selected(69), -1);
}

TEST_F(Win32GuiTest, ListBoxesWorkLikeCombos) {
    gui.createGadget({120, GadgetKind::ListBox, kMain, 0, {10, 10, 100, 60}, "", Align::Left, false, 0});
    gui.addItem(120, "one");
    gui.addItem(120, "two");
    gui.setText(120, "two");
    EXPECT_EQ(gui.selected(120), 1);
    EXPECT_EQ(gui.text(120), "two");
}

TEST_F(Win32GuiTest, DisabledAndHiddenStatesAreTheGadgetsOwn) {
    gui.setDisabled(54, true);
    gui.setHidden(68, true);
    EXPECT_TRUE(gui.isDisabled(54));
    EXPECT_TRUE(gui.isHidden(68));
    EXPECT_FALSE(gui.isHidden(69));  // inside the hidden container, but not hidden itself
    EXPECT_FALSE(gui.isDisabled(69));
    gui.setDisabled(54, false);
    gui.setHidden(68, false);
    EXPECT_FALSE(gui.isDisabled(54));
    EXPECT_FALSE(gui.isHidden(68));

    gui.setMenuItemDisabled(81, true);
    EXPECT_TRUE(gui.isMenuItemDisabled(81));
    EXPECT_FALSE(gui.isMenuItemDisabled(84));
    gui.setMenuItemDisabled(81, false);
    EXPECT_FALSE(gui.isMenuItemDisabled(81));
    EXPECT_FALSE(gui.isMenuItemDisabled(4711));
}

TEST_F(Win32GuiTest, EditorLinesSplitAtLineEndsAndReportTheCursorLine) {
    gui.setLines(104, {"Zelvorin-Step 2.5", "user  -  08.12.2026 10:00", "", "1;L_Click;50;50;"});
    EXPECT_EQ(gui.lines(104),
              (std::vector<std::string>{"Zelvorin-Step 2.5", "user  -  08.12.2026 10:00", "",
                                        "1;L_Click;50;50;"}));
    EXPECT_EQ(gui.cursorLine(104), 0);
    const HWND editor = gui.gadgetHandle(104);
    const auto lineStart = SendMessageA(editor, EM_LINEINDEX, 3, 0);
    SendMessageA(editor, EM_SETSEL, lineStart + 2, lineStart + 2);
    EXPECT_EQ(gui.cursorLine(104), 3);
    gui.setText(104, "a\nb\r\nc");  // lone LF ends a line too
    EXPECT_EQ(gui.lines(104), (std::vector<std::string>{"a", "b", "c"}));
    // A line far beyond the control's default limit shows and reads back whole.
    const std::vector<std::string> longLine{"2;String;" + std::string(300'000, 'x') + ";", "9;x;"};
    gui.setLines(104, longLine);
    UpdateWindow(editor);
    EXPECT_EQ(gui.lines(104), longLine);
    gui.setLines(104, {});
    EXPECT_EQ(gui.lines(104), (std::vector<std::string>{""}));
}

// Bytes of text the editor control was handed, by set text or by replacing its selection.
std::size_t editorBytesReceived = 0;
WNDPROC editorProc = nullptr;

LRESULT CALLBACK CountingEditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_SETTEXT || message == EM_REPLACESEL) && lParam)
        editorBytesReceived += std::strlen(reinterpret_cast<const char*>(lParam));
    return CallWindowProcA(editorProc, hwnd, message, wParam, lParam);
}

// Every line is measured by the control, which under Wine made each reload of a long program in
// the editor cost seconds: a new text must hand over only the lines that changed.
TEST_F(Win32GuiTest, EditorTakesOnlyTheChangedLinesOfANewText) {
    std::vector<std::string> lines{"Zelvorin-Step 2.5", "user  -  08.12.2026 10:00", ""};
    for (int i = 1; i <= 2000; ++i) lines.push_back(std::to_string(i) + ";L_Click;50;50;");
    gui.setLines(104, lines);
    const HWND editor = gui.gadgetHandle(104);
    editorProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingEditorProc)));
    SendMessageA(editor, EM_SETSEL, 20, 20);  // typing into the line that changes
    SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
    SendMessageA(editor, EM_LINESCROLL, 0, 500);
    editorBytesReceived = 0;
    lines[1] = "user  -  09.12.2026 01:30";
    gui.setLines(104, lines);
    EXPECT_EQ(editorBytesReceived, lines[1].size() + 2);
    EXPECT_EQ(gui.lines(104), lines);
    // As after a set text: cursor and view at the start, nothing to undo, not modified.
    EXPECT_EQ(gui.cursorLine(104), 0);
    EXPECT_EQ(SendMessageA(editor, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(editor, EM_CANUNDO, 0, 0), 0);
    EXPECT_EQ(SendMessageA(editor, EM_GETMODIFY, 0, 0), 0);
    editorBytesReceived = 0;
    lines.erase(lines.begin() + 500, lines.begin() + 510);
    gui.setLines(104, lines);
    EXPECT_EQ(gui.lines(104), lines);
    EXPECT_EQ(editorBytesReceived, 0u);
    lines.push_back("");  // the last line gains its line end
    gui.setLines(104, lines);
    EXPECT_EQ(gui.lines(104), lines);
    EXPECT_EQ(editorBytesReceived, lines[lines.size() - 2].size() + 2);
    SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorProc));
}

TEST(ChangedLines, CoverWholeLinesThatDifferAndKeepTheRest) {
    struct Case {
        const char *before, *after;
        std::size_t start, end;
        const char* replacement;
    } cases[] = {
        {"a\r\nb\r\nc", "a\r\nX\r\nc", 3, 6, "X\r\n"},
        {"a\r\nb\r\nc", "a\r\nb\r\nc", 6, 6, ""},           // same text: nothing
        {"a\r\nbc\r\nd", "a\r\nbX\r\nd", 3, 7, "bX\r\n"},   // a line changes in its middle
        {"a\r\nb", "a\r\nb\r\nc", 3, 4, "b\r\nc"},           // a line appended
        {"x\r\nx\r\n", "x\r\n", 3, 6, ""},                   // repeated lines removed at the end
        {"x\r\n", "x\r\nx\r\n", 3, 3, "x\r\n"},
        {"abc", "abd", 0, 3, "abd"},
        {"", "a\r\nb", 0, 0, "a\r\nb"},
        {"a\r\nb", "", 0, 4, ""},
        {"a\rb\r\nc", "a\nb\r\nc", 0, 5, "a\nb\r\n"},       // only LF ends a line
    };
    for (const Case& c : cases) {
        const LineChange change = ChangedLines(c.before, c.after);
        EXPECT_EQ(change.start, c.start) << c.before << " -> " << c.after;
        EXPECT_EQ(change.end, c.end) << c.before << " -> " << c.after;
        EXPECT_EQ(change.replacement, c.replacement) << c.before << " -> " << c.after;
        const std::string before = c.before;
        EXPECT_EQ(before.substr(0, change.start) + change.replacement + before.substr(change.end), c.after);
    }
}

TEST_F(Win32GuiTest, ControlsAndMenusFeedTheEventQueue) {
    gui.addItem(69, "1 Mouse");
    SendMessageA(gui.gadgetHandle(54), BM_CLICK, 0, 0);
    PostMessageA(gui.gadgetHandle(68), WM_COMMAND, MAKEWPARAM(69, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(gui.gadgetHandle(69)));  // as the combo reports it
    PostMessageA(gui.gadgetHandle(17), WM_KEYDOWN, VK_F9, 0);
    PostMessageA(gui.windowHandle(kMain), WM_COMMAND, MAKEWPARAM(75, 0), 0);
    PostMessageA(gui.windowHandle(kMain), WM_CLOSE, 0, 0);
    const Event expected[] = {
        {EventKind::Gadget, kMain, 54, static_cast<int>(GadgetEventType::Click), 0},
        {EventKind::Gadget, kMain, 69, static_cast<int>(GadgetEventType::Change), 0},
        {EventKind::KeyDown, kMain, 0, 0, 0x78},
        {EventKind::Menu, kMain, 75, 0, 0},
        {EventKind::WindowClose, kMain, 0, 0, 0},
    };
    for (const Event& want : expected) {
        const Event got = gui.waitEvent();
        EXPECT_EQ(got.kind, want.kind);
        EXPECT_EQ(got.window, want.window);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.subType, want.subType);
        EXPECT_EQ(got.key, want.key);
    }
    EXPECT_TRUE(IsWindow(gui.windowHandle(kMain)));  // the close box only reports
}

TEST_F(Win32GuiTest, OwnTextChangesRaiseNoEventsButTypingDoes) {
    gui.setText(17, "set by the program");
    EXPECT_EQ(nextEvent().id, 80);
    SendMessageA(gui.gadgetHandle(17), WM_CHAR, 'x', 0);
    const Event typed = gui.waitEvent();
    EXPECT_EQ(typed.id, 17);
    EXPECT_EQ(typed.subType, static_cast<int>(GadgetEventType::Change));
}

void TapCapsLock() {
    keybd_event(VK_CAPITAL, 0, 0, 0);
    keybd_event(VK_CAPITAL, 0, KEYEVENTF_KEYUP, 0);
}

// Handles the UI thread's messages until done() or a time-out; done() at the end.
bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    return done();
}

bool CapsLockOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

// Caps Lock inverts the letters a layout types; a text typed by the player (on a thread of its
// own) arrives as written all the same, and Caps Lock is on again afterwards.
TEST_F(Win32GuiTest, TypedTextArrivesAsWrittenWithCapsLockOn) {
    gui.setText(17, "");
    gui.setFocus(17);
    Win32Input input;
    TapCapsLock();  // the user's, while the program runs
    ASSERT_TRUE(PumpUntil(CapsLockOn));
    const std::string expected = "Hello World 1!AB";
    std::thread player([&] { SendKeyText(input, "Hello World 1!{SHIFTDOWN}ab{SHIFTUP}"); });
    PumpUntil([&] { return gui.text(17).size() >= expected.size(); });
    player.join();
    EXPECT_EQ(gui.text(17), expected);
    EXPECT_TRUE(PumpUntil([] {
        MSG msg;  // the last key of the text handled too
        return CapsLockOn() && !PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE);
    }));
    TapCapsLock();
    PumpUntil([] { return !CapsLockOn(); });
}

// Finds the dialog with the title and answers it with the command, as a user's click would.
std::thread AnswerDialog(const char* title, WPARAM command) {
    return std::thread([title, command] {
        for (int i = 0; i < 500; ++i) {
            if (HWND box = FindWindowA("#32770", title)) {
                PostMessageA(box, WM_COMMAND, command, 0);
                return;
            }
            Sleep(20);
        }
    });
}

TEST_F(Win32GuiTest, MessageBoxesReturnTheAnswerGiven) {
    std::thread yes = AnswerDialog("Confirm", IDYES);
    EXPECT_EQ(gui.messageBox("Confirm", "File already exists! Replace?", Buttons::YesNo), Answer::Yes);
    yes.join();
    std::thread no = AnswerDialog("Confirm", IDNO);
    EXPECT_EQ(gui.messageBox("Confirm", "Exit?", Buttons::YesNo), Answer::No);
    no.join();
    std::thread ok = AnswerDialog("Info", IDOK);
    EXPECT_EQ(gui.messageBox("Info", "File saved", Buttons::Ok), Answer::Ok);
    ok.join();
}

TEST_F(Win32GuiTest, CallsFromOtherThreadsRunOnTheUiThreadWhileItWaitsForEvents) {
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> rethrown{false};
    std::atomic<int> answer{-1};
    std::atomic<bool> mainEnabledDuringBox{false};
    const HWND main = gui.windowHandle(kMain);
    std::thread player([&] {
        gui.setText(67, "from the player");
        gui.runOnUi([&] { ranOn = GetCurrentThreadId(); });
        try {
            gui.runOnUi([] { throw std::runtime_error("inside"); });
        } catch (const std::runtime_error&) {
            rethrown = true;
        }
        // The player's box leaves the main window usable: Stop can be clicked while it is open.
        std::thread user([&] {
            for (int i = 0; i < 500; ++i, Sleep(20)) {
                if (HWND box = FindWindowA("#32770", "PAUSE")) {
                    mainEnabledDuringBox = IsWindowEnabled(main) != FALSE;
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return;
                }
            }
        });
        answer = static_cast<int>(gui.messageBox("PAUSE", "Message step", Buttons::Ok));
        user.join();
        gui.notice("saved", kMain);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(84, 0), 0);
    });
    Event event;
    while ((event = gui.waitEvent()).id != 84) {
    }
    player.join();
    EXPECT_EQ(ranOn.load(), uiThread);
    EXPECT_TRUE(rethrown);
    EXPECT_EQ(answer.load(), static_cast<int>(Answer::Ok));
    EXPECT_TRUE(mainEnabledDuringBox);
    EXPECT_EQ(gui.text(67), "from the player");
    EXPECT_EQ(gui.windowHandle(112), nullptr);
}

TEST_F(Win32GuiTest, NoticeShowsItsTextThenClosesAndActivatesTheParent) {
    std::atomic<bool> seen{false};
    std::thread watcher([&] {
        for (int i = 0; i < 200 && !seen; ++i) {
            HWND notice = FindWindowExA(nullptr, nullptr, WindowClassName(), "");
            char text[64] = {};
            if (notice) GetWindowTextA(GetDlgItem(notice, 113), text, sizeof text);
            seen = std::string(text) == "File saved";
            Sleep(10);
        }
    });
    gui.notice("File saved", kMain);
    watcher.join();
    EXPECT_TRUE(seen);
    EXPECT_EQ(gui.windowHandle(112), nullptr);
    EXPECT_EQ(GetActiveWindow(), gui.windowHandle(kMain));
}

template <std::size_t N>
std::string WithNuls(const char (&text)[N]) {
    return std::string(text, N - 1);
}

TEST(DialogFilter, BecomesNulSeparatedWithTwoNulsAtTheEnd) {
    EXPECT_EQ(DialogFilter("STEP file (*.stp)|*.stp"), WithNuls("STEP file (*.stp)\0*.stp\0\0"));
    EXPECT_EQ(DialogFilter("A|*.a|B|*.b"), WithNuls("A\0*.a\0B\0*.b\0\0"));
    EXPECT_EQ(DialogFilter(""), WithNuls("\0"));
}

}  // namespace
}  // namespace zs::gui::win32
