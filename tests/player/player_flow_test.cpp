// Which steps a run carries out and in what order: loops, jumps, targets past the end, start index.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "support/player_harness.h"

namespace zs::test {
namespace {

using Texts = std::vector<std::string>;

TEST(PlayerFlow, LoopOfThreeRepeatsTheBodyAndCountsInTextL1) {
    PlayerHarness h;
    h.setProgram({StateStep("a"), LoopStep(1, 3), StateStep("b")});
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{"", "a", "a", "a", "b"}));  // "" from Play's reset
    EXPECT_EQ(h.texts(form::kTextStatus1), (Texts{"", "L1: 1", "L1: 2", "", ""}));
    EXPECT_EQ(h.state.playing, 0);
}

TEST(PlayerFlow, NestedLoopsHandTheLevelsOutInTheOrderTheyAreReached) {
    PlayerHarness h;
    // Inner loop: step 2 over step 1, twice. Outer loop: step 4 over steps 1 to 3, three times.
    h.setProgram({StateStep("a"), LoopStep(1, 2), StateStep("c"), LoopStep(1, 3)});
    ASSERT_TRUE(h.playToEnd());
    const Texts states = h.texts(form::kTextStepInfo);
    EXPECT_EQ(std::count(states.begin(), states.end(), "a"), 6);
    EXPECT_EQ(std::count(states.begin(), states.end(), "c"), 3);
    // Inner loop on level 1 in the first outer pass, then the outer loop takes level 1 and the
    // inner loop counts on level 2.
    EXPECT_EQ(h.texts(form::kTextStatus1), (Texts{"", "L1: 1", "", "L1: 1", "L1: 2", "", ""}));
    EXPECT_EQ(h.texts(form::kTextStatus2), (Texts{"", "L2: 1", "", "L2: 1", "", ""}));
    EXPECT_EQ(h.texts(form::kTextStatus3), (Texts{"", ""}));
    // The Loop that ends on the last step ends the run, which shows the start step again.
    EXPECT_EQ(h.ui.shown().back(), 0);
}

TEST(PlayerFlow, TargetsPastTheEndRunStepOneAndGoOnFromStepTwo) {
    PlayerHarness h;
    h.setProgram({StateStep("a"), StateStep("b"), LoopStep(9, 2), StateStep("d")});
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{"", "a", "b", "a", "b", "d"}));
    EXPECT_EQ(h.ui.shown(), (std::vector<long>{0, 1, 2, 0, 1, 2, 3, 0}));

    h.setProgram({StateStep("a"), StateStep("b"), JumpStep(7)});
    h.clock.at(h.clock.elapsedMs() + 1000, [&] { h.input.pressEscape(); });
    ASSERT_TRUE(h.playToEnd());
    const Texts states = h.texts(form::kTextStepInfo);
    const Texts expected{"", "a", "b", "a", "b"};  // after the first run's texts and Play's reset
    ASSERT_GE(states.size(), 6 + expected.size());
    EXPECT_EQ(Texts(states.begin() + 6, states.begin() + 6 + 5), expected);
}

TEST(PlayerFlow, EscapePressedBeforePlayDoesNotEndTheRun) {
    PlayerHarness h;
    // Regression: an Escape pressed while nothing played was still pending when Play came, and
    // the run ended before its first step.
    h.input.pressEscape();
    h.setProgram({StateStep("a"), StateStep("b")});
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{"", "a", "b"}));
}

TEST(PlayerFlow, JumpCyclesStayStoppableAndLeaveThePlayerReadyForANewRun) {
    PlayerHarness h;
    // Regression: handed-over steps used to nest without bound and never reach the Escape test.
    h.setProgram({JumpStep(2), JumpStep(1)});
    h.clock.at(100'000, [&] { h.input.pressEscape(); });  // 500 jumps
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.state.playing, 0);
    EXPECT_LE(h.clock.elapsedMs(), 100'200);

    h.setProgram({JumpStep(1)});  // a jump to itself, ended by Stop
    h.atMs(h.clock.elapsedMs() + 50'000, [](PlaybackCommands& c) { c.Stop(); });
    ASSERT_TRUE(h.playToEnd());

    h.setProgram({StateStep("x"), StateStep("y")});
    ASSERT_TRUE(h.playToEnd());
    const Texts states = h.texts(form::kTextStepInfo);
    EXPECT_EQ(Texts(states.end() - 2, states.end()), (Texts{"x", "y"}));
}

TEST(PlayerFlow, JumpAndLoopWithoutATargetOnlyWaitAndGoOn) {
    PlayerHarness h;
    h.setProgram({JumpStep(0), LoopStep(0, 5), JumpStep(-3), StateStep("end")});
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.ui.shown(), (std::vector<long>{0, 1, 2, 3, 0}));
    EXPECT_EQ(h.textTimes(form::kTextStepInfo).back(), 600);
}

TEST(PlayerFlow, PlayFromCurrentStepStartsThereAndEndsShowingIt) {
    PlayerHarness h;
    h.setProgram({StateStep("a"), StateStep("b"), StateStep("c"), StateStep("d"), StateStep("e")},
                 3);
    ASSERT_TRUE(h.playFromCurrentToEnd());
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{"", "d", "e"}));
    EXPECT_EQ(h.ui.shown(), (std::vector<long>{3, 4, 3}));
    EXPECT_EQ(h.gui.text(form::kFrameStep), "4");
    h.onUi([&] { EXPECT_EQ(h.state.list.index(), 3); });
}

