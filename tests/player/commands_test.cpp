// The playback commands on their own: controls, flags, resets and the edit lock.
#include <gtest/gtest.h>

#include "platform/headless/headless_gui.h"
#include "player/commands.h"

namespace zs {
namespace {

struct Controls {
    bool play, pause, stop, menuPlay, menuFromCurrent, menuPause, menuStop, editLocked;
    bool operator==(const Controls&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Controls& c) {
    return out << "buttons " << !c.play << !c.pause << !c.stop << " menu " << !c.menuPlay
               << !c.menuFromCurrent << !c.menuPause << !c.menuStop << " lock " << c.editLocked;
}

constexpr Controls kIdle{true, false, false, true, true, false, false, false};
constexpr Controls kPlaying{false, true, true, false, false, true, true, true};
constexpr Controls kPaused{true, false, true, true, false, false, true, true};

struct CommandsFixture {
    gui::HeadlessGui gui;
    AppState state;
    GadgetPlayerUi ui{gui};
    int wakes = 0;
    PlaybackCommands commands{state, gui, ui, [this] { ++wakes; }};

    CommandsFixture() {
        for (int i = 0; i < 5; ++i) state.list.add() = NewDelayStep();
        state.list.select(3);
    }
    Controls controls() {
        auto enabled = [&](int gadget) { return !gui.isDisabled(gadget); };
        auto menu = [&](int item) { return !gui.isMenuItemDisabled(item); };
        return {enabled(54), enabled(55), enabled(56), menu(81), menu(82), menu(83), menu(84),
                gui.isDisabled(58) && gui.isDisabled(47) && gui.isMenuItemDisabled(75)};
    }
    // A run in progress as the player leaves it: loop levels, ports and texts in use.
    void dirtyRun() {
        state.loops[1].active = 1;
        state.loops[1].count = 4;
        state.runtimePorts.push_back(PortSetting{"COM1", 9600, 0, 8, 1});
        for (int text : {67, 72, 73, 74}) gui.setText(text, "x");
    }
    bool runStateReset() {
        bool texts = true;
        for (int text : {67, 72, 73, 74}) texts = texts && gui.text(text).empty();
        return texts && state.runtimePorts.empty() && state.loops[1].active == 0 &&
               state.loops[1].count == 0;
    }
};

TEST(PlaybackCommands, ControlsFlagsAndStartIndexAfterEachCommand) {
    CommandsFixture f;
    struct Row {
        const char* command;
        Controls controls;
        int playing, paused, startIndex;
    };
    const std::vector<Row> rows{
        {"Play", kPlaying, 1, 0, 0},     {"Pause", kPaused, 1, 1, 0},
        {"Play", kPlaying, 1, 0, 0},     {"Stop", kIdle, 0, 0, 0},
        {"FromCurrent", kPlaying, 1, 0, 3}, {"Pause", kPaused, 1, 1, 3},
        {"Play", kPlaying, 1, 0, 3},     {"Pause", kPaused, 1, 1, 3},
        {"Stop", kIdle, 0, 0, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const std::string command = row.command;
        if (command == "Play") f.commands.Play();
        if (command == "FromCurrent") f.commands.PlayFromCurrentStep();
        if (command == "Pause") f.commands.Pause();
        if (command == "Stop") f.commands.Stop();
        EXPECT_EQ(f.controls(), row.controls);
        EXPECT_EQ(f.state.playing, row.playing);
        EXPECT_EQ(f.state.paused, row.paused);
        EXPECT_EQ(f.state.startIndex, row.startIndex);
    }
    EXPECT_EQ(f.wakes, 4);
}

TEST(PlaybackCommands, NewRunsResetTheRunStateAndResumeDoesNot) {
    CommandsFixture f;
    int saves = 0;
    f.commands.SaveActualRecord = [&] { return ++saves, 1; };
    f.dirtyRun();
    f.commands.Play();
    EXPECT_TRUE(f.runStateReset());
    EXPECT_EQ(saves, 1);

    f.commands.Pause();
    f.dirtyRun();
    f.commands.Play();  // resume: nothing stored, nothing reset
    EXPECT_FALSE(f.runStateReset());
    EXPECT_EQ(saves, 1);

    f.commands.Pause();
    f.commands.PlayFromCurrentStep();  // resets whether paused or not
    EXPECT_TRUE(f.runStateReset());
    EXPECT_EQ(saves, 2);
}

TEST(PlaybackCommands, ARefusedStoreStartsNothing) {
    CommandsFixture f;
    f.commands.SaveActualRecord = [] { return 0; };
    f.commands.Stop();
    f.dirtyRun();
    f.commands.PlayFromCurrentStep();  // refused before any reset
    EXPECT_FALSE(f.runStateReset());
    f.commands.Play();  // resets first, then the refused store stops it
    EXPECT_TRUE(f.runStateReset());
    EXPECT_EQ(f.controls(), kIdle);
    EXPECT_EQ(f.state.playing, 0);
    EXPECT_EQ(f.wakes, 0);
}

}  // namespace
}  // namespace zs
