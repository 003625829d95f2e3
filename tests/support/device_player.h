// The player with the program's own step actions on recording input, in-memory serial ports and
// a scripted desktop, on a virtual clock.
#pragma once

#include <chrono>
#include <vector>

#include "platform/headless/in_memory_serial.h"
#include "platform/headless/recording_input.h"
#include "platform/headless/scripted_desktop.h"
#include "support/player_harness.h"

namespace zs::test {

struct DevicePlayer {
    VirtualClock clock;
    gui::HeadlessGui gui{&clock};
    RecordingInput input{&clock};
    InMemorySerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    ScriptedDesktop desktop;
    Services services{gui, input, desktop, serial, process, system, clock};
    AppState state;
    GadgetPlayerUi ui{gui};
    DeviceStepActions actions{state, input, serial};
    Player player{state, services, ui, actions};
    PlaybackCommands commands{state, gui, ui, player};

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

}  // namespace zs::test
