// The editor wired into the whole program: the shell's events and the player reach it.
#include "editor/editor_hooks.h"

#include <chrono>

#include "Forms/FormEditor.h"
#include "editor/navigation.h"
#include "player/key_tokens.h"
#include "shell/program.h"
#include "shell/shell_fixture.h"

namespace zs::test {
namespace {

using namespace zs::form;

class EditorHooksTest : public ShellTest {
protected:
    void SetUp() override { program.StartUp(false); }
    void gadget(int id) { program.shell().Dispatch({gui::EventKind::Gadget, kFormMAIN, id, 0, 0}); }
    void menu(int id) { program.shell().Dispatch({gui::EventKind::Menu, kFormMAIN, id, 0, 0}); }
    std::string lastMessageText() {
        const auto messages = gui.messages();
        return messages.empty() ? std::string() : messages.back().text;
    }
    bool waitForRuns(long count) {
        return program.player()->waitForRunsEnded(count, std::chrono::seconds(20));
    }

    Program program{services};
    ProgramEditor editor{program.shell(), services, program.state()};
};

TEST_F(EditorHooksTest, StepsEditedInThePanelArePlayedAndShown) {
    menu(kMenuNew);
    EXPECT_EQ(gui.text(kStringDelay), "0.5");
    gui.setText(kStringDelay, "0");
    gadget(kButtonAppendStep);
    ShowInCombo(gui, kComboStepType, "7 State");
    gadget(kComboStepType);
    gui.setText(kStringStateText, "second");
    gadget(kButtonStepList);
    gui.select(kPickList, 0);
    gadget(kPickList);
    ASSERT_EQ(gui.text(kFrameStep), "1");
    EXPECT_EQ(program.state().list.at(1).RECORDtype, 7);

    ShowInCombo(gui, kComboStepType, "1 Mouse");
    gadget(kComboStepType);
    gui.setText(kStringMouseX, "");
    menu(kMenuSaveAs);  // the panel is stored first, and refused
    EXPECT_EQ(lastMessageText(), "No mouse x entered");
    EXPECT_TRUE(gui.fileRequests().empty());
    menu(kMenuPlay);
    EXPECT_EQ(program.state().playing, 0);

    ShowInCombo(gui, kComboStepType, "7 State");
    gadget(kComboStepType);
    gui.setText(kStringStateText, "played");
    menu(kMenuPlay);
    ASSERT_TRUE(waitForRuns(1));
    const auto stateTexts = gui.textValues(kTextStepInfo);
    ASSERT_GE(stateTexts.size(), 2u);
    EXPECT_EQ(stateTexts[stateTexts.size() - 2], "played");
    EXPECT_EQ(stateTexts.back(), "second");
    EXPECT_EQ(gui.text(kFrameStep), "1");
    EXPECT_EQ(ComboText(gui, kComboStepType), "7 State");  // shown by GetValues at the end
}

TEST_F(EditorHooksTest, EditorWindowClosesBackToAUsableTopmostMainWindow) {
    menu(kMenuNew);
    menu(kMenuEditor);
    EXPECT_TRUE(gui.window(kFormEditor)->open);
    EXPECT_FALSE(gui.window(kFormMAIN)->enabled);
    EXPECT_FALSE(gui.window(kFormMAIN)->topmost);

    gui.setCursorLine(kEditorText, 3);
    gui.setFocus(kEditorText);
    program.shell().Dispatch({gui::EventKind::LeftButtonUp, kFormEditor, 0, 0, 0});
    EXPECT_EQ(gui.text(109), "CODE Line: 1");

    program.shell().Dispatch({gui::EventKind::WindowClose, kFormEditor, 0, 0, 0});
    EXPECT_FALSE(gui.window(kFormEditor)->open);
    EXPECT_TRUE(gui.window(kFormMAIN)->enabled);
    EXPECT_TRUE(gui.window(kFormMAIN)->topmost);
}

}  // namespace
}  // namespace zs::test
