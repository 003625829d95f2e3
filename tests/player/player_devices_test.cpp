// The player with the program's own step actions on recording input and in-memory serial ports.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "support/device_player.h"

namespace zs::test {
namespace {

Step ComportStep(const std::string& port, const std::string& type, const std::string& telegram) {
    Step step = TypedStep(5);
    step.ComPort = port;
    step.ComType = type;
    step.Telegram = telegram;
    return step;
}

TEST(PlayerDevices, ARunClicksTypesAndWritesTelegramsAndResumesAfterAPortError) {
    DevicePlayer p;
    Step click = TypedStep(1);
    click.ClickType = "L_Click";
    click.MouseX = 100;
    click.MouseY = 200;
    Step typed = TypedStep(2);
    typed.KeyboardType = "String";
    typed.TypedText = "ab";
    // Play from inside the box: the run goes on with the step after the failed telegram.
    p.gui.setMessageBoxHook([&](const gui::MessageRecord&) {
        p.gui.runOnUi([&] { p.commands.Play(); });
    });
    ASSERT_TRUE(p.play({click, typed, ComportStep("COM1", "Initialise", "9600 N 8 1"),
                        ComportStep("COM1", "String", "ATZ"), ComportStep("COM2", "String", "X"),
                        StateStep("done")}));
    EXPECT_EQ(p.input.events().at(0), "P100,200");
    EXPECT_NE(p.input.transcript().find("Ld Lu"), std::string::npos);
    EXPECT_EQ(p.serial.writes("COM1"), (std::vector<std::vector<std::uint8_t>>{{'A', 'T', 'Z'}}));
    EXPECT_TRUE(p.serial.openPorts().empty());
    ASSERT_EQ(p.gui.messages().size(), 1u);
    EXPECT_EQ(p.gui.messages()[0].text, "Port is not initialised!");
    EXPECT_EQ(p.gui.text(form::kTextStepInfo), "done");

    // A new run forgets the ports of the last one.
    ASSERT_TRUE(p.play({ComportStep("COM1", "String", "ATZ")}));
    EXPECT_EQ(p.gui.messages().size(), 2u);
    EXPECT_EQ(p.serial.writes("COM1").size(), 1u);
}

TEST(PlayerDevices, EscapeFromTheInputEndsARun) {
    DevicePlayer p;
    p.input.pressEscapeAt(Clock::time_point{} + std::chrono::milliseconds(1234));
    ASSERT_TRUE(p.play({JumpStep(1)}));
    EXPECT_EQ(p.state.playing, 0);
    EXPECT_LE(p.clock.elapsedMs(), 1400);
}

Step StringStep(const std::string& text) {
    Step step = TypedStep(2);
    step.KeyboardType = "String";
    step.TypedText = text;
    return step;
}

long CountOf(const std::vector<std::string>& events, const std::string& event) {
    return static_cast<long>(std::count(events.begin(), events.end(), event));
}

// Each key transition takes 1 ms of virtual time, as typing into a real client takes time.
TEST(PlayerDevices, EscapeAndStopEndALongTextBetweenTwoCharactersAndReleaseItsKeys) {
    const std::string longText = "{SHIFTDOWN}{CONTROLDOWN}{ALTDOWN}" + std::string(100000, 'a');
    struct Case {
        const char* name;
        std::string text;
        long long escapeAtMs;  // -1: Stop pressed at stopAtTransition instead
        long stopAtTransition;
        long expectedMinTyped, expectedMaxTyped;
    };
    const Case cases[] = {
        {"Escape", longText, 500, 0, 200, 300},
        {"Stop", longText, -1, 1000, 450, 550},
        {"short text ends whole", "aaa", 1, 0, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DevicePlayer p;
        p.input.onKey([&](long transitions) {
            p.clock.advance(std::chrono::milliseconds(1));
            if (transitions == c.stopAtTransition) p.gui.runOnUi([&] { p.commands.Stop(); });
        });
        if (c.escapeAtMs >= 0)
            p.input.pressEscapeAt(Clock::time_point{} + std::chrono::milliseconds(c.escapeAtMs));
        ASSERT_TRUE(p.play({StringStep(c.text), StateStep("after")}));
        const long typed = CountOf(p.input.events(), "Kd41");
        EXPECT_GE(typed, c.expectedMinTyped);
        EXPECT_LE(typed, c.expectedMaxTyped);
        EXPECT_TRUE(p.input.keysDown().empty());
        EXPECT_EQ(p.gui.text(form::kTextStepInfo), "");
    }
}

// Regression: an Escape that closed one of the player's boxes was forgotten, so the run went on.
// It was pressed since the last test, and the run ends there: at once after a message, at the
// resume after a failed telegram (a paused run does not test Escape). A Stop clicked while the
// box is open ends the run too; nothing after the box runs.
TEST(PlayerDevices, AnEscapeOrStopWhileAPlayersBoxIsOpenEndsTheRun) {
    Step unknown = StateStep("x");
    unknown.RECORDtype = 42;
    struct Case {
        const char* name;
        Step step;
        bool stop;  // Stop clicked instead of Escape pressed
    };
    const Case cases[] = {
        {"PAUSE closed with Escape", MessageStep("Insert the disk"), false},
        {"PAUSE, Stop clicked", MessageStep("Insert the disk"), true},
        {"unknown type closed with Escape", unknown, false},
        {"COM port closed with Escape, then Play", ComportStep("COM1", "String", "AT"), false},
        {"COM port, Stop clicked", ComportStep("COM1", "String", "AT"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DevicePlayer p;
        p.gui.setMessageBoxHook([&](const gui::MessageRecord&) {
            if (c.stop) {
                p.gui.runOnUi([&] { p.commands.Stop(); });
                return;
            }
            p.input.pressEscapeAt(p.clock.now());
            if (c.step.RECORDtype == 5) p.gui.runOnUi([&] { p.commands.Play(); });  // resume
        });
        ASSERT_TRUE(p.play({c.step, StateStep("after")}));
        EXPECT_EQ(p.gui.text(form::kTextStepInfo), "");
        EXPECT_EQ(p.state.playing, 0);
    }
}

// Where the input backend cannot reach every window (XTest on a Wayland desktop), the first Mouse or
// Keyboard step of the program's life says so in a box, before it acts; later ones do not.
TEST(PlayerDevices, WhereInputCannotReachEveryWindowTheFirstStepSaysSoOnce) {
    DevicePlayer p;
    p.state.inputReachNotice = "reaches only X11 windows";
    std::vector<std::size_t> eventsAtBox;
    p.gui.setMessageBoxHook([&](const gui::MessageRecord&) {
        eventsAtBox.push_back(p.input.events().size());
    });
    Step typed = TypedStep(2);
    typed.KeyboardType = "String";
    typed.TypedText = "a";
    Step click = TypedStep(1);
    click.ClickType = "L_Click";
    ASSERT_TRUE(p.play({StateStep("first"), typed, click}));
    ASSERT_TRUE(p.play({typed}));
    const auto messages = p.gui.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Info");
    EXPECT_EQ(messages[0].text, "reaches only X11 windows");
    EXPECT_EQ(eventsAtBox, std::vector<std::size_t>{0});  // nothing was typed before it
}

TEST(PlayerDevices, StopAndEscapeEndATelegramThePortNeverTakes) {
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Stop");
        DevicePlayer p;
        p.serial.blockWrites("COM1");
        p.gui.runOnUi([&] {
            for (const Step& step : {ComportStep("COM1", "Initialise", "9600 N 8 1"),
                                     ComportStep("COM1", "String", std::string(200000, 'x')),
                                     StateStep("after")})
                p.state.list.add() = step;
            p.commands.Play();
        });
        const auto log = [&] { return p.serial.log(); };
        for (int i = 0; i < 10000 && CountOf(log(), "blocked write COM1") == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        p.clock.advance(std::chrono::milliseconds(100));
        if (escape) {
            p.input.setEscapeDown(true);
        } else {
            p.gui.runOnUi([&] { p.commands.Stop(); });
        }
        ASSERT_TRUE(p.player.waitForRunsEnded(1, std::chrono::seconds(10)));
        EXPECT_EQ(log(), (std::vector<std::string>{"open COM1", "blocked write COM1",
                                                   "stopped write COM1", "close COM1"}));
        EXPECT_EQ(p.gui.text(form::kTextStepInfo), "");
        EXPECT_EQ(p.state.playing, 0);
    }
}

}  // namespace
}  // namespace zs::test
