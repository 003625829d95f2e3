#include "platform/fltk/fltk_text.h"

#include <FL/Enumerations.H>
#include <gtest/gtest.h>

namespace zs::gui::fltk {
namespace {

TEST(FltkText, LabelsShowUserTextLiterally) {
    struct Case { const char* text; const char* label; const char* shortcutLabel; };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {"@home", "@@home", "@@home"},
        {"a@b@", "a@@b@@", "a@@b@@"},
        {"R&D", "R&D", "R&&D"},
        {"a/b_c", "a/b_c", "a/b_c"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escapeLabel(c.text), c.label) << c.text;
        EXPECT_EQ(escapeShortcutLabel(c.text), c.shortcutLabel) << c.text;
    }
}

TEST(FltkText, WindowsFiltersBecomeChooserPatterns) {
    struct Case { const char* windows; const char* chooser; };
    const Case cases[] = {
        {"STEP file (*.stp)|*.stp", "STEP file (*.stp)"},
        {"All files (*.*)|*.*", "All files (*)"},
        {"STEP file (*.stp)|*.stp|All files (*.*)|*.*", "STEP file (*.stp)\tAll files (*)"},
        {"Steps|*.stp", "Steps (*.stp)"},
        {"Texts (*.txt;*.log)|*.txt;*.log", "Texts ({*.txt,*.log})"},
        {"Odd|", "Odd (*)"},
        {"", ""},
        {"no pattern", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(chooserFilter(c.windows), c.chooser) << c.windows;
}

TEST(FltkText, DesktopChooserShowsTheFilterNamesAsGiven) {
    // That chooser shows each name followed by "(pattern)".
    struct Case { const char* windows; const char* desktop; };
    const Case cases[] = {
        {"STEP file (*.stp)|*.stp|All files (*.*)|*.*", "STEP file \t*.stp\nAll files \t*"},
        {"All files (*.*)|*.*", "All files \t*"},  // Windows' every file, names without a dot too
        {"STEP file (*.stp)|*.stp", "STEP file \t*.stp"},
        {"Texts (*.txt;*.log)|*.txt;*.log", "Texts \t{*.txt,*.log}"},
        {"|*.stp", "\t*.stp"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(nativeFilter(c.windows), c.desktop) << c.windows;
}

TEST(FltkText, LongTextsAreCutWithAnEllipsisToWhatFits) {
    const std::string dots = "\xE2\x80\xA6";
    auto atMost = [](std::size_t bytes) {
        return [bytes](const std::string& s) { return s.size() <= bytes; };
    };
    struct Case { std::string text; std::size_t maxBytes, fitBytes; std::string shown; };
    const Case cases[] = {
        {"short", 100, 10, "short"},
        {"exactly10!", 100, 10, "exactly10!"},
        {"abcdefghijkl", 100, 10, "abcdefg" + dots},          // 7 + 3 bytes of the ellipsis
        {"abcdefghijkl", 4, 100, "abcd" + dots},              // never more than maxBytes measured
        {"\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC", 100, 7, "\xC3\xBC\xC3\xBC" + dots},  // whole characters
        {"\xC3\xBC\xC3\xBCx", 3, 100, "\xC3\xBC" + dots},  // a limit inside a character
        {"abc", 100, 1, dots},                                // nothing fits: the ellipsis alone
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitText(c.text, c.maxBytes, atMost(c.fitBytes)), c.shown) << c.text;
    }
    // A 10 MB text is measured only up to the limit, a few times.
    std::string huge(10'000'000, 'x');
    int measured = 0;
    std::string shown = fitText(huge, 1000, [&](const std::string& s) {
        ++measured;
        return s.size() <= 500;
    });
    EXPECT_EQ(shown, std::string(497, 'x') + dots);
    EXPECT_LE(measured, 20);
    EXPECT_EQ(fitTitle(std::string(300, 't')), std::string(199, 't') + dots);
    EXPECT_EQ(fitTitle("Zelvorin-Step"), "Zelvorin-Step");
}

TEST(FltkText, LongTextsAreMeasuredAndDrawnInPiecesAndOnlyWhereTheyShow) {
    // 10 pixels a character.
    auto width = [](std::string_view part) { return 10 * characterCount(std::string(part)); };
    const std::string mixed = "a\xC3\xA9\xE2\x82\xAC" "b";  // 1-, 2-, 3- and 1-byte characters
    using Pieces = std::vector<TextPiece>;
    struct Case { std::string text; int x, left, right; std::size_t maxBytes; Pieces pieces; };
    const Case cases[] = {
        {"abcdefghij", 0, 0, 100, 4, {{0, 4, 0}, {4, 8, 40}, {8, 10, 80}}},
        {"abcdefghij", -60, 0, 15, 4, {{4, 8, -20}}},  // scrolled: only what shows
        {"abcdefghij", 200, 0, 100, 4, {}},
        {"abcdefghij", -200, 0, 100, 4, {}},
        {mixed, 0, 0, 100, 4, {{0, 3, 0}, {3, 7, 20}}},  // cut between characters
        {"\xE2\x82\xAC\xE2\x82\xAC", 5, 0, 100, 2, {{0, 3, 5}, {3, 6, 15}}},  // whole characters
        {"", 0, 0, 100, 4, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(visiblePieces(c.text, c.x, c.left, c.right, c.maxBytes, width), c.pieces) << c.text;
        EXPECT_EQ(pieceWiseWidth(c.text, c.maxBytes, width), 10 * characterCount(c.text)) << c.text;
    }
    // Beyond the 16 bits the X font library measures in.
    EXPECT_EQ(pieceWiseWidth(std::string(1'000'000, 'x'), 256, width), 10'000'000);
}

TEST(FltkText, KeysMapToWindowsVirtualKeys) {
    struct Case { int fltkKey; int virtualKey; };
    const Case cases[] = {
        {FL_F + 1, 0x70}, {FL_F + 9, 0x78}, {FL_F + 12, 0x7B}, {FL_Enter, 0x0D},
        {FL_KP_Enter, 0x0D}, {FL_Escape, 0x1B}, {'a', 'A'}, {'z', 'Z'}, {'0', '0'},
        {'9', '9'}, {FL_Tab, 0x09}, {FL_BackSpace, 0x08}, {FL_Delete, 0x2E},
        {FL_Left, 0x25}, {FL_Down, 0x28}, {FL_Shift_L, 0x10}, {FL_KP + '5', 0x65},
        {FL_Home, 0x24}, {FL_Page_Down, 0x22}, {0xFFFF00, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(virtualKeyFromFltk(c.fltkKey), c.virtualKey) << c.fltkKey;
}

TEST(FltkText, FontPointsToPixels) {
    struct Case { int points, ppi, pixels; };
    const Case cases[] = {{8, 96, 11}, {14, 96, 19}, {12, 96, 16}, {10, 96, 13},
                          {6, 120, 10}, {8, 72, 8}, {0, 96, 1}, {8, 0, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(pointsToPixels(c.points, c.ppi), c.pixels) << c.points << " pt at " << c.ppi;
    }
}

TEST(FltkText, EditorLinesAndCursorLine) {
    using Lines = std::vector<std::string>;
    struct Case { const char* text; Lines lines; };
    const Case cases[] = {
        {"", {""}}, {"a", {"a"}}, {"a\nbb\n", {"a", "bb", ""}}, {"\n\n", {"", "", ""}},
        {"x;y\r", {"x;y\r"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitLines(c.text), c.lines) << c.text;
        EXPECT_EQ(joinLines(c.lines), c.text) << c.text;
    }
    const std::string text = "ab\ncd\n\nef";
    const int expected[][2] = {{0, 0}, {2, 0}, {3, 1}, {5, 1}, {6, 2}, {7, 3}, {9, 3}, {99, 3}, {-4, 0}};
    for (const auto& [position, line] : expected) EXPECT_EQ(lineOfPosition(text, position), line) << position;
}

TEST(FltkText, CharactersAndDigits) {
    EXPECT_EQ(characterCount("Saved"), 5);
    EXPECT_EQ(characterCount("\xC3\xA9t\xC3\xA9"), 3);  // "été"
    EXPECT_EQ(characterCount(""), 0);
    EXPECT_TRUE(isAllDigits("0123456789"));
    EXPECT_TRUE(isAllDigits(""));
    EXPECT_FALSE(isAllDigits("12a"));
    EXPECT_FALSE(isAllDigits("-1"));
    EXPECT_FALSE(isAllDigits(" 1"));
}

}  // namespace
}  // namespace zs::gui::fltk
