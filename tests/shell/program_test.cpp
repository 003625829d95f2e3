#include <gtest/gtest.h>

#include <chrono>

#include "Forms/FormMAIN.h"
#include "shell/program.h"
#include "shell_fixture.h"

namespace zs::test {
namespace {

using namespace form;
using gui::Event;
using gui::EventKind;

Event MenuEvent(int item) { return {EventKind::Menu, kFormMAIN, item, 0, 0}; }

// The program as main() builds it, on the headless backends.
class ProgramTest : public ShellTest {
protected:
    void SetUp() override { program.StartUp(false); }
    bool WaitForRuns(long count) {
        return program.player()->waitForRunsEnded(count, std::chrono::seconds(20));
    }
    Program program{services};
};

TEST_F(ProgramTest, PlayFromTheMenuRunsTheProgramAndReturnsToIdle) {
    ASSERT_NE(program.player(), nullptr);
    WriteFileBytes(folder / "click.stp",
                   "Zelvorin-Step 2.5\r\nu\r\n\r\n1;L_Click;50;60;\r\n7;done;\r\n");
    gui.queueFile(Path("click.stp"));
    program.shell().Dispatch(MenuEvent(kMenuOpen));
    program.shell().Dispatch(MenuEvent(kMenuPlay));
    ASSERT_TRUE(WaitForRuns(1));
    EXPECT_EQ(input.transcript(), "P50,60 Ld Lu");
    EXPECT_EQ(Gadget(kTextStepInfo).text, "done");
    EXPECT_EQ(Gadget(kFrameStep).text, "1");  // the start step is shown again
    EXPECT_FALSE(Gadget(kButtonPlay).disabled);
    EXPECT_TRUE(Gadget(kButtonPause).disabled);
    for (int item : {75, 76, 77, 78, 80, 81, 82, 85}) EXPECT_FALSE(gui.isMenuItemDisabled(item)) << item;
    for (int item : {83, 84}) EXPECT_TRUE(gui.isMenuItemDisabled(item)) << item;
    EXPECT_EQ(state.playing, 0);  // the fixture's state is not the program's
    EXPECT_EQ(program.state().playing, 0);
}

TEST_F(ProgramTest, ButtonsDriveTheSameCommandsAndTheEditorCanRefuse) {
    program.shell().Dispatch(MenuEvent(kMenuNew));
    int stores = 0;
    program.shell().hooks.SaveActualRecord = [&] { return ++stores, 0; };
    program.shell().Dispatch({EventKind::Gadget, kFormMAIN, kButtonPlay, 0, 0});
    program.shell().Dispatch(MenuEvent(kMenuPlayFromCurrent));
    EXPECT_EQ(stores, 2);
    EXPECT_EQ(program.state().playing, 0);
    EXPECT_EQ(program.player()->runsEnded(), 0);
}

TEST_F(ProgramTest, ClosingTheWindowEndsTheLoopEvenWhilePlaying) {
    program.shell().Dispatch(MenuEvent(kMenuNew));
    program.state().list.current().DelaySeconds = 3600.0f;
    gui.pushEvent(MenuEvent(kMenuPlay));
    gui.pushEvent({EventKind::WindowClose, kFormMAIN, 0, 0, 0});
    EXPECT_EQ(program.Run(), 0);
    EXPECT_TRUE(gui.messages().empty());
}

}  // namespace
}  // namespace zs::test
