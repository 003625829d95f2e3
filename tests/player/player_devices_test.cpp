// The player with the program's own step actions on recording input and in-memory serial ports.
#include <gtest/gtest.h>

#include "platform/headless/in_memory_serial.h"
#include "platform/headless/recording_input.h"
#include "support/player_harness.h"

namespace zs::test {
namespace {

Step ComportStep(const std::string& port, const std::string& type, const std::string& telegram) {
    Step step = TypedStep(5);
    step.ComPort = port;
    step.ComType = type;
    step.Telegram = telegram;
    return step;
}

struct DevicePlayer {
    VirtualClock clock;
    gui::HeadlessGui gui{&clock};
    RecordingInput input{&clock};
    InMemorySerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    Services services{gui, input, serial, process, system, clock};
    AppState state;
    GadgetPlayerUi ui{gui};
    DeviceStepActions actions{state, input, serial};
    Player player{state, services, ui, actions};
    PlaybackCommands commands{state, gui, ui, [this] { player.wake(); }};

    bool play(const std::vector<Step>& steps) {
        gui.runOnUi([&] {
            state.list.clear();
            for (const Step& step : steps) state.list.add() = step;
        });
        const long before = player.runsEnded();
        gui.runOnUi([&] { commands.Play(); });
        return player.waitForRunsEnded(before + 1, std::chrono::seconds(10));
    }
};

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
    EXPECT_EQ(p.gui.text(ids::kStateText), "done");

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

}  // namespace
}  // namespace zs::test
