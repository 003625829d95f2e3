// The Window and Wait steps on a scripted desktop and the virtual clock: waiting for windows and
// pixels, the window that Mouse positions are relative to, and the failure routes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/step_types.h"
#include "support/device_player.h"

namespace zs::test {
namespace {

constexpr WindowId kNotes = 7;

Step WindowStep(const std::string& action, const std::string& title, float timeout = 5.0f,
                int onFail = 0) {
    Step step = TypedStep(kWindowStepType);
    step.WindowAction = action;
    step.WindowTitle = title;
    step.TimeoutSeconds = timeout;
    step.OnFailStep = onFail;
    return step;
}

Step WaitStep(const std::string& condition, int x, int y, const std::string& colour,
              float timeout = 5.0f, int tolerance = 0) {
    Step step = TypedStep(kWaitStepType);
    step.WaitCondition = condition;
    step.MouseX = x;
    step.MouseY = y;
    step.PixelColor = colour;
    step.ColorTolerance = tolerance;
    step.TimeoutSeconds = timeout;
    return step;
}

Step ClickAt(int x, int y) {
    Step step = TypedStep(kMouseStepType);
    step.ClickType = "L_Click";
    step.MouseX = x;
    step.MouseY = y;
    return step;
}

ScriptedDesktop::Window Notes(Point origin, WindowId id = kNotes, bool own = false) {
    return {{id, "Notes - Editor", own}, origin};
}

struct Outcome {
    std::vector<std::string> pointer;  // the pointer moves of the run, "P110,220"
    std::vector<std::string> messages;  // "title / text"
    std::string state;                  // the last State text
};

Outcome Play(DevicePlayer& p, const std::vector<Step>& steps) {
    EXPECT_TRUE(p.play(steps));
    Outcome outcome;
    for (const std::string& event : p.input.events())
        if (event[0] == 'P') outcome.pointer.push_back(event);
    for (const auto& m : p.gui.messages()) outcome.messages.push_back(m.title + " / " + m.text);
    const auto texts = p.gui.textValues(form::kTextStepInfo);
    outcome.state = texts.empty() ? "" : texts.back();
    return outcome;
}

// Play resumes a paused run from inside its box, as a user who read the message would.
void ResumeAtEveryBox(DevicePlayer& p) {
    p.gui.setMessageBoxHook([&](const gui::MessageRecord&) {
        p.gui.runOnUi([&] { p.commands.Play(); });
    });
}

TEST(WindowSteps, ActivateWaitsForTheWindowAndMouseStepsFollowItsClientArea) {
    DevicePlayer p;
    p.clock.at(2000, [&] { p.desktop.setWindow(Notes({100, 200})); });
    p.clock.at(4000, [&] { p.desktop.setWindow(Notes({300, 50})); });  // moved meanwhile
    const Outcome o = Play(p, {WindowStep("Activate", "Notes"), ClickAt(10, 20),
                               StateStep("moving"), DelayStep(2.0f), ClickAt(10, 20),
                               WindowStep("Screen", ""), ClickAt(10, 20)});
    EXPECT_EQ(o.pointer, (std::vector<std::string>{"P110,220", "P310,70", "P10,20"}));
    EXPECT_EQ(p.desktop.active(), kNotes);
    EXPECT_TRUE(o.messages.empty());
    // Found at the first test after it appeared: the wait tests every 100 ms.
    EXPECT_LE(p.gui.textHistory(form::kTextStepInfo).front().atMs, 2000 + 100 + 200 + 200);
}

TEST(WindowSteps, WaitsEndOrFailAsTheirActionSays) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::function<void(DevicePlayer&)> desktop;
        std::vector<std::string> messages;
        const char* state;  // the last State text: how far the run went
    };
    const auto closesAt1500 = [](DevicePlayer& p) {
        p.desktop.setWindow(Notes({0, 0}));
        p.clock.at(1500, [&p] { p.desktop.closeWindow(kNotes); });
    };
    const Case cases[] = {
        {"Activate, never there", {WindowStep("Activate", "Notes", 1.0f), StateStep("after")},
         [](DevicePlayer&) {}, {"Error / Window not found: Notes"}, "after"},
        {"Activate, refuses the focus", {WindowStep("Activate", "Notes", 1.0f), StateStep("after")},
         [](DevicePlayer& p) {
             auto notes = Notes({0, 0});
             notes.refusesFocus = true;
             p.desktop.setWindow(notes);
         },
         {"Error / Window not activated: Notes"}, "after"},
        {"only the program's own window matches", {WindowStep("Wait", "Notes", 0.0f)},
         [](DevicePlayer& p) { p.desktop.setWindow(Notes({0, 0}, kNotes, true)); },
         {"Error / Window not found: Notes"}, ""},
        {"Wait, there", {WindowStep("Wait", "Notes", 0.0f), StateStep("after")},
         [](DevicePlayer& p) { p.desktop.setWindow(Notes({0, 0})); }, {}, "after"},
        {"WaitClose, closes", {WindowStep("WaitClose", "Notes", 3.0f), StateStep("after")},
         closesAt1500, {}, "after"},
        {"WaitClose, stays", {WindowStep("WaitClose", "Notes", 1.0f), StateStep("after")},
         [](DevicePlayer& p) { p.desktop.setWindow(Notes({0, 0})); },
         {"Error / Window still open: Notes"}, "after"},
        {"on-fail step: no message, on at that step",
         {WindowStep("Activate", "Notes", 0.5f, 3), StateStep("skipped"), StateStep("on fail")},
         [](DevicePlayer&) {}, {}, "on fail"},
        {"an on-fail step past the end: step 1 again, as a Jump there runs it",
         {WindowStep("Wait", "Notes", 0.5f, 99), StateStep("after")},
         [](DevicePlayer& p) {
             p.clock.at(1000, [&p] { p.desktop.setWindow(Notes({0, 0})); });
         },
         {}, "after"},
        {"the window of a Mouse step is gone",
         {WindowStep("Activate", "Notes"), DelayStep(2.0f), ClickAt(1, 1), StateStep("after")},
         closesAt1500, {"Error / Window gone: Notes"}, "after"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DevicePlayer p;
        ResumeAtEveryBox(p);
        c.desktop(p);
        const Outcome o = Play(p, c.steps);
        EXPECT_EQ(o.messages, c.messages);
        EXPECT_EQ(o.state, c.state);
    }
}

TEST(WindowSteps, OfTwoMatchingWindowsTheTopmostIsActivated) {
    DevicePlayer p;
    p.desktop.setWindow(Notes({0, 0}, 1));
    p.desktop.setWindow(Notes({50, 50}, 2));  // on top
    const Outcome o = Play(p, {WindowStep("Activate", "Notes"), ClickAt(1, 1)});
    EXPECT_EQ(o.pointer, std::vector<std::string>{"P51,51"});
    EXPECT_EQ(p.desktop.active(), WindowId{2});
}

TEST(WaitSteps, APixelIsWaitedForWithinItsToleranceOrTheStepFails) {
    struct Case {
        const char* name;
        Step step;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"turns green at 2 s", WaitStep("Color", 10, 20, "#33AA00"), {}},
        {"near enough", WaitStep("Color", 10, 20, "#30A803", 5.0f, 3), {}},
        {"not near enough", WaitStep("Color", 10, 20, "#30A803", 1.0f, 2),
         {"Error / Wait timed out at 10, 20: found #000000"}},
        {"NotColor: black goes", WaitStep("NotColor", 10, 20, "#000000"), {}},
        {"outside every screen", WaitStep("Color", 5000, 20, "#33AA00", 0.5f),
         {"Error / Wait timed out at 5000, 20: found no pixel there"}},
        {"tested once", WaitStep("Color", 10, 20, "#33AA00", 0.0f),
         {"Error / Wait timed out at 10, 20: found #000000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DevicePlayer p;
        ResumeAtEveryBox(p);
        p.clock.at(2000, [&] {
            p.desktop.setPixel({10, 20}, {0x33, 0xAA, 0x00});
        });
        const Outcome o = Play(p, {c.step, StateStep("after")});
        EXPECT_EQ(o.messages, c.messages);
        EXPECT_EQ(o.state, "after");
    }
}

TEST(WaitSteps, APositionFollowsTheActivatedWindowAndTheCountdownShowsTheTimeLeft) {
    DevicePlayer p;
    p.desktop.setWindow(Notes({100, 100}));
    p.clock.at(1000, [&] { p.desktop.setPixel({110, 120}, {1, 2, 3}); });
    Play(p, {WindowStep("Activate", "Notes"), WaitStep("Color", 10, 20, "#010203", 3.0f)});
    EXPECT_TRUE(p.gui.messages().empty());
    // The window was there: its own wait showed nothing. The pixel came before the time-out.
    const auto countdown = p.gui.textValues(form::kTextCountdown);
    ASSERT_GE(countdown.size(), 2u);
    EXPECT_EQ(countdown[0], "3.0");
    EXPECT_EQ(countdown[1], "2.9");
    EXPECT_NE(countdown.back(), "0.0");
}

TEST(WaitSteps, StopAndEscapeEndTheWaitWithin100MsAndPauseHoldsIt) {
    for (const char* end : {"Stop", "Escape"}) {
        SCOPED_TRACE(end);
        DevicePlayer p;
        if (std::string(end) == "Stop")
            p.clock.at(1250, [&] { p.gui.runOnUi([&] { p.commands.Stop(); }); });
        else
            p.input.pressEscapeAt(Clock::time_point(std::chrono::milliseconds(1250)));
        Play(p, {WindowStep("Wait", "Notes", 60.0f), StateStep("after")});
        EXPECT_LE(p.clock.elapsedMs(), 1350);
        EXPECT_TRUE(p.gui.textValues(form::kTextStepInfo).empty() ||
                    p.gui.textValues(form::kTextStepInfo).back() != "after");
    }
    DevicePlayer p;
    p.clock.at(500, [&] { p.gui.runOnUi([&] { p.commands.Pause(); }); });
    p.clock.at(5000, [&] {
        p.desktop.setWindow(Notes({0, 0}));
        p.gui.runOnUi([&] { p.commands.Play(); });
    });
    Play(p, {WindowStep("Wait", "Notes", 1.0f), StateStep("after")});
    EXPECT_TRUE(p.gui.messages().empty());  // 0.5 s of the second left when it came
}

}  // namespace
}  // namespace zs::test
