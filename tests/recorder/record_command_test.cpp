#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "../shell/shell_fixture.h"
#include "Forms/FormMAIN.h"
#include "editor/editor_hooks.h"
#include "model/step_file.h"
#include "platform/headless/scripted_recorder.h"
#include "shell/program.h"

namespace zs::test {
namespace {

using namespace form;
using gui::Event;
using gui::EventKind;

Event MenuEvent(int item) { return {EventKind::Menu, kFormMAIN, item, 0, 0}; }

RecordedEvent KeyPress(std::uint32_t t, int vkCode, std::string text) {
    RecordedEvent event;
    event.timeMs = t;
    event.vk = vkCode;
    event.text = std::move(text);
    return event;
}

RecordedEvent LeftPress(std::uint32_t t, int x, int y) {
    RecordedEvent event;
    event.kind = RecordedKind::ButtonDown;
    event.timeMs = t;
    event.position = {x, y};
    return event;
}

// The program with its editor, as main() builds it, recording from a scripted desktop.
class RecordCommandTest : public ShellTest {
protected:
    void SetUp() override {
        program.AttachRecorder(&recorder);
        program.StartUp(false);
        Menu(kMenuNew);
    }
    void Menu(int item) { program.shell().Dispatch(MenuEvent(item)); }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (const Step& step : program.state().list.steps()) lines.push_back(CodeLine(step));
        return lines;
    }
    // Escape ends the recording through the UI thread, which the headless GUI stands for.
    bool WaitUntilStopped() {
        for (int i = 0; i < 2000 && program.recorder().recording(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return !program.recorder().recording();
    }

    ScriptedRecorder recorder;
    Program program{services};
    ProgramEditor editor{program.shell(), services, program.state()};
};

TEST_F(RecordCommandTest, RecordsUntilEscapeAndInsertsAfterTheCurrentStep) {
    EXPECT_FALSE(gui.isMenuItemDisabled(kMenuRecord));
    Menu(kMenuRecord);
    ASSERT_TRUE(recorder.started());
    EXPECT_EQ(Gadget(kTextStepInfo).text, "Recording - Escape stops");
    for (int gadget : {kButtonPlay, kButtonNextStep, kComboStepType}) EXPECT_TRUE(Gadget(gadget).disabled) << gadget;
    for (int item : {kMenuOpen, kMenuPlay, kMenuEditor}) EXPECT_TRUE(gui.isMenuItemDisabled(item)) << item;
    EXPECT_FALSE(gui.isMenuItemDisabled(kMenuRecord));  // it ends the recording

    recorder.feed(LeftPress(1000, 40, 50));
    recorder.feed(KeyPress(1100, 'O', "o"));
    recorder.feed(KeyPress(1200, 0xBA, ";"));
    recorder.feed(KeyPress(1300, 'K', "k"));
    recorder.pressEscape();
    ASSERT_TRUE(WaitUntilStopped());
    recorder.feed(KeyPress(1400, 'X', "x"));  // after the end: not recorded

    EXPECT_EQ(Lines(), (std::vector<std::string>{"3;0.5;", "1;L_Click;40;50;",
                                                  "2;String;o{SEMICOLON}k;"}));
    EXPECT_EQ(program.state().list.index(), 1);
    EXPECT_EQ(Gadget(kFrameStep).text, "2");
    EXPECT_EQ(Gadget(kTextStepInfo).text, "");
    for (int gadget : {kButtonPlay, kButtonNextStep, kComboStepType}) EXPECT_FALSE(Gadget(gadget).disabled) << gadget;
    EXPECT_FALSE(gui.isMenuItemDisabled(kMenuPlay));
    EXPECT_TRUE(gui.isMenuItemDisabled(kMenuStop));

    // A second recording from the first step goes between the first and the second.
    program.shell().ShowStep(0);
    Menu(kMenuRecord);
    recorder.feed(KeyPress(5000, 0x0D, "\r"));
    Menu(kMenuRecord);
    EXPECT_FALSE(recorder.started());
    EXPECT_EQ(Lines()[1], "2;Key;{ENTER};");
    EXPECT_EQ(Lines().size(), 4u);
}

TEST_F(RecordCommandTest, ClosingWhileRecordingAsksAndNoKeepsTheSteps) {
    Menu(kMenuRecord);
    recorder.feed(KeyPress(1000, 'A', "a"));
    gui.queueAnswer(gui::Answer::No);
    program.shell().Dispatch({EventKind::WindowClose, kFormMAIN, 0, 0, 0});
    EXPECT_FALSE(program.shell().Ending());
    EXPECT_FALSE(recorder.started());
    EXPECT_EQ(Lines().back(), "2;String;a;");

    // The steps kept from the first recording are unsaved: that is asked after the recording.
    Menu(kMenuRecord);
    gui.queueAnswer(gui::Answer::Yes);
    gui.queueAnswer(gui::Answer::Yes);
    program.shell().Dispatch({EventKind::WindowClose, kFormMAIN, 0, 0, 0});
    EXPECT_TRUE(program.shell().Ending());
    EXPECT_FALSE(recorder.started());
}

TEST_F(RecordCommandTest, RefusedStartsAndPlaybackStates) {
    recorder.startStatus = Status::failure("XIQueryVersion", "XInput 2.2 is missing");
    Menu(kMenuRecord);
    ASSERT_FALSE(gui.messages().empty());
    EXPECT_EQ(gui.messages().back().text, "Recording: XIQueryVersion: XInput 2.2 is missing");
    EXPECT_FALSE(program.recorder().recording());
    EXPECT_FALSE(Gadget(kButtonPlay).disabled);

    // Play disables Record as it disables Play from current step; Stop enables it again.
    // Shown in the panel too, or Play stores the panel's 0.5 s and the run may end at once.
    program.state().list.current().DelaySeconds = 3600.0f;
    program.shell().ShowStep(program.state().list.index());
    Menu(kMenuPlay);
    EXPECT_TRUE(gui.isMenuItemDisabled(kMenuRecord));
    Menu(kMenuPause);
    EXPECT_TRUE(gui.isMenuItemDisabled(kMenuRecord));
    Menu(kMenuStop);
    EXPECT_FALSE(gui.isMenuItemDisabled(kMenuRecord));
}

TEST(InsertAfterCurrent, AHundredThousandStepsGoInOnePass) {
    RList list;
    MakeNewProgram(list);
    list.add().RECORDtype = 9;
    list.first();
    std::vector<Step> recorded(100000, NewDelayStep());
    recorded.back().RECORDtype = 7;
    InsertAfterCurrent(list, std::move(recorded));
    ASSERT_EQ(list.size(), 100002);
    EXPECT_EQ(list.index(), 1);
    EXPECT_EQ(list.at(100000).RECORDtype, 7);
    EXPECT_EQ(list.at(100001).RECORDtype, 9);
}

}  // namespace
}  // namespace zs::test
