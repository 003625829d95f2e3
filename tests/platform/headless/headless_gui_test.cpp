#include <gtest/gtest.h>

#include <thread>

#include "platform/headless/headless_gui.h"
#include "platform/headless/recording_process.h"
#include "platform/headless/virtual_clock.h"

namespace zs::gui {
namespace {

TEST(HeadlessGui, GadgetsKeepTextsItemsSelectionAndStates) {
    HeadlessGui gui;
    gui.loadFont(0, "Arial", 8, false);
    gui.setDefaultFont(0);
    gui.createGadget({69, GadgetKind::Combo, 53, 68, {10, 3, 200, 22}, "", Align::Left, false, 0});
    EXPECT_EQ(gui.gadget(69)->font, 0);
    for (const char* item : {"1 Mouse", "2 Keyboard", "3 Delay"}) gui.addItem(69, item);
    EXPECT_EQ(gui.itemCount(69), 3);
    EXPECT_EQ(gui.itemText(69, 2), "3 Delay");
    EXPECT_EQ(gui.itemText(69, 3), "");
    EXPECT_EQ(gui.selected(69), -1);
    gui.select(69, 1);
    EXPECT_EQ(gui.selected(69), 1);
    gui.select(69, 7);  // outside the list: nothing selected
    EXPECT_EQ(gui.selected(69), -1);
    gui.select(69, 2);
    gui.clearItems(69);
    EXPECT_EQ(gui.selected(69), -1);

    gui.setDisabled(54, true);
    gui.setHidden(68, true);
    EXPECT_TRUE(gui.isDisabled(54));
    EXPECT_TRUE(gui.isHidden(68));
    EXPECT_FALSE(gui.isDisabled(55));
    EXPECT_FALSE(gui.gadget(54)->created);

    gui.setLines(104, {"a", "b", "c"});
    gui.setCursorLine(104, 2);
    EXPECT_EQ(gui.lines(104).size(), 3u);
    EXPECT_EQ(gui.cursorLine(104), 2);
    gui.setFocus(104);
    EXPECT_EQ(gui.focusedGadget(), 104);
}

TEST(HeadlessGui, TextHistoryCarriesTheClockTime) {
    VirtualClock clock;
    HeadlessGui gui(&clock);
    gui.setText(25, "1.5");
    clock.advance(std::chrono::milliseconds(100));
    gui.setText(25, "1.4");
    const auto history = gui.textHistory(25);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1].text, "1.4");
    EXPECT_EQ(history[1].atMs, 100);
    EXPECT_EQ(gui.text(25), "1.4");
}

TEST(HeadlessGui, WindowsAndMenus) {
    HeadlessGui gui;
    ASSERT_TRUE(gui.openWindow(53, {10, 20, 252, 344}, "Zelvorin-Step", kCaption | kCloseBox, 0));
    gui.setTopmost(53, true);
    gui.enableWindow(53, false);
    EXPECT_EQ(gui.windowRect(53), (Rect{10, 20, 252, 344}));
    EXPECT_TRUE(gui.window(53)->topmost);
    EXPECT_FALSE(gui.window(53)->enabled);
    gui.closeWindow(53);
    EXPECT_FALSE(gui.window(53)->open);
    EXPECT_FALSE(gui.window(48).has_value());

    gui.createMenu(53, {{"File", {{75, "Open"}, {0, ""}, {80, "Exit"}}}});
    EXPECT_TRUE(gui.menuItemExists(80));
    EXPECT_FALSE(gui.menuItemExists(79));
    gui.setMenuItemDisabled(75, true);
    EXPECT_TRUE(gui.isMenuItemDisabled(75));
    EXPECT_FALSE(gui.isMenuItemDisabled(80));
}

TEST(HeadlessGui, DialogsAnswerFromQueuesAndRecordTheTopmostState) {
    VirtualClock clock;
    HeadlessGui gui(&clock);
    gui.openWindow(53, {}, "", 0, 0);
    gui.setTopmost(53, true);
    EXPECT_EQ(gui.messageBox("Confirm", "Exit?", Buttons::YesNo), Answer::No);  // empty queue
    gui.queueAnswer(Answer::Yes);
    EXPECT_EQ(gui.messageBox("Confirm", "Exit?", Buttons::YesNo), Answer::Yes);
    gui.setTopmost(53, false);
    EXPECT_EQ(gui.messageBox("Info", "Saved", Buttons::Ok), Answer::Ok);
    const auto messages = gui.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[0].mainWindowTopmost);
    EXPECT_FALSE(messages[2].mainWindowTopmost);

    EXPECT_FALSE(gui.fileRequester(FileMode::Open, "Open", "", "STEP file (*.stp)|*.stp"));
    gui.queueFile("/tmp/a.stp");
    EXPECT_EQ(gui.fileRequester(FileMode::Save, "Save", "x.stp", "f"), "/tmp/a.stp");
    ASSERT_EQ(gui.fileRequests().size(), 2u);
    EXPECT_EQ(gui.fileRequests()[1].defaultFile, "x.stp");

    gui.notice("Loaded", 53);
    EXPECT_EQ(clock.elapsedMs(), 600);
    EXPECT_EQ(gui.notices().at(0).text, "Loaded");
    EXPECT_EQ(gui.window(53)->activations, 1);
}

TEST(HeadlessGui, WaitEventBlocksUntilAnEventIsPushedFromAnotherThread) {
    HeadlessGui gui;
    std::thread pusher([&] { gui.pushEvent({EventKind::Menu, 53, 81, 0, 0}); });
    const Event event = gui.waitEvent();
    pusher.join();
    EXPECT_EQ(event.kind, EventKind::Menu);
    EXPECT_EQ(event.id, 81);
}

TEST(HeadlessGui, RunOnUiMayCallTheGadgetLayerAgain) {
    HeadlessGui gui;
    gui.runOnUi([&] { gui.runOnUi([&] { gui.setText(66, "nested"); }); });
    EXPECT_EQ(gui.text(66), "nested");
}

TEST(VirtualClock, ScheduledActionsRunInTimeOrderAtTheirOwnTime) {
    VirtualClock clock;
    std::vector<std::pair<int, long long>> ran;
    clock.at(300, [&] { ran.push_back({3, clock.elapsedMs()}); });
    clock.at(100, [&] { ran.push_back({1, clock.elapsedMs()}); });
    clock.at(100, [&] { ran.push_back({2, clock.elapsedMs()}); });
    clock.waitUntil(Clock::time_point{} + std::chrono::milliseconds(200));
    EXPECT_EQ(clock.elapsedMs(), 200);
    clock.waitFor(std::chrono::milliseconds(500));
    EXPECT_EQ(ran, (std::vector<std::pair<int, long long>>{{1, 100}, {2, 100}, {3, 300}}));
    EXPECT_EQ(clock.elapsedMs(), 700);
}

TEST(RecordingProcessStarter, RecordsPathsAndFailsOnRequest) {
    RecordingProcessStarter starter;
    EXPECT_TRUE(starter.startFile("/bin/true"));
    starter.setFailure(Status::failure("posix_spawn", "No such file"));
    const Status failed = starter.openDocument("help.pdf");
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.call, "posix_spawn");
    EXPECT_EQ(starter.startedFiles(), (std::vector<std::string>{"/bin/true"}));
    EXPECT_EQ(starter.openedDocuments(), (std::vector<std::string>{"help.pdf"}));
}

}  // namespace
}  // namespace zs::gui
