// Showing steps in the editor panel and switching its field sets.
#include "editor_fixture.h"

namespace zs::test {
namespace {

using namespace zs::form;

using EditorPanelTest = EditorFixture;

TEST_F(EditorPanelTest, NewProgramShowsTheDelaySetWithHalfASecond) {
    MakeNewProgram(state.list);
    GetValues(panel);
    EXPECT_EQ(visibleSetType(), 3);
    EXPECT_EQ(gui.text(kStringDelay), "0.5");
    EXPECT_EQ(gui.text(kFrameStep), "1");
    EXPECT_EQ(ComboText(gui, kComboStepType), "3 Delay");
    EXPECT_EQ(gui.text(kStringDescription), "");
}

TEST_F(EditorPanelTest, StepNumberCombosFollowTheNumberOfSteps) {
    show(std::vector<Step>(12, DelayOf(1)), 4);
    EXPECT_EQ(items(kComboLoopFrom), Numbers(12));
    EXPECT_EQ(items(kComboJumpTo), Numbers(12));
    EXPECT_EQ(gui.selected(kComboLoopFrom), 0);
    EXPECT_EQ(gui.selected(kComboJumpTo), 0);
    EXPECT_EQ(gui.text(kFrameStep), "5");

    // Same count again: still exactly 1..12 with the first item selected.
    gui.select(kComboJumpTo, 7);
    GetValues(panel);
    EXPECT_EQ(items(kComboJumpTo), Numbers(12));
    EXPECT_EQ(gui.selected(kComboJumpTo), 0);

    // Regression: a cached fill must not survive a program of another length.
    show(std::vector<Step>(3, DelayOf(1)));
    EXPECT_EQ(items(kComboLoopFrom), Numbers(3));
    EXPECT_EQ(items(kComboJumpTo), Numbers(3));
}

TEST_F(EditorPanelTest, LoopAndJumpShowTheirStoredStepNumber) {
    Step loop;
    loop.RECORDtype = 4;
    loop.LoopFromStep = 3;
    loop.LoopRepetitions = 7;
    Step jump;
    jump.RECORDtype = 6;
    jump.JumpToStep = 4;
    Step outside = jump;
    outside.JumpToStep = 9;
    show({loop, jump, DelayOf(1), outside});

    EXPECT_EQ(visibleSetType(), 4);
    EXPECT_EQ(ComboText(gui, kComboLoopFrom), "3");
    EXPECT_EQ(gui.text(kStringRepetitions), "7");
    state.list.select(1);
    GetValues(panel);
    EXPECT_EQ(ComboText(gui, kComboJumpTo), "4");
    state.list.select(3);
    GetValues(panel);
    EXPECT_EQ(gui.selected(kComboJumpTo), -1);  // a number outside the list selects nothing
}

TEST_F(EditorPanelTest, EachTypeWritesItsOwnFields) {
    Step keyboard;
    keyboard.RECORDtype = 2;
    keyboard.KeyboardType = "Key";
    keyboard.KeyToken = "{F2}";
    keyboard.Description = "press F2";
    Step comport;
    comport.RECORDtype = 5;
    comport.ComPort = "COM7";
    comport.ComType = "Hex";
    comport.Telegram = "F4 03";
    Step execute;
    execute.RECORDtype = 8;
    execute.ExecuteFile = "C:\\tools\\run.bat";
    show({MouseStep("R_Click", 120, -4), keyboard, comport, execute});

    EXPECT_EQ(ComboText(gui, kComboClickType), "R_Click");
    EXPECT_EQ(gui.text(kStringMouseX), "120");
    EXPECT_EQ(gui.text(kStringMouseY), "-4");

    state.list.select(1);
    GetValues(panel);
    EXPECT_EQ(visibleSetType(), 2);
    EXPECT_EQ(ComboText(gui, kComboKeyToken), "{F2}");
    EXPECT_FALSE(gui.isHidden(kComboKeyToken));
    EXPECT_TRUE(gui.isHidden(kStringTypedText));
    EXPECT_EQ(gui.text(kLabelKeyboardText), "Key:");
    EXPECT_EQ(gui.text(kStringDescription), "press F2");

    state.list.select(2);
    GetValues(panel);
    EXPECT_EQ(ComboText(gui, kComboComPort), "COM7");
    EXPECT_EQ(gui.text(kStringTelegram), "F4 03");
    EXPECT_EQ(gui.text(kLabelComHint), "Hex (F4 03 28 ..)");
    EXPECT_EQ(gui.text(kStringDescription), "");

    state.list.select(3);
    GetValues(panel);
    EXPECT_EQ(gui.text(kStringExecuteFile), "C:\\tools\\run.bat");
    EXPECT_TRUE(gui.messages().empty());
}

TEST_F(EditorPanelTest, TypeChangeShowsTheTextsLastShownInThatSet) {
    show({DelayOf(2.0f), MouseStep("L_Click", 5, 6)}, 0);
    state.list.select(1);
    GetValues(panel);
    const Step before = state.list.current();

    pickType("3 Delay");
    EXPECT_EQ(visibleSetType(), 3);
    EXPECT_EQ(gui.text(kStringDelay), "2.0");  // the earlier step's delay, not this step's data
    EXPECT_EQ(state.list.current(), before);
}

TEST_F(EditorPanelTest, F9TakesPositionsWithinTheWindowOfTheActivateStepAbove) {
    desktop.setWindow({{7, "Notes - Editor", false}, {100, 20}, 200, 200});
    Step activate;
    activate.RECORDtype = 10;
    activate.WindowAction = "Activate";
    activate.WindowTitle = "Notes";
    Step wait;
    wait.RECORDtype = 11;
    wait.WaitCondition = "Color";
    wait.PixelColor = "#000000";
    struct Row {
        Step step;
        const char* chosenType;  // picked in the combo after the step is shown; "" none
        int xField, yField;
    };
    const Row rows[] = {
        {MouseStep("L_Click", 5, 6), "", kStringMouseX, kStringMouseY},
        {wait, "", kStringWaitX, kStringWaitY},
        // A step appended and given its type in the combo, as a user builds one.
        {DelayOf(0.5f), "1 Mouse", kStringMouseX, kStringMouseY},
        {DelayOf(0.5f), "11 Wait", kStringWaitX, kStringWaitY},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosenType);
        show({activate, row.step}, 1);
        if (*row.chosenType) pickType(row.chosenType);
        CapturePointer(panel, {123, 45});
        EXPECT_EQ(gui.text(row.xField), "23");
        EXPECT_EQ(gui.text(row.yField), "25");
    }
}

TEST_F(EditorPanelTest, UnknownStepTypeIsReportedWithAllSetsHidden) {
    Step broken = DelayOf(1, "kept?");
    broken.RECORDtype = 42;
    show({broken});
    EXPECT_EQ(visibleSetType(), 0);
    EXPECT_EQ(gui.text(kStringDescription), "");
    EXPECT_EQ(lastMessage().title, "Error");
    EXPECT_EQ(lastMessage().text, "GetValues() Unknown RList()\\RECORDtype: 42");
}

TEST_F(EditorPanelTest, TelegramTypeSetsTheFormatHint) {
    const struct {
        const char* comType;
        const char* hint;
    } cases[] = {
        {"Initialise", "Initialise (9600 N 8 1)"},
        {"String", "String (ATDT...)"},
        {"Hex", "Hex (F4 03 28 ..)"},
        {"Byte", "Byte (128 255 1 ...)"},
    };
    for (const auto& c : cases) {
        pick(kComboComType, c.comType);
        Combo_COMtype_Events(panel, 1);
        EXPECT_EQ(gui.text(kLabelComHint), c.hint) << c.comType;
    }
    EXPECT_TRUE(gui.messages().empty());
}

TEST_F(EditorPanelTest, ComportStepWithoutKnownTelegramTypeReportsIt) {
    for (const char* comType : {"", "Telex"}) {
        Step comport;
        comport.RECORDtype = 5;
        comport.ComPort = "COM1";
        comport.ComType = comType;
        const auto before = gui.messages().size();
        show({comport});
        ASSERT_EQ(gui.messages().size(), before + 1) << comType;
        EXPECT_EQ(lastMessage().title, "Error");
        EXPECT_EQ(lastMessage().text, "Combo_COMtype_Events Case unknown");
        EXPECT_FALSE(lastMessage().mainWindowTopmost);  // through the message routine
    }
}

TEST_F(EditorPanelTest, KindCombosSwitchTheirFields) {
    pick(kComboKeyboardType, "Key");
    Combo_KeyboardType_Events(panel, 1);
    EXPECT_EQ(gui.text(kLabelKeyboardText), "Key:");
    EXPECT_FALSE(gui.isHidden(kComboKeyToken));
    EXPECT_TRUE(gui.isHidden(kStringTypedText));

    pick(kComboKeyboardType, "String");
    Combo_KeyboardType_Events(panel, 1);
    EXPECT_EQ(gui.text(kLabelKeyboardText), "String:");
    EXPECT_TRUE(gui.isHidden(kComboKeyToken));
    EXPECT_FALSE(gui.isHidden(kStringTypedText));

    pick(kComboKeyboardType, "");
    Combo_KeyboardType_Events(panel, 1);
    EXPECT_EQ(lastMessageText(), "Combo_KeyboardType_Events() Case unknown");

    pick(kComboStepType, "");
    FormMAIN_ComboType_Event(panel, 1);
    EXPECT_EQ(lastMessageText(), "FormMAIN_ComboType_Event Case unknown: ");
}

TEST_F(EditorPanelTest, ExecuteChooserWritesThePathOrKeepsTheField) {
    type(kStringExecuteFile, "old.exe");
    gui.queueFile(std::nullopt);
    ChooseExecuteFile(panel, 0);
    EXPECT_EQ(gui.text(kStringExecuteFile), "old.exe");

    gui.queueFile("/home/u/new.sh");
    ChooseExecuteFile(panel, 0);
    EXPECT_EQ(gui.text(kStringExecuteFile), "/home/u/new.sh");
    const auto request = gui.fileRequests().back();
    EXPECT_EQ(request.mode, gui::FileMode::Open);
    EXPECT_EQ(request.title, "Select execute file");
    EXPECT_EQ(request.defaultFile, "");
    EXPECT_EQ(request.filter, "All files (*.*)|*.*");
}

}  // namespace
}  // namespace zs::test
