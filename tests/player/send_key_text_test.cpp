#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/headless/recording_input.h"
#include "player/actions.h"
#include "player/key_tokens.h"

namespace zs {
namespace {

const std::string kClosing = "Ku12 Ku11 Ku10";  // Alt, Control, Shift up after every text

std::string Sent(const std::string& text, bool utf8 = true) {
    RecordingInput input(nullptr, utf8);
    EXPECT_EQ(SendKeyText(input, text), 1);
    return input.transcript();
}

std::string Then(const std::string& keys) { return keys.empty() ? kClosing : keys + " " + kClosing; }

std::string Hex2(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

struct TextCase {
    std::string text;
    std::string keys;  // transitions before the closing key-ups
};

TEST(SendKeyText, TypesCharactersAndTokensAsExactTransitionSequences) {
    const std::vector<TextCase> cases = {
        {"", ""},
        {"{ENTER}", "Kd0D Ku0D"},
        {"A", "Kd10 Kd41 Ku41 Ku10"},
        {"a1 ", "Kd41 Ku41 Kd31 Ku31 Kd20 Ku20"},
        {"{SHIFTDOWN}abc{SHIFTUP}", "Kd10 Kd41 Ku41 Kd42 Ku42 Kd43 Ku43 Ku10"},
        {"{SHIFTDOWN}A{SHIFTUP}B", "Kd10 Kd41 Ku41 Ku10 Kd10 Kd42 Ku42 Ku10"},
        {"{CONTROLDOWN}c{CONTROLUP}", "Kd11 Kd43 Ku43 Ku11"},
        {"{ALTDOWN}x", "Kd12 Kd58 Ku58"},
        {"x{TAB}y", "Kd58 Ku58 Kd09 Ku09 Kd59 Ku59"},
        {"\r", "Kd0D Ku0D"},
        {"\n", "Kd10 Kd0D Ku0D Ku10"},   // scans as Ctrl+Enter, typed as Shift+Enter
        {"a}", "Kd41 Ku41 Kd10 KdDD KuDD Ku10"},
        // The characters a step file cannot hold as they are: typed, not taken as fields/tokens.
        {"{SEMICOLON}", "KdBA KuBA"},
        {"{LEFTBRACE}x}", "Kd10 KdDB KuDB Ku10 Kd58 Ku58 Kd10 KdDD KuDD Ku10"},
        {"{SHIFTDOWN}{SEMICOLON}{SHIFTUP}", "Kd10 KdBA KuBA Ku10"},
    };
    for (const auto& c : cases) EXPECT_EQ(Sent(c.text), Then(c.keys)) << c.text;
}

TEST(SendKeyText, NamesOutsideTheTableSendNothingAndAnUnclosedBraceIsTyped) {
    const std::vector<TextCase> cases = {
        {"{enter}", ""},  // tokens are case-sensitive
        {"{}", ""},
        {"{ALT}", ""},
        {"{CONTROLX}", ""},
        {"{SHIFT}", ""},
        // An unknown name must not repeat the key of the character typed before it.
        {"a{NOKEY}", "Kd41 Ku41"},
        {"ab{cd", "Kd41 Ku41 Kd42 Ku42 Kd10 KdDB KuDB Ku10 Kd43 Ku43 Kd44 Ku44"},
        {"{", "Kd10 KdDB KuDB Ku10"},
        {"{{ENTER}", ""},  // the name runs from the first "{" to the first "}": "{ENTER"
        {"}{F1}", "Kd10 KdDD KuDD Ku10 Kd70 Ku70"},
    };
    for (const auto& c : cases) EXPECT_EQ(Sent(c.text), Then(c.keys)) << c.text;
}

TEST(SendKeyText, EveryTokenOfTheTableSendsItsKeyOrItsOneHoldTransition) {
    for (const auto& token : kKeyTokens) {
        const std::string code = Hex2(token.vk);
        std::string keys = "Kd" + code + " Ku" + code;
        if (token.effect == KeyTokenEffect::DownOnly) keys = "Kd" + code;
        if (token.effect == KeyTokenEffect::UpOnly) keys = "Ku" + code;
        EXPECT_EQ(Sent(std::string(token.item)), Then(keys)) << token.item;
    }
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(Sent("{F" + std::to_string(n) + "}"),
                  Then("Kd" + Hex2(0x6F + n) + " Ku" + Hex2(0x6F + n)));
}

TEST(SendKeyText, EditorKeyListHoldsTheTokensInItsFixedOrder) {
    const std::vector<std::string> expected = {
        "{BACKSPACE}", "{DELETE}", "{END}", "{ENTER}", "{ESCAPE}", "{HOME}", "{INSERT}",
        "{RETURN}", "{TAB}", "{UP}", "{DOWN}", "{LEFT}", "{RIGHT}", "{ALTUP}", "{ALTDOWN}",
        "{CONTROLUP}", "{CONTROLDOWN}", "{SHIFTUP}", "{SHIFTDOWN}", "{PAGEDOWN}", "{PAGEUP}",
        "{PRINTSCREEN}", "{F1}", "{F2}", "{F3}", "{F4}", "{F5}", "{F6}", "{F7}", "{F8}",
        "{F9}", "{F10}", "{F11}", "{F12}"};
    EXPECT_EQ(KeyTokenListItems(), expected);
    const std::vector<std::pair<std::string, int>> codes = {
        {"BACKSPACE", 0x08}, {"TAB", 0x09}, {"ENTER", 0x0D}, {"RETURN", 0x0D},
        {"ESCAPE", 0x1B}, {"PAGEUP", 0x21}, {"PAGEDOWN", 0x22}, {"END", 0x23}, {"HOME", 0x24},
        {"LEFT", 0x25}, {"UP", 0x26}, {"RIGHT", 0x27}, {"DOWN", 0x28}, {"PRINTSCREEN", 0x2C},
        {"INSERT", 0x2D}, {"DELETE", 0x2E}, {"F1", 0x70}, {"F12", 0x7B}, {"ALTUP", 0x12},
        {"CONTROLDOWN", 0x11}, {"SHIFTUP", 0x10}};
    for (const auto& [name, code] : codes) {
        ASSERT_NE(FindKeyToken(name), nullptr) << name;
        EXPECT_EQ(FindKeyToken(name)->vk, code) << name;
    }
}

TEST(SendKeyText, AltGrCharactersGetControlAndAltAroundTheKey) {
    RecordingInput input;
    input.setScan(U'@', {true, 'Q', 6});       // AltGr+Q
    input.setScan(U'|', {true, 0xE2, 7});      // Shift+AltGr
    const std::vector<TextCase> cases = {
        {"@", "Kd11 Kd12 Kd51 Ku51 Ku12 Ku11"},
        {"|", "Kd10 Kd11 Kd12 KdE2 KuE2 Ku12 Ku11 Ku10"},
        // A held Control stays held: only Alt is pressed and released around the key.
        {"{CONTROLDOWN}@{CONTROLUP}", "Kd11 Kd12 Kd51 Ku51 Ku12 Ku11"},
        {"{SHIFTDOWN}|", "Kd10 Kd11 Kd12 KdE2 KuE2 Ku12 Ku11"},
    };
    for (const auto& c : cases) {
        input.clearEvents();
        SendKeyText(input, c.text);
        EXPECT_EQ(input.transcript(), Then(c.keys)) << c.text;
    }
}

TEST(SendKeyText, CharactersOutsideTheLayoutAreTypedUnlisted) {
    const std::vector<TextCase> utf8 = {
        {"\xC3\xA9", "U+00E9"},                 // é
        {"\xE2\x82\xAC", "U+20AC"},             // €
        {"\xF0\x9F\x98\x80", "U+1F600"},
        {"\xFF" "a", "U+00FF Kd41 Ku41"},       // invalid bytes read as Latin-1
        {"\xC3", "U+00C3"},                     // cut short at the end
        {"\xE2\x82" "a", "U+00E2 U+0082 Kd41 Ku41"},
        {"\xC0\xAF", "U+00C0 U+00AF"},          // overlong form
        {"\xED\xA0\x80", "U+00ED U+00A0 U+0080"},  // surrogate
        {"\xF4\x90\x80\x80", "U+00F4 U+0090 U+0080 U+0080"},  // beyond U+10FFFF
        {"\x80{ENTER}", "U+0080 Kd0D Ku0D"},
    };
    for (const auto& c : utf8) EXPECT_EQ(Sent(c.text, true), Then(c.keys)) << c.text;
    const std::vector<TextCase> bytes = {
        {"\xC3\xA9", "U+00C3 U+00A9"},
        {"\xE9" "A", "U+00E9 Kd10 Kd41 Ku41 Ku10"},
    };
    for (const auto& c : bytes) EXPECT_EQ(Sent(c.text, false), Then(c.keys)) << c.text;
}

TEST(DoKeyboardStep, StringStepsSendTheTypedTextOthersTheKeyToken) {
    Step step;
    step.TypedText = "a";
    step.KeyToken = "{TAB}";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"String", "Kd41 Ku41"}, {"Key", "Kd09 Ku09"}, {"string", "Kd09 Ku09"}, {"", "Kd09 Ku09"}};
    for (const auto& [kind, keys] : cases) {
        RecordingInput input;
        step.KeyboardType = kind;
        DoKeyboardStep(step, input);
        EXPECT_EQ(input.transcript(), Then(keys)) << kind;
    }
}

}  // namespace
}  // namespace zs
