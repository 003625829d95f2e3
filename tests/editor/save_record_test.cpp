// Storing the editor panel into its step: required fields, partial stores, serial settings.
#include "editor/save_record.h"

#include <cmath>

#include "editor_fixture.h"

namespace zs::test {
namespace {

using namespace zs::form;

using SaveRecordTest = EditorFixture;

TEST_F(SaveRecordTest, DelayInputIsReadAsADecimalNumber) {
    const struct {
        const char* input;
        int result;
        float stored;
        const char* shown;
    } cases[] = {
        {"1,5", 1, 1.5f, "1.5"}, {"1.5", 1, 1.5f, "1.5"}, {"abc", 1, 0.0f, "0.0"},
        {"2", 1, 2.0f, "2.0"},   {"", 0, 0.0f, ""},
    };
    for (const auto& c : cases) {
        show({DelayOf(7.0f)});
        type(kStringDelay, c.input);
        EXPECT_EQ(SaveActualRecord(panel), c.result) << c.input;
        EXPECT_EQ(state.list.current().DelaySeconds, c.stored) << c.input;
        EXPECT_EQ(gui.text(kStringDelay), c.shown) << c.input;
    }
    EXPECT_EQ(lastMessage().title, "Input required");
    EXPECT_EQ(lastMessage().text, "No delay time entered");
    EXPECT_EQ(gui.messages().size(), 1u);
}

TEST_F(SaveRecordTest, EmptyMouseXStoresTheFieldsUpToIt) {
    Step old = DelayOf(3.0f, "old");
    old.MessageText = "kept";
    show({old});
    pickType("1 Mouse");
    pick(kComboClickType, "R_Click");
    type(kStringMouseX, "");
    type(kStringMouseY, "77");
    type(kStringDescription, "new");

    EXPECT_EQ(SaveActualRecord(panel), 0);
    EXPECT_EQ(lastMessage().title, "Input required");
    EXPECT_EQ(lastMessage().text, "No mouse x entered");
    EXPECT_TRUE(lastMessage().mainWindowTopmost);  // shown directly, not through the routine

    const Step& step = state.list.current();
    EXPECT_EQ(step.RECORDtype, 1);
    EXPECT_EQ(step.Description, "new");
    EXPECT_EQ(step.ClickType, "R_Click");
    EXPECT_EQ(step.MouseX, 0);
    EXPECT_EQ(step.MouseY, 0);              // after the failing field: not stored
    EXPECT_EQ(step.DelaySeconds, 3.0f);     // fields after the type's own keep their values
    EXPECT_EQ(step.MessageText, "kept");
    EXPECT_EQ(gui.text(kStringMouseX), "");  // the panel is not redrawn
}

TEST_F(SaveRecordTest, KeyWithoutTokenKeepsTheOldTypedText) {
    Step keyboard;
    keyboard.RECORDtype = 2;
    keyboard.KeyboardType = "String";
    keyboard.TypedText = "hello";
    show({keyboard});
    pick(kComboKeyboardType, "Key");
    pick(kComboKeyToken, "");

    EXPECT_EQ(SaveActualRecord(panel), 0);
    EXPECT_EQ(lastMessageText(), "No key entered");
    EXPECT_EQ(state.list.current().KeyboardType, "Key");
    EXPECT_EQ(state.list.current().TypedText, "hello");

    pick(kComboKeyToken, "{ENTER}");
    EXPECT_EQ(SaveActualRecord(panel), 1);
    EXPECT_EQ(state.list.current().KeyToken, "{ENTER}");
    EXPECT_EQ(state.list.current().TypedText, "");
}

TEST_F(SaveRecordTest, SuccessfulStoreClearsTheFieldsOfOtherTypes) {
    Step mixed = MouseStep("L_Click", 1, 2);
    mixed.TypedText = "x";
    mixed.DelaySeconds = 4.0f;
    mixed.Telegram = "AT";
    mixed.MessageText = "m";
    show({mixed});
    pickType("4 Loop");
    pick(kComboLoopFrom, "1");
    type(kStringRepetitions, "12abc");

    ASSERT_EQ(SaveActualRecord(panel), 1);
    Step expected;
    expected.RECORDtype = 4;
    expected.LoopFromStep = 1;
    expected.LoopRepetitions = 12;
    EXPECT_EQ(state.list.current(), expected);
    EXPECT_EQ(gui.text(kStringRepetitions), "12");  // shown again as stored
}

TEST_F(SaveRecordTest, EveryRequiredFieldHasItsMessage) {
    const struct {
        const char* type;
        int emptyGadget;
        bool combo;
        const char* message;
    } cases[] = {
        {"1 Mouse", kComboClickType, true, "No click type selected"},
        {"1 Mouse", kStringMouseY, false, "No mouse y entered"},
        {"2 Keyboard", kStringTypedText, false, "No string entered"},
        {"4 Loop", kComboLoopFrom, true, "No loop from step no selected"},
        {"4 Loop", kStringRepetitions, false, "No loop repetitions entered"},
        {"5 Comport", kComboComPort, true, "No COM port selected"},
        {"5 Comport", kComboComType, true, "No COM type selected"},
        {"5 Comport", kStringTelegram, false, "No telegram entered"},
        {"6 Jump", kComboJumpTo, true, "No jump no selected"},
        {"8 Execute", kStringExecuteFile, false, "No execute file selected"},
    };
    for (const auto& c : cases) {
        show({DelayOf(1), DelayOf(1)});
        pickType(c.type);
        pick(kComboClickType, "L_Click");
        pick(kComboKeyboardType, "String");
        pick(kComboComPort, "COM2");
        pick(kComboComType, "String");
        for (int field : {kStringMouseX, kStringMouseY, kStringTypedText, kStringRepetitions,
                          kStringTelegram, kStringExecuteFile})
            type(field, "1");
        if (c.combo)
            pick(c.emptyGadget, "");
        else
            type(c.emptyGadget, "");
        EXPECT_EQ(SaveActualRecord(panel), 0) << c.message;
        EXPECT_EQ(lastMessageText(), c.message);
        EXPECT_EQ(lastMessage().title, "Input required");
    }
}

// The fields of the Window and Wait sets: what is required, what is out of range, and what is
// stored as the file writes it.
TEST_F(SaveRecordTest, WindowAndWaitFieldsAreRequiredAndInRange) {
    const struct {
        const char* type;
        int gadget;
        const char* input;
        const char* title;  // "" when stored
        const char* message;
    } cases[] = {
        {"10 Window", kStringWindowTitle, "", "Input required", "No window title entered"},
        {"10 Window", kStringWindowTimeout, "", "Input required", "No timeout entered"},
        {"10 Window", kStringWindowTimeout, "86400.1", "Wrong values", "Wrong timeout (0 to 86400)"},
        {"10 Window", kStringWindowTimeout, "-0,5", "Wrong values", "Wrong timeout (0 to 86400)"},
        {"10 Window", kStringWindowTimeout, "0", "", ""},
        {"11 Wait", kStringWaitX, "", "Input required", "No x entered"},
        {"11 Wait", kStringWaitColor, "", "Input required", "No color entered"},
        {"11 Wait", kStringWaitColor, "#12345", "Wrong values", "Wrong color (#RRGGBB)"},
        {"11 Wait", kStringWaitColor, "33AA00", "Wrong values", "Wrong color (#RRGGBB)"},
        {"11 Wait", kStringWaitTolerance, "256", "Wrong values", "Wrong tolerance (0 to 255)"},
        {"11 Wait", kStringWaitTolerance, "255", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.input);
        show({DelayOf(1), DelayOf(1)});
        pickType(c.type);
        pick(kComboWindowAction, "Activate");
        pick(kComboWaitCondition, "Color");
        for (int combo : {kComboWindowOnFail, kComboWaitOnFail}) pick(combo, "2");
        const std::pair<int, const char*> filled[] = {
            {kStringWindowTitle, "Notes"}, {kStringWindowTimeout, "5"}, {kStringWaitX, "1"},
            {kStringWaitY, "2"},           {kStringWaitColor, "#33aa00"}, {kStringWaitTolerance, "8"},
            {kStringWaitTimeout, "5"}};
        for (const auto& [gadget, text] : filled) type(gadget, text);
        type(c.gadget, c.input);
        const auto before = gui.messages().size();
        EXPECT_EQ(SaveActualRecord(panel), *c.title ? 0 : 1);
        if (*c.title) {
            EXPECT_EQ(lastMessage().title, c.title);
            EXPECT_EQ(lastMessageText(), c.message);
            continue;
        }
        EXPECT_EQ(gui.messages().size(), before);
        EXPECT_EQ(state.list.current().OnFailStep, 2);
        if (c.gadget == kStringWaitTolerance) {
            EXPECT_EQ(state.list.current().PixelColor, "#33AA00");
        }
    }
    // A Screen step needs no title; "Pause" is no on-fail step.
    show({DelayOf(1)});
    pickType("10 Window");
    pick(kComboWindowAction, "Screen");
    type(kStringWindowTitle, "");
    pick(kComboWindowOnFail, "Pause");
    EXPECT_EQ(SaveActualRecord(panel), 1) << lastMessageText();
    EXPECT_EQ(state.list.current().OnFailStep, 0);
}

TEST_F(SaveRecordTest, StateAndMessageMayBeEmpty) {
    for (const char* typeText : {"7 State", "9 Message"}) {
        show({DelayOf(1)});
        pickType(typeText);
        type(kStringStateText, "");
        type(kStringMessageText, "");
        EXPECT_EQ(SaveActualRecord(panel), 1) << typeText;
    }
    EXPECT_TRUE(gui.messages().empty());
}

TEST_F(SaveRecordTest, SerialSettingsOfAnInitialiseTelegram) {
    const std::string baud =
        "Wrong baudrate (50, 75, 110, 150, 300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400, "
        "57600, 115200)";
    const std::string parity = "Wrong parity (N, O, E)";
    const std::string data = "Wrong dataformat (5, 6, 7, 8)";
    const std::string stop = "Wrong stopbitx (1, 2)";
    const struct {
        const char* settings;
        std::string message;
    } cases[] = {
        {"9600 N 8 1", ""},         {"115200 E 7 2", ""},      {"50 O 5 1", ""},
        {"9600x N 8 1", ""},        {"9600 N 8 1.5", ""},      {"9600 N 8 1 rest of it", ""},
        {"9600 n 8 1", parity},     {"9600 N 8", stop},        {"9600  N 8 1", parity},
        {"9601 N 8 1", baud},       {"", baud},                {"9600 N 9 1", data},
        {"9600 N 8 3", stop},       {" 9600 N 8 1", baud},     {"9600 NONE 8 1", parity},
        // Regression: 4294976896 is 9600 once truncated to 32 bits; it must not pass.
        {"4294976896 N 8 1", baud},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckSerialSettings(c.settings), c.message) << c.settings;
}

TEST_F(SaveRecordTest, BadSerialSettingsAreRefusedAfterStoringTheTelegram) {
    Step old = DelayOf(1);
    old.JumpToStep = 5;
    show({old});
    pickType("5 Comport");
    pick(kComboComPort, "COM3");
    pick(kComboComType, "Initialise");
    type(kStringTelegram, "9600 n 8 1");

    EXPECT_EQ(SaveActualRecord(panel), 0);
    EXPECT_EQ(lastMessage().title, "Wrong values");
    EXPECT_EQ(lastMessage().text, "Wrong parity (N, O, E)");
    const Step& step = state.list.current();
    EXPECT_EQ(step.ComPort, "COM3");
    EXPECT_EQ(step.ComType, "Initialise");
    EXPECT_EQ(step.Telegram, "9600 n 8 1");
    EXPECT_EQ(step.JumpToStep, 5);

    // Other telegram types test only for emptiness.
    pick(kComboComType, "Byte");
    type(kStringTelegram, "not bytes");
    EXPECT_EQ(SaveActualRecord(panel), 1);
    EXPECT_EQ(state.list.current().JumpToStep, 0);
}

TEST_F(SaveRecordTest, StoresIntoTheStepNamedByTheFrameCaption) {
    show({DelayOf(1), DelayOf(2), DelayOf(3)}, 0);
    gui.setText(kFrameStep, "2");
    type(kStringDelay, "9");
    EXPECT_EQ(SaveActualRecord(panel), 1);
    EXPECT_EQ(state.list.index(), 1);
    EXPECT_EQ(state.list.at(1).DelaySeconds, 9.0f);
    EXPECT_EQ(state.list.at(0).DelaySeconds, 1.0f);
}

TEST_F(SaveRecordTest, NoTypeSelectedStoresNothing) {
    show({DelayOf(1, "d")});
    pick(kComboStepType, "");
    EXPECT_EQ(SaveActualRecord(panel), 0);
    EXPECT_EQ(lastMessage().title, "Error");
    EXPECT_EQ(lastMessage().text, "SaveActualRecord() Case unknown: ");
    EXPECT_EQ(state.list.current(), DelayOf(1, "d"));
}

TEST_F(SaveRecordTest, NaNAndInfinityDelaysAreStoredAndShown) {
    show({DelayOf(1)});
    type(kStringDelay, "nan");
    EXPECT_EQ(SaveActualRecord(panel), 1);
    EXPECT_TRUE(std::isnan(state.list.current().DelaySeconds));
    type(kStringDelay, "-Infinity");
    EXPECT_EQ(SaveActualRecord(panel), 1);
    EXPECT_TRUE(std::isinf(state.list.current().DelaySeconds));
}

}  // namespace
}  // namespace zs::test
