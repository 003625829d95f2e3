#include <gtest/gtest.h>

#include <map>

#include "Forms/FormMAIN.h"
#include "shell_fixture.h"

namespace zs::test {
namespace {

using namespace form;
using gui::Answer;
using gui::Event;
using gui::EventKind;

Event GadgetEvent(int id, int subType = 0) { return {EventKind::Gadget, kFormMAIN, id, subType, 0}; }
Event MenuEvent(int item) { return {EventKind::Menu, kFormMAIN, item, 0, 0}; }
Event KeyEvent(int key) { return {EventKind::KeyDown, kFormMAIN, 0, 0, key}; }
Event CloseEvent(int window) { return {EventKind::WindowClose, window, 0, 0, 0}; }

class EventLoopTest : public ShellTest {
protected:
    void SetUp() override { StartUp(); }

    // Records which hook ran with which event type.
    void AttachRecordingHooks() {
        auto handler = [this](const std::string& name) {
            return [this, name](int type) { calls.push_back(name + ":" + std::to_string(type)); };
        };
        auto command = [this](const std::string& name) {
            return [this, name] { calls.push_back(name); };
        };
        ShellHooks& h = shell.hooks;
        h.comboStepType = handler("type");
        h.comboKeyboardType = handler("keyboard");
        h.comboComType = handler("comtype");
        h.executeFileButton = handler("execute");
        h.panelButton = handler("panel");
        h.playButton = handler("play");
        h.pauseButton = handler("pause");
        h.stopButton = handler("stop");
        for (int i = 0; i < 8; ++i) h.navigation[static_cast<std::size_t>(i)] = handler("nav" + std::to_string(i));
        h.menuPlay = command("menuPlay");
        h.menuPlayFromCurrent = command("menuPlayFromCurrent");
        h.menuPause = command("menuPause");
        h.menuStop = command("menuStop");
        h.openEditor = command("openEditor");
        h.editorLineInfo = command("lineInfo");
        h.editorOpen = handler("editorOpen");
        h.editorSave = handler("editorSave");
        h.editorSaveAs = handler("editorSaveAs");
    }

