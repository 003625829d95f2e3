// Typing and clicking into a real X client through X11Input and the text sender.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "player/actions.h"
#include "platform/x11/x11_input.h"
#include "test_client.h"

// X headers last: they define macros (None, Bool, Status) that clash with names above.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#undef Status

namespace zs::x11 {
namespace {

using zs::testing::ClientInput;
using zs::testing::TestClient;

std::string Utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Every key and button is up: nothing an input run pressed outlives it.
void ExpectNothingHeldDown() {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (int keycode = 8; keycode < 256; ++keycode) {
        EXPECT_FALSE((keys[keycode / 8] >> (keycode % 8)) & 1) << "key still down: " << keycode;
    }
    Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rx, &ry, &wx, &wy, &mask);
    EXPECT_EQ(mask & (Button1Mask | Button2Mask | Button3Mask), 0u);
    XCloseDisplay(display);
}

std::vector<unsigned long> Keysyms(const ClientInput& input) {
    std::vector<unsigned long> keysyms;
    for (const auto& key : input.keys) keysyms.push_back(key.keysym);
    return keysyms;
}

class X11InputTest : public ::testing::Test {
protected:
    void SetUp() override { startClient({}); }

    void TearDown() override {
        client_.reset();
        ExpectNothingHeldDown();
    }

    void startClient(const std::vector<std::string>& arguments) {
        client_.reset();
        std::string error;
        client_ = TestClient::Start(arguments, error);
        ASSERT_NE(client_, nullptr) << error;
        zs::Status status;
        if (!input_) input_ = X11Input::Open(nullptr, status);
        ASSERT_NE(input_, nullptr) << status.call << ": " << status.message;
    }

    ClientInput received() {
        bool complete = false;
        ClientInput input = client_->receivedSinceLastSync(complete);
        EXPECT_TRUE(complete) << "the client did not catch up";
        return input;
    }

