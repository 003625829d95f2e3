// The editor wired into the shell's event loop: events reach the editor's handlers.
#include "editor/editor_hooks.h"

#include "editor/navigation.h"
#include "editor_fixture.h"
#include "platform/headless/recording_process.h"
#include "platform/headless/virtual_clock.h"
#include "support/fake_services.h"

namespace zs::test {
namespace {

using namespace zs::form;

class EditorHooksTest : public ::testing::Test {
protected:
    EditorHooksTest() {
        shell.hooks.keyTokens = [] { return KeyTokenListItems(); };
        AttachEditor(shell.hooks, panel, codeEditor, commands);
        shell.StartUp(false);
    }
    void gadget(int id) { shell.Dispatch({gui::EventKind::Gadget, kFormMAIN, id, 0, 0}); }
    void menu(int id) { shell.Dispatch({gui::EventKind::Menu, kFormMAIN, id, 0, 0}); }
    std::string lastMessageText() {
        const auto messages = gui.messages();
        return messages.empty() ? std::string() : messages.back().text;
    }

    VirtualClock clock;
    gui::HeadlessGui gui{&clock};
    EscapeInput input;
    NoSerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    Services services{gui, input, serial, process, system, clock};
    AppState state;
    Shell shell{services, state};
    EditorPanel panel{gui, state, [this](const std::string& title, const std::string& text) {
                          shell.Message(title, text);
                      }};
    CodeEditor codeEditor{panel, system};
    EditorPlayerUi ui{gui, panel};
    PlaybackCommands commands{state, gui, ui, nullptr};
};

TEST_F(EditorHooksTest, EventsReachTheEditor) {
    menu(kMenuNew);
    EXPECT_EQ(gui.text(kStringDelay), "0.5");

    gadget(kButtonAppendStep);
    EXPECT_EQ(gui.text(kFrameStep), "2");
    gadget(kButtonStepList);
    gui.select(kPickList, 0);
    gadget(kPickList);
    EXPECT_EQ(gui.text(kFrameStep), "1");

    ShowInCombo(gui, kComboStepType, "1 Mouse");
    gadget(kComboStepType);
    EXPECT_FALSE(gui.isHidden(kFieldSets[0]));
    gui.setText(kStringMouseX, "");
    menu(kMenuSaveAs);  // the panel is stored first, and refused
    EXPECT_EQ(lastMessageText(), "No mouse x entered");
    EXPECT_TRUE(gui.fileRequests().empty());
    menu(kMenuPlay);
    EXPECT_EQ(state.playing, 0);

    gui.setText(kStringMouseX, "10");
    menu(kMenuPlay);
    EXPECT_EQ(state.playing, 1);
    EXPECT_EQ(state.list.at(0).MouseX, 10);
    menu(kMenuStop);
    EXPECT_EQ(state.playing, 0);
}

TEST_F(EditorHooksTest, EditorWindowClosesBackToAUsableTopmostMainWindow) {
    menu(kMenuNew);
    menu(kMenuEditor);
    EXPECT_TRUE(gui.window(kFormEditor)->open);
    EXPECT_FALSE(gui.window(kFormMAIN)->enabled);
    EXPECT_FALSE(gui.window(kFormMAIN)->topmost);

    gui.setCursorLine(kEditorText, 3);
    gui.setFocus(kEditorText);
    shell.Dispatch({gui::EventKind::LeftButtonUp, kFormEditor, 0, 0, 0});
    EXPECT_EQ(gui.text(109), "CODE Line: 1");

    shell.Dispatch({gui::EventKind::WindowClose, kFormEditor, 0, 0, 0});
    EXPECT_FALSE(gui.window(kFormEditor)->open);
    EXPECT_TRUE(gui.window(kFormMAIN)->enabled);
    EXPECT_TRUE(gui.window(kFormMAIN)->topmost);
}

}  // namespace
}  // namespace zs::test
