// What each step type does and how long the player waits after it, on the virtual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "model/step_types.h"
#include "support/player_harness.h"

namespace zs::test {
namespace {

using Texts = std::vector<std::string>;

TEST(PlayerSteps, BetweenStepsDelayFollowsEveryStepExceptDelayAndUnknownTypes) {
    struct Case {
        const char* name;
        Step step;
        long long endAt;  // virtual ms at which the following step starts
    };
    const std::vector<Case> cases{
        {"mouse", TypedStep(1), 200},       {"keyboard", TypedStep(2), 200},
        {"delay 0.5 s", DelayStep(0.5f), 500}, {"loop without a target", LoopStep(0, 2), 200},
        {"comport sent", TypedStep(5), 200}, {"jump to 0", JumpStep(0), 200},
        {"state", StateStep("s"), 200},     {"execute missing", ExecuteStep("/no/such/file"), 200},
        {"message", MessageStep("m"), 200}, {"unknown 0", TypedStep(0), 0},
        {"unknown 13", TypedStep(kStepTypeCount + 1), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerHarness h;
        h.setProgram({c.step, StateStep("next")});
        ASSERT_TRUE(h.playToEnd());
        EXPECT_EQ(h.textTimes(form::kTextStepInfo).back(), c.endAt);
        EXPECT_EQ(h.clock.elapsedMs(), c.endAt + 200);
    }
}

TEST(PlayerSteps, MouseKeyboardAndComportStepsGoToTheirActions) {
    PlayerHarness h;
    h.setProgram({TypedStep(2), TypedStep(1), TypedStep(5), TypedStep(7)});
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.actions.types(), (std::vector<int>{2, 1, 5}));
}

TEST(PlayerSteps, DelayCountsDownInTenthsThenShowsZero) {
    struct Case {
        float seconds;
        Texts texts;
    };
    const std::vector<Case> cases{
        {1.5f, {"1.5", "1.4", "1.3", "1.2", "1.1", "1.0", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4",
                "0.3", "0.2", "0.1", "0.0"}},
        {0.25f, {"0.2", "0.1", "0.0"}},  // 2.5 tenths: half to even
        {0.04f, {"0.0"}},
        {0.0f, {"0.0"}},
        {-3.0f, {"0.0"}},
        {std::numeric_limits<float>::quiet_NaN(), {"0.0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        PlayerHarness h;
        h.setProgram({DelayStep(c.seconds)});
        ASSERT_TRUE(h.playToEnd());
        EXPECT_EQ(h.texts(form::kTextCountdown), c.texts);
        const auto times = h.textTimes(form::kTextCountdown);
        for (std::size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], 100 * (long long)i);
    }
}

TEST(PlayerSteps, EscapeDuringALongDelayEndsTheRunWithinATick) {
    PlayerHarness h;
    h.setProgram({DelayStep(10.0f), StateStep("never")});
    h.clock.at(5050, [&] { h.input.pressEscape(); });
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.gui.text(form::kTextCountdown), "5.0");  // keeps the last value shown
    const long long endedAt = h.textTimes(form::kTextStatus1).back();  // emptied at the end of run
    EXPECT_GE(endedAt, 5050);
    EXPECT_LE(endedAt, 5150);
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{""}));
}

