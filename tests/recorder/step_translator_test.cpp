#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/step_file.h"
#include "recorder/step_translator.h"

namespace zs {
namespace {

using Events = std::vector<RecordedEvent>;

RecordedEvent Press(std::uint32_t t, int x, int y, MouseButton button = MouseButton::Left) {
    RecordedEvent event;
    event.kind = RecordedKind::ButtonDown;
    event.timeMs = t;
    event.button = button;
    event.position = {x, y};
    return event;
}

RecordedEvent Release(RecordedEvent press) {
    press.kind = RecordedKind::ButtonUp;
    press.timeMs += 60;
    press.position.x += 30;  // a release elsewhere does not move the click
    return press;
}

RecordedEvent Key(std::uint32_t t, int vkCode, std::string text = {}, bool down = true) {
    RecordedEvent event;
    event.kind = down ? RecordedKind::KeyDown : RecordedKind::KeyUp;
    event.timeMs = t;
    event.vk = vkCode;
    event.text = std::move(text);
    return event;
}

RecordedEvent KeyUp(std::uint32_t t, int vkCode) { return Key(t, vkCode, {}, false); }

RecordedEvent Own(RecordedEvent event) {
    event.ownWindow = true;
    return event;
}

RecordedEvent Held(RecordedEvent event, HeldModifiers held) {
    event.held = held;
    return event;
}

RecordedEvent AltGr(RecordedEvent event) {
    event.altGr = true;
    return event;
}

// Characters typed 100 ms apart from t on, each key pressed and released.
Events Typed(std::uint32_t t, const std::string& letters) {
    Events events;
    for (char letter : letters) {
        const int code = letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter;
        events.push_back(Key(t, code, std::string(1, letter)));
        events.push_back(KeyUp(t + 40, code));
        t += 100;
    }
    return events;
}

Events Join(std::initializer_list<Events> parts) {
    Events all;
    for (const Events& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<std::string> CodeLinesOf(const Events& events) {
    TranslationRules rules;
    rules.doubleClick = {400, 4};
    std::vector<std::string> lines;
    for (const Step& step : TranslateRecording(events, rules)) lines.push_back(CodeLine(step));
    return lines;
}

struct Case {
    const char* name;
    Events events;
    std::vector<std::string> lines;
};

// A press into the window titled `title` whose client area lies at `origin`.
RecordedEvent In(RecordedEvent event, const std::string& title, Point origin) {
    event.windowTitle = title;
    event.windowOrigin = origin;
    return event;
}

TEST(StepTranslator, ClicksDoubleClicksAndTheProgramsOwnWindows) {
    const RecordedEvent a = Press(1000, 10, 20);
    const std::vector<Case> cases = {
        {"left click at the press", {a, Release(a)}, {"1;L_Click;10;20;"}},
        {"right and middle", {Press(1000, 5, 6, MouseButton::Right), Press(1100, 7, 8, MouseButton::Middle)},
         {"1;R_Click;5;6;", "1;M_Click;7;8;"}},
        {"double click", {a, Release(a), Press(1300, 13, 16), Press(1450, 13, 16)},
         {"1;Ldbl_Click;10;20;", "1;L_Click;13;16;"}},
        {"too slow for a double click", {a, Press(1401, 10, 20)},
         {"1;L_Click;10;20;", "1;L_Click;10;20;"}},
        {"too far for a double click", {a, Press(1100, 15, 20)},
         {"1;L_Click;10;20;", "1;L_Click;15;20;"}},
        {"right clicks never fold", {Press(1000, 1, 1, MouseButton::Right), Press(1100, 1, 1, MouseButton::Right)},
         {"1;R_Click;1;1;", "1;R_Click;1;1;"}},
        {"a key between breaks the double click", Join({{a}, Typed(1050, "x"), {Press(1200, 10, 20)}}),
         {"1;L_Click;10;20;", "2;String;x;", "1;L_Click;10;20;"}},
        {"Ctrl+click and Shift+Alt+right click between hold tokens, never folded",
         {Held(a, {false, true, false}), Held(Press(1100, 10, 20), {false, true, false}),
          Held(Press(1200, 3, 4, MouseButton::Right), {true, false, true})},
         {"2;String;{CONTROLDOWN};", "1;L_Click;10;20;", "2;String;{CONTROLUP};",
          "2;String;{CONTROLDOWN};", "1;L_Click;10;20;", "2;String;{CONTROLUP};",
          "2;String;{ALTDOWN}{SHIFTDOWN};", "1;R_Click;3;4;", "2;String;{SHIFTUP}{ALTUP};"}},
        {"own windows: clicks and keys ignored",
         Join({{Own(Press(1000, 1, 1)), Own(Key(1100, 'A', "a")), a}}), {"1;L_Click;10;20;"}},
        {"a titled window is activated once and clicked relative to its client area",
         {In(a, "Notes", {5, 10}), In(Press(1100, 40, 50), "Notes", {5, 10}),
          In(Press(1200, 60, 60), "Untitled - Paint", {30, 30}), Press(1300, 7, 8),
          In(Press(1400, 20, 20), "", {0, 0}), In(Press(1500, 9, 9), "Notes", {0, 0})},
         {"10;Activate;Notes;10.0;0;", "1;L_Click;5;10;", "1;L_Click;35;40;",
          "10;Activate;Untitled - Paint;10.0;0;", "1;L_Click;30;30;", "10;Screen;;0.0;0;",
          "1;L_Click;7;8;", "1;L_Click;20;20;", "10;Activate;Notes;10.0;0;", "1;L_Click;9;9;"}},
        {"a double click in a window", {In(a, "Notes", {5, 10}), In(Press(1100, 10, 20), "Notes", {5, 10})},
         {"10;Activate;Notes;10.0;0;", "1;Ldbl_Click;5;10;"}},
    };
    for (const Case& c : cases) EXPECT_EQ(CodeLinesOf(c.events), c.lines) << c.name;
}

TEST(StepTranslator, TextRunsKeysAndShortcuts) {
    const Events shiftedH = {Key(1000, 0x10), Key(1010, 'H', "H"), KeyUp(1020, 'H'), KeyUp(1030, 0x10)};
    const std::vector<Case> cases = {
        {"Shift folds into the character", Join({shiftedH, Typed(1100, "i!")}), {"2;String;Hi!;"}},
        {"reserved characters as tokens", Typed(1000, "a;b{c}"),
         {"2;String;a{SEMICOLON}b{LEFTBRACE}c};"}},
        {"non-layout characters", {Key(1000, 0, "\xE2\x82\xAC"), Key(1100, 0, "\xC3\xA9")},
         {"2;String;\xE2\x82\xAC\xC3\xA9;"}},
        {"a token key ends the run", Join({Typed(1000, "ab"), {Key(1200, 0x0D)}, Typed(1300, "c")}),
         {"2;String;ab;", "2;Key;{ENTER};", "2;String;c;"}},
        {"Enter's own text is not typed", {Key(1000, 0x0D, "\r"), Key(1100, 0x09, "\t")},
         {"2;Key;{ENTER};", "2;Key;{TAB};"}},
        {"Ctrl+S", {Key(1000, 0x11), Key(1100, 'S', "s"), KeyUp(1150, 'S'), KeyUp(1200, 0x11)},
         {"2;String;{CONTROLDOWN}s{CONTROLUP};"}},
        {"Ctrl+Shift+Left",
         {Key(1000, 0x11), Key(1010, 0x10), Key(1100, 0x25), KeyUp(1150, 0x10), KeyUp(1200, 0x11)},
         {"2;String;{CONTROLDOWN}{SHIFTDOWN}{LEFT}{SHIFTUP}{CONTROLUP};"}},
        {"Shift+Tab", {Key(1000, 0x10), Key(1100, 0x09), KeyUp(1200, 0x10)},
         {"2;String;{SHIFTDOWN}{TAB}{SHIFTUP};"}},
        {"Alt+semicolon", {Key(1000, 0x12), Key(1100, 0xBA, ";"), KeyUp(1200, 0x12)},
         {"2;String;{ALTDOWN}{SEMICOLON}{ALTUP};"}},
        {"AltGr characters are text", Join({Typed(1000, "a"), {Key(1100, 0x11), Key(1100, 0x12),
                                            AltGr(Key(1150, 'Q', "@"))}}),
         {"2;String;a@;"}},
        {"keys without token or character", {Key(1000, 0x14), Key(1100, 0x5B), Key(1200, 0xFF, "")},
         {}},
        {"a released modifier no longer counts",
         Join({{Key(1000, 0x11), KeyUp(1050, 0x11)}, Typed(1100, "s")}), {"2;String;s;"}},
        {"F-keys and Delete", {Key(1000, 0x71), Key(1100, 0x2E)}, {"2;Key;{F2};", "2;Key;{DELETE};"}},
    };
    for (const Case& c : cases) EXPECT_EQ(CodeLinesOf(c.events), c.lines) << c.name;
}

TEST(StepTranslator, PausesBecomeDelaysLessTheSettleTime) {
    const std::vector<Case> cases = {
        {"499 ms: none", Join({Typed(1000, "a"), Typed(1499, "b")}), {"2;String;ab;"}},
        {"500 ms: 0.3 s", Join({Typed(1000, "a"), Typed(1500, "b")}),
         {"2;String;a;", "3;0.3;", "2;String;b;"}},
        {"rounded to 0.1 s", {Press(1000, 1, 1), Press(3449, 2, 2), Press(5450, 3, 3)},
         {"1;L_Click;1;1;", "3;2.2;", "1;L_Click;2;2;", "3;1.8;", "1;L_Click;3;3;"}},
        {"across the clock's wrap-around", {Press(0xFFFFFF00u, 1, 1), Press(0xFFFFFF00u + 900, 2, 2)},
         {"1;L_Click;1;1;", "3;0.7;", "1;L_Click;2;2;"}},
        {"none before the first action", Typed(90000, "a"), {"2;String;a;"}},
        {"a slow second click is no double click", {Press(1000, 1, 1), Press(1600, 1, 1)},
         {"1;L_Click;1;1;", "3;0.4;", "1;L_Click;1;1;"}},
        {"modifiers alone are no action",
         {Key(1000, 'A', "a"), Key(1800, 0x10), Key(1850, 'B', "B")},
         {"2;String;a;", "3;0.7;", "2;String;B;"}},
    };
    for (const Case& c : cases) EXPECT_EQ(CodeLinesOf(c.events), c.lines) << c.name;
}

}  // namespace
}  // namespace zs