    std::unique_ptr<TestClient> client_;
    static std::unique_ptr<X11Input> input_;
};

std::unique_ptr<X11Input> X11InputTest::input_;

TEST_F(X11InputTest, EveryPrintableAsciiCharacterArrivesInOrder) {
    std::string printable;
    for (char c = ' '; c <= '~'; ++c) printable += c;
    // "{" starts a token when a "}" follows it anywhere, so the braces go in texts of their own.
    const std::size_t brace = printable.find('{');
    SendKeyText(*input_, printable.substr(0, brace));
    SendKeyText(*input_, "{");
    SendKeyText(*input_, printable.substr(brace + 1));
    EXPECT_EQ(received().text(), printable);
}

TEST_F(X11InputTest, ScanFindsShiftForUpperCaseAndPunctuation) {
    struct Case {
        char32_t ch;
        int shiftState;
    } cases[] = {{U'a', 0}, {U'A', 1}, {U'1', 0}, {U'!', 1}, {U';', 0}, {U':', 1}, {U' ', 0}};
    for (const Case& c : cases) {
        const KeyScan scan = input_->scanChar(c.ch);
        EXPECT_TRUE(scan.found) << static_cast<int>(c.ch);
        EXPECT_EQ(scan.shiftState, c.shiftState) << static_cast<int>(c.ch);
    }
    EXPECT_EQ(input_->scanChar(U'a').vk, 'A');
    EXPECT_FALSE(input_->scanChar(U'\u0416').found);  // Cyrillic on a US layout
}

TEST_F(X11InputTest, EveryKeyTokenPressesItsKey) {
    SendKeyText(*input_,
                "{BACKSPACE}{TAB}{ENTER}{RETURN}{ESCAPE}{PAGEUP}{PAGEDOWN}{END}{HOME}{LEFT}{UP}"
                "{RIGHT}{DOWN}{PRINTSCREEN}{INSERT}{DELETE}{F1}{F2}{F3}{F4}{F5}{F6}{F7}{F8}{F9}"
                "{F10}{F11}{F12}");
    const std::vector<unsigned long> expected = {
        XK_BackSpace, XK_Tab,   XK_Return, XK_Return, XK_Escape, XK_Prior, XK_Next,
        XK_End,       XK_Home,  XK_Left,   XK_Up,     XK_Right,  XK_Down,  XK_Print,
        XK_Insert,    XK_Delete, XK_F1,    XK_F2,     XK_F3,     XK_F4,    XK_F5,
        XK_F6,        XK_F7,    XK_F8,     XK_F9,     XK_F10,    XK_F11,   XK_F12};
    EXPECT_EQ(Keysyms(received()), expected);
    input_->escapePressed();  // forget the typed Escape
}

TEST_F(X11InputTest, HoldTokensModifyTheCharactersBetweenThem) {
    struct Case {
        const char* text;
        std::vector<unsigned long> keysyms;
        std::string typed;
        unsigned stateOfLast;
    } cases[] = {
        {"{SHIFTDOWN}abc{SHIFTUP}", {XK_Shift_L, XK_A, XK_B, XK_C}, "ABC", ShiftMask},
        {"{CONTROLDOWN}a{CONTROLUP}", {XK_Control_L, XK_a}, "\x01", ControlMask},
        {"{ALTDOWN}x{ALTUP}", {XK_Alt_L, XK_x}, "x", Mod1Mask},
        {"{SHIFTDOWN}x", {XK_Shift_L, XK_X}, "X", ShiftMask},  // released at the end
        {"Ab", {XK_Shift_L, XK_A, XK_b}, "Ab", 0},
    };
    for (const auto& c : cases) {
        SendKeyText(*input_, c.text);
        const ClientInput got = received();
        EXPECT_EQ(Keysyms(got), c.keysyms) << c.text;
        EXPECT_EQ(got.text(), c.typed) << c.text;
        if (!got.keys.empty()) {
            EXPECT_EQ(got.keys.back().state & 0xff, c.stateOfLast) << c.text;
        }
        ExpectNothingHeldDown();
    }
}

unsigned LockedModifiers(Display* display) {
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return state.locked_mods;
}

// Caps Lock inverts letters, Shift Lock shifts every key (xkb option caps:shiftlock locks Shift),
// Num Lock changes the keypad: a text arrives as written whatever the user has locked, and the
// locks are as the user left them afterwards.
TEST_F(X11InputTest, LockKeysChangeNeitherTheTypedTextNorTheirOwnState) {
    Display* probe = XOpenDisplay(nullptr);
    ASSERT_NE(probe, nullptr);
    const unsigned numLock = XkbKeysymToModifiers(probe, XK_Num_Lock);
    struct Locks {  // unlocked again whatever the test's outcome
        Display* display;
        unsigned mask;
        Locks(Display* d, unsigned m) : display(d), mask(m) { set(mask); }
        ~Locks() { set(0); }
        void set(unsigned values) {
            XkbLockModifiers(display, XkbUseCoreKbd, mask, values);
            XSync(display, False);
        }
    };
    struct Case {
        const char* name;
        unsigned mask;
    } cases[] = {{"Caps Lock", LockMask}, {"Shift Lock", ShiftMask}, {"Num Lock", numLock},
                 {"all three", LockMask | ShiftMask | numLock}};
    for (const Case& c : cases) {
        const Locks locks(probe, c.mask);
        SendKeyText(*input_, "Hello World 1!{SHIFTDOWN}ab{SHIFTUP} é✓{HOME}");
        const ClientInput got = received();
        EXPECT_EQ(got.text(), "Hello World 1!AB é✓") << c.name;
        EXPECT_EQ(Keysyms(got).back(), static_cast<unsigned long>(XK_Home)) << c.name;
        EXPECT_EQ(LockedModifiers(probe), c.mask) << c.name;
    }
    EXPECT_EQ(LockedModifiers(probe), 0u);
    XCloseDisplay(probe);
}

TEST_F(X11InputTest, CharactersTheLayoutLacksArriveOnSpareKeys) {
    const std::string text = "é€жπ✓ and é€жπ✓ again";
    SendKeyText(*input_, text);
    EXPECT_EQ(received().text(), text);
}

// A stop between two characters: what was typed arrives, nothing after it, Shift goes up.
TEST_F(X11InputTest, AStoppedTextEndsBetweenTwoCharactersWithNothingHeld) {
    int asked = 0;
    SendKeyText(*input_, "{SHIFTDOWN}" + std::string(5000, 'a'), [&] { return ++asked > 100; });
    EXPECT_EQ(received().text(), std::string(100, 'A'));
    ExpectNothingHeldDown();
}

// More distinct characters than spare keys, into a client that takes 15 ms per key: rebinding
// a key while the client has not decoded its last press would show the new character.
TEST_F(X11InputTest, ASlowClientSeesTheRightCharacterWhenSpareKeysAreReused) {
    startClient({"--delay-ms", "15"});
    std::u32string characters;
    for (char32_t c = U'α'; c <= U'ω'; ++c) characters += c;
    for (char32_t c = U'а'; c <= U'п'; ++c) characters += c;
    std::string expected;
    for (char32_t c : characters) {
        input_->typeUnlisted(c);
        expected += Utf8(c);
    }
    EXPECT_EQ(received().text(), expected);
}

// On a German layout letters sit elsewhere, "@" and "€" need AltGr (typed on spare keys) and
// umlauts have keys of their own; the change of layout also drops the spare-key bindings made
// on the previous one.
TEST_F(X11InputTest, TextArrivesOnAnotherLayoutAfterTheLayoutChanged) {
    SendKeyText(*input_, "é✓");
    EXPECT_EQ(received().text(), "é✓");
    struct RestoreLayout {
        ~RestoreLayout() { EXPECT_EQ(std::system("setxkbmap us"), 0); }
    } restore;
    ASSERT_EQ(std::system("setxkbmap de"), 0);
    const std::string text = "zyZY äöüß ÄÖÜ @€ é✓ <>|";
    SendKeyText(*input_, text);
    EXPECT_EQ(received().text(), text);
}

TEST_F(X11InputTest, ClicksArriveWithTheirButtonAndPosition) {
    struct Case {
        const char* click;
        int x, y;
        std::vector<int> buttons;
    } cases[] = {
        {"L_Click", 100, 120, {1}},    {"R_Click", 300, 40, {3}}, {"M_Click", 5, 590, {2}},
        {"Ldbl_Click", 640, 320, {1, 1}}, {"None", 200, 200, {}},
    };
    for (const auto& c : cases) {
        Step step;
        step.ClickType = c.click;
        step.MouseX = c.x;
        step.MouseY = c.y;
        DoMouseStep(step, *input_);
        EXPECT_EQ(input_->pointerPosition(), (Point{c.x, c.y})) << c.click;
        const ClientInput got = received();
        ASSERT_EQ(got.buttons.size(), c.buttons.size()) << c.click;
        for (std::size_t i = 0; i < c.buttons.size(); ++i) {
            EXPECT_EQ(got.buttons[i].button, c.buttons[i]) << c.click;
            EXPECT_EQ(got.buttons[i].x, c.x) << c.click;
            EXPECT_EQ(got.buttons[i].y, c.y) << c.click;
        }
    }
}

// The cursor thread reads the pointer while the player thread types and tests for Escape.
TEST_F(X11InputTest, ThePointerCanBeReadWhileAnotherThreadTypes) {
    std::atomic<bool> typing{true};
    std::thread cursor([&] {
        while (typing) {
            input_->pointerPosition();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const std::string text = "typing while the pointer is read, with Capitals and ✓";
    for (int i = 0; i < 3; ++i) {
        SendKeyText(*input_, text);
        input_->escapePressed();
    }
    typing = false;
    cursor.join();
    EXPECT_EQ(received().text(), text + text + text);
}

// A short tap of Escape from another client between two questions is reported once.
TEST_F(X11InputTest, AnEscapeTapBetweenTwoTestsIsNotMissed) {
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const unsigned escape = XKeysymToKeycode(other, XK_Escape);
    input_->escapePressed();
    EXPECT_FALSE(input_->escapePressed());
    XTestFakeKeyEvent(other, escape, True, CurrentTime);
    XSync(other, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    XTestFakeKeyEvent(other, escape, False, CurrentTime);
    XSync(other, False);
    EXPECT_TRUE(input_->escapePressed());
    EXPECT_FALSE(input_->escapePressed());
    // Held down: reported on every question until released.
    XTestFakeKeyEvent(other, escape, True, CurrentTime);
    XSync(other, False);
    EXPECT_TRUE(input_->escapePressed());
    EXPECT_TRUE(input_->escapePressed());
    XTestFakeKeyEvent(other, escape, False, CurrentTime);
    XSync(other, False);
    XCloseDisplay(other);
    input_->escapePressed();
    EXPECT_FALSE(input_->escapePressed());
}

// Another client's XTest key (xdotool, a remote desktop), as a user's key press stands in here.
void TapFromOtherClient(Display* other, unsigned keycode, bool down, bool up) {
    if (down) XTestFakeKeyEvent(other, keycode, True, CurrentTime);
    if (up) XTestFakeKeyEvent(other, keycode, False, CurrentTime);
    XSync(other, False);
}

// A step that types Escape must not end its own run; the user's Escape still does, also right
// after one of the program's own.
TEST_F(X11InputTest, TheProgramsOwnEscapeDoesNotCountTheUsersDoes) {
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const unsigned escape = XKeysymToKeycode(other, XK_Escape);
    input_->escapePressed();
    SendKeyText(*input_, "{ESCAPE}x\x1b{ESCAPE}");
    EXPECT_FALSE(input_->escapePressed());

    SendKeyText(*input_, "{ESCAPE}");
    TapFromOtherClient(other, escape, true, true);
    EXPECT_TRUE(input_->escapePressed());
    EXPECT_FALSE(input_->escapePressed());
    XCloseDisplay(other);
}

std::vector<KeySym> KeyboardMap(Display* display) {
    int first = 0, last = 0, perKeycode = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1,
                                      &perKeycode);
    std::vector<KeySym> syms(map, map + (last - first + 1) * perKeycode);
    XFree(map);
    return syms;
}

// The end of the program, whichever way it comes, leaves no key or button down and the
// keyboard map as it found it; nothing is sent afterwards.
TEST_F(X11InputTest, ReleaseForExitLiftsWhatIsHeldAndGivesBackTheSpareKeys) {
    Display* probe = XOpenDisplay(nullptr);
    ASSERT_NE(probe, nullptr);
    const std::vector<KeySym> before = KeyboardMap(probe);
    zs::Status status;
    std::unique_ptr<X11Input> input = X11Input::Open(nullptr, status);
    ASSERT_NE(input, nullptr);
    for (const int vkCode : {vk::Shift, vk::Control, vk::Alt}) input->key(vkCode, true);
    input->key('A', true);
    input->typeUnlisted(U'\u20AC');
    input->mouseButton(MouseButton::Left, true);
    EXPECT_NE(KeyboardMap(probe), before);

    input->releaseForExit();
    ExpectNothingHeldDown();
    EXPECT_EQ(KeyboardMap(probe), before);
    input->key(vk::Shift, true);
    input->typeUnlisted(U'\u00FC');
    ExpectNothingHeldDown();
    EXPECT_EQ(KeyboardMap(probe), before);
    XCloseDisplay(probe);
}

}  // namespace
}  // namespace zs::x11