TEST(PlayerSteps, PauseFreezesTheCountdownAndPlayResumesIt) {
    PlayerHarness h;
    h.setProgram({DelayStep(1.0f)});
    bool pausedControls = false;
    h.atMs(250, [](PlaybackCommands& c) { c.Pause(); });
    h.clock.at(600, [&] {
        pausedControls = !h.gui.isDisabled(form::kButtonPlay) &&
                         h.gui.isDisabled(form::kButtonPause) && !h.gui.isDisabled(form::kButtonStop);
    });
    h.atMs(1000, [](PlaybackCommands& c) { c.Play(); });
    ASSERT_TRUE(h.playToEnd());
    EXPECT_TRUE(pausedControls);
    EXPECT_EQ(h.texts(form::kTextCountdown),
              (Texts{"1.0", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0.0"}));
    EXPECT_EQ(h.textTimes(form::kTextCountdown),
              (std::vector<long long>{0, 100, 200, 1000, 1100, 1200, 1300, 1400, 1500, 1600,
                                      1700}));
}

TEST(PlayerSteps, MessageStepPausesWhileItsBoxIsOpenAboveTheMainWindow) {
    PlayerHarness h;
    int pausedDuringBox = -1;
    h.gui.setMessageBoxHook([&](const gui::MessageRecord&) { pausedDuringBox = h.state.paused; });
    h.setProgram({MessageStep("Insert the disk"), StateStep("after")});
    ASSERT_TRUE(h.playToEnd());
    const auto messages = h.gui.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "PAUSE");
    EXPECT_EQ(messages[0].text, "Insert the disk");
    EXPECT_FALSE(messages[0].mainWindowTopmost);
    EXPECT_TRUE(h.gui.window(form::kFormMAIN)->topmost);
    EXPECT_EQ(pausedDuringBox, 1);
    EXPECT_EQ(h.texts(form::kTextStepInfo).back(), "after");
}

TEST(PlayerSteps, UnknownTypeIsReportedAndTheRunGoesOn) {
    PlayerHarness h;
    h.setProgram({TypedStep(42), StateStep("after")});
    ASSERT_TRUE(h.playToEnd());
    const auto messages = h.gui.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Error");
    EXPECT_EQ(messages[0].text, "ThreadPLAY(): Unknown recordtype: 42");
    EXPECT_EQ(h.texts(form::kTextStepInfo).back(), "after");
}

TEST(PlayerSteps, ExecuteStartsExistingFilesAndFoldersAndSkipsMissingOnes) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "zs_execute_test";
    fs::create_directories(folder);
    const fs::path file = folder / "tool.bat";
    std::ofstream(file) << "x";
    PlayerHarness h;
    // A relative name is found beside the program file when the working folder lacks it.
    h.state.ProgramFileName = (folder / "prog.stp").string();
    h.setProgram({ExecuteStep(file.string()), ExecuteStep((folder / "missing.exe").string()),
                  ExecuteStep(""), ExecuteStep(folder.string()), ExecuteStep("tool.bat"),
                  ExecuteStep("missing.exe")});
    h.process.setFailure(Status::failure("spawn", "refused"));  // not reported
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.process.startedFiles(),
              (std::vector<std::string>{file.string(), folder.string(), file.string()}));
    EXPECT_TRUE(h.gui.messages().empty());
    fs::remove_all(folder);
}

TEST(PlayerSteps, FailedComportStepsPauseTheRunWithTheirMessage) {
    struct Case {
        ComportOutcome outcome;
        const char* text;
        long long nextStepAt;  // resumed from inside the message box
    };
    const std::vector<Case> cases{
        {ComportOutcome::NotInitialised, "Port is not initialised!", 0},
        {ComportOutcome::OpenFailed, "Can't open port!", 200},
        {ComportOutcome::BadTelegram, "Not a hex value: XY", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        PlayerHarness h;
        h.actions.queueComportResult({c.outcome, c.text});
        bool pausedControls = false;
        h.gui.setMessageBoxHook([&](const gui::MessageRecord&) {
            pausedControls = h.state.paused == 1 && !h.gui.isDisabled(form::kButtonPlay) &&
                             h.gui.isDisabled(form::kButtonPause);
            h.onUi([&] { h.commands.Play(); });
        });
        h.setProgram({TypedStep(5), StateStep("after")});
        ASSERT_TRUE(h.playToEnd());
        const auto messages = h.gui.messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, "COM port");
        EXPECT_EQ(messages[0].text, c.text);
        EXPECT_TRUE(pausedControls);
        EXPECT_EQ(h.textTimes(form::kTextStepInfo).back(), c.nextStepAt);
        EXPECT_EQ(h.actions.types(), (std::vector<int>{5}));  // not sent again
    }
}

TEST(PlayerSteps, AComportErrorWaitsForPlayOrStop) {
    PlayerHarness h;
    h.actions.queueComportResult({ComportOutcome::OpenFailed, "Can't open port!"});
    h.setProgram({TypedStep(5), StateStep("after")});
    h.atMs(3000, [](PlaybackCommands& c) { c.Stop(); });
    ASSERT_TRUE(h.playToEnd());
    EXPECT_EQ(h.texts(form::kTextStepInfo), (Texts{""}));
    EXPECT_GE(h.clock.elapsedMs(), 3000);
}

}  // namespace
}  // namespace zs::test