TEST(PlayerFlow, AResumedRunKeepsItsStartIndex) {
    PlayerHarness h;
    h.setProgram({StateStep("a"), StateStep("b"), StateStep("c"), StateStep("d"), StateStep("e")},
                 3);
    h.atMs(100, [](PlaybackCommands& c) { c.Pause(); });
    h.atMs(700, [](PlaybackCommands& c) { c.Play(); });
    ASSERT_TRUE(h.playFromCurrentToEnd());
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{"", "d", "e"}));  // resume resets nothing
    EXPECT_EQ(h.ui.shown().back(), 3);
    EXPECT_EQ(h.textTimes(form::kTextStepInfo).back(), 700);
}

TEST(PlayerFlow, StopWhilePausedRunsNothingMore) {
    // Regression: Stop clears the paused flag too, which used to let the waiting step go on: one
    // more countdown value, or the step a Loop hands over to.
    struct Case {
        const char* name;
        std::vector<Step> program;
        long long pauseAt;
        int gadget;
        Texts texts;
    };
    const std::vector<Case> cases{
        {"delay", {DelayStep(1.0f), StateStep("b")}, 250, form::kTextCountdown, {"1.0", "0.9", "0.8"}},
        {"loop", {StateStep("a"), LoopStep(1, 5), StateStep("b")}, 300, form::kTextStepInfo, {"", "a"}},
        {"state", {StateStep("a"), StateStep("b")}, 100, form::kTextStepInfo, {"", "a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerHarness h;
        h.setProgram(c.program);
        h.atMs(c.pauseAt, [](PlaybackCommands& commands) { commands.Pause(); });
        h.atMs(850, [](PlaybackCommands& commands) { commands.Stop(); });
        ASSERT_TRUE(h.playToEnd());
        EXPECT_EQ(h.texts(c.gadget), c.texts);
        EXPECT_FALSE(h.gui.isDisabled(form::kButtonPlay));
        EXPECT_FALSE(h.gui.isDisabled(58));  // edit lock off
    }
}

TEST(PlayerFlow, StopThenPlayDuringAStepStartsTheNewRunFromItsStart) {
    // Regression: a run busy in a step (here a message box) missed a Stop followed by Play and
    // went on with its next step, as if the new run had resumed it.
    PlayerHarness h;
    bool first = true;
    h.gui.setMessageBoxHook([&](const gui::MessageRecord&) {
        if (!std::exchange(first, false)) return;
        h.onUi([&] { h.commands.Stop(); });
        h.onUi([&] { h.commands.Play(); });
    });
    h.setProgram({StateStep("a"), MessageStep("m"), StateStep("b")});
    ASSERT_TRUE(h.playToEnd());
    ASSERT_TRUE(h.player.waitForRunsEnded(2, std::chrono::seconds(10)));
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{"", "a", "", "a", "b"}));
    EXPECT_EQ(h.gui.messages().size(), 2u);
    EXPECT_FALSE(h.gui.isDisabled(form::kButtonPlay));
}

TEST(PlayerFlow, EndOfRunRestoresTheIdleControlsAndShowsTheNoticeWhenAsked) {
    PlayerHarness h;
    h.state.endOfStepsNotice = 1;
    h.setProgram({StateStep("a")});
    ASSERT_TRUE(h.playToEnd());
    const auto messages = h.gui.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "OK");
    EXPECT_EQ(messages[0].text, "End of steps");
    EXPECT_FALSE(messages[0].mainWindowTopmost);
    EXPECT_TRUE(h.gui.window(form::kFormMAIN)->topmost);
    EXPECT_FALSE(h.gui.isDisabled(form::kButtonPlay));
    EXPECT_TRUE(h.gui.isDisabled(form::kButtonPause));
    EXPECT_TRUE(h.gui.isDisabled(form::kButtonStop));
    EXPECT_EQ(h.state.paused, 0);
}

TEST(PlayerFlow, AnEmptyProgramEndsTheRunAtOnce) {
    PlayerHarness h;
    h.setProgram({});
    ASSERT_TRUE(h.playToEnd());
    EXPECT_TRUE(h.ui.shown().empty());
    EXPECT_EQ(h.state.playing, 0);
}

}  // namespace
}  // namespace zs::test