    std::vector<std::string> calls;
};

TEST_F(EventLoopTest, GadgetAndMenuEventsReachTheirHandlers) {
    AttachRecordingHooks();
    const std::pair<Event, std::string> rows[] = {
        {GadgetEvent(69, 1), "type:1"},      {GadgetEvent(54), "play:0"},
        {GadgetEvent(55), "pause:0"},        {GadgetEvent(56), "stop:0"},
        {GadgetEvent(58), "nav0:0"},         {GadgetEvent(65, 2), "nav7:2"},
        {GadgetEvent(16, 1), "keyboard:1"},  {GadgetEvent(33, 1), "comtype:1"},
        {GadgetEvent(47), "execute:0"},      {GadgetEvent(49), "panel:0"},
        {GadgetEvent(104), "lineInfo"},      {GadgetEvent(105), "editorOpen:0"},
        {GadgetEvent(106), "editorSave:0"},  {GadgetEvent(107), "editorSaveAs:0"},
        {MenuEvent(81), "menuPlay"},         {MenuEvent(82), "menuPlayFromCurrent"},
        {MenuEvent(83), "menuPause"},        {MenuEvent(84), "menuStop"},
        {MenuEvent(85), "openEditor"},
    };
    for (const auto& [event, expected] : rows) {
        calls.clear();
        shell.Dispatch(event);
        EXPECT_EQ(calls, std::vector<std::string>{expected}) << expected;
    }
}

TEST_F(EventLoopTest, UnhookedAndReservedEventsDoNothing) {
    // No hooks attached: the editor's events are accepted and ignored.
    for (int id : {69, 54, 58, 16, 33, 47, 49, 104, 105}) shell.Dispatch(GadgetEvent(id));
    for (int item : {79, 81, 85, 86, 87, 90}) shell.Dispatch(MenuEvent(item));
    AttachRecordingHooks();
    for (int item : {79, 86, 87}) shell.Dispatch(MenuEvent(item));
    for (int id : {1, 48, 57, 66, 70}) shell.Dispatch(GadgetEvent(id));
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(gui.messages().empty());
    EXPECT_TRUE(gui.fileRequests().empty());
    EXPECT_TRUE(process.openedDocuments().empty());
    EXPECT_FALSE(shell.Ending());
}

// The exact reading, not the cheap one that the position display shows.
TEST_F(EventLoopTest, F9HandsThePointersPositionToTheEditor) {
    std::vector<Point> captured;
    shell.hooks.capturePointer = [&](Point pointer) { captured.push_back(pointer); };
    input.setPointerPosition({1234, 56});
    input.setCapturePosition({1240, 61});
    shell.Dispatch(KeyEvent(vk::F9 - 1));
    shell.Dispatch(KeyEvent(vk::F9));
    EXPECT_EQ(captured, (std::vector<Point>{Point{1240, 61}}));
}

TEST_F(EventLoopTest, EditorTextKeysAndClicksRefreshLineInformation) {
    AttachRecordingHooks();
    shell.Dispatch({EventKind::LeftButtonUp, kFormMAIN, 0, 0, 0});
    shell.Dispatch(KeyEvent('A'));
    EXPECT_TRUE(calls.empty());
    gui.setFocus(kEditorText);
    shell.Dispatch({EventKind::LeftButtonUp, kFormEditor, 0, 0, 0});
    shell.Dispatch(KeyEvent('A'));
    shell.Dispatch(KeyEvent(vk::F9));
    EXPECT_EQ(calls, (std::vector<std::string>{"lineInfo", "lineInfo", "lineInfo"}));
}

TEST_F(EventLoopTest, ClosingTheMainWindowEndsTheLoopWithoutQuestion) {
    shell.FileNew();
    gui.pushEvent(MenuEvent(79));
    gui.pushEvent(CloseEvent(kFormMAIN));
    gui.pushEvent(MenuEvent(89));  // never reached
    EXPECT_EQ(shell.Run(), 0);
    EXPECT_TRUE(gui.messages().empty());
    EXPECT_FALSE(gui.window(kFormMAIN)->open);
}

TEST_F(EventLoopTest, ClosingTheEditorBringsBackATopMostUsableMainWindow) {
    gui.openWindow(kFormEditor, {0, 0, 400, 300}, "Editor", gui::kCaption | gui::kCloseBox,
                   kFormMAIN);
    gui.enableWindow(kFormMAIN, false);
    gui.setTopmost(kFormMAIN, false);
    shell.Dispatch(CloseEvent(kFormEditor));
    EXPECT_FALSE(gui.window(kFormEditor)->open);
    EXPECT_TRUE(gui.window(kFormMAIN)->enabled);
    EXPECT_TRUE(gui.window(kFormMAIN)->topmost);
    EXPECT_FALSE(shell.Ending());
}

TEST_F(EventLoopTest, ExitAsksDirectlyAndEndsOnlyOnYes) {
    shell.FileNew();
    gui.queueAnswer(Answer::No);
    shell.Dispatch(MenuEvent(kMenuExit));
    EXPECT_FALSE(shell.Ending());
    EXPECT_EQ(state.list.size(), 1);
    gui.queueAnswer(Answer::Yes);
    shell.Dispatch(MenuEvent(kMenuExit));
    EXPECT_TRUE(shell.Ending());
    const auto messages = gui.messages();
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& m : messages) {
        EXPECT_EQ(m.title, "Confirm");
        EXPECT_EQ(m.text, "Exit program?");
        EXPECT_EQ(m.buttons, gui::Buttons::YesNo);
        EXPECT_TRUE(m.mainWindowTopmost);  // not through the message routine
    }
}

TEST_F(EventLoopTest, AboutShowsNameAndVersionThroughTheMessageRoutine) {
    shell.Dispatch(MenuEvent(kMenuAbout));
    const auto messages = gui.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "About");
    EXPECT_EQ(messages[0].text, "                          Orvel-Step   V2.5.0");
    EXPECT_EQ(messages[0].text.find_first_not_of(' '), 26u);
    EXPECT_EQ(messages[0].buttons, gui::Buttons::Ok);
    EXPECT_FALSE(messages[0].mainWindowTopmost);
    EXPECT_TRUE(gui.window(kFormMAIN)->topmost);
}

TEST_F(EventLoopTest, HelpOpensTheDocumentBesideTheProgramSilently) {
    shell.Dispatch(MenuEvent(kMenuHelp));
    process.setFailure(Status::failure("posix_spawn", "No such file"));
    fs::remove(folder / kHelpFileName);
    shell.Dispatch(MenuEvent(kMenuHelp));
    const std::string expected = FolderPart(system.executable) + kHelpFileName;
    EXPECT_EQ(process.openedDocuments(), (std::vector<std::string>{expected, expected}));
    EXPECT_TRUE(gui.messages().empty());
    EXPECT_FALSE(shell.Ending());
}

TEST_F(EventLoopTest, EditLockCoversEditingGadgetsAndMenuItems) {
    shell.EditLock(true);
    for (int id : {58, 65, 69, 70, 3, 4, 5, 16, 17, 18, 22, 27, 28, 32, 33, 34, 39, 42, 46, 47})
        EXPECT_TRUE(Gadget(id).disabled) << id;
    for (int item : {75, 76, 77, 78, 80, 85, 88, 89}) EXPECT_TRUE(gui.isMenuItemDisabled(item)) << item;
    for (int id : {54, 51, 9}) EXPECT_FALSE(Gadget(id).disabled) << id;
    shell.EditLock(false);
    for (int id : {58, 69, 3, 47}) EXPECT_FALSE(Gadget(id).disabled) << id;
    for (int item : {75, 80, 89}) EXPECT_FALSE(gui.isMenuItemDisabled(item)) << item;
}

}  // namespace
}  // namespace zs::test
