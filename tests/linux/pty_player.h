// The player with the real POSIX serial ports, every port name pointed at one pseudo-terminal,
// the real clock and the headless gadget layer; and the device end of that pseudo-terminal.
// Shared by the Query tests and the Query benchmark.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "model/step_types.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/quiet_services.h"
#include "platform/headless/recording_process.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/posix/posix_serial.h"
#include "platform/services.h"
#include "player/commands.h"
#include "player/player.h"
#include "player/step_actions.h"

namespace zs::pty {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The device end. The slave stays open here too, so the line lives while the port is closed.
struct PtyDevice {
    int master = -1, slave = -1;
    std::string slaveName;

    PtyDevice() {
        char name[128] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
        slaveName = name;
        ::fcntl(master, F_SETFL, O_NONBLOCK);
    }
    ~PtyDevice() {
        closeMaster();
        if (slave >= 0) ::close(slave);
    }
    void closeMaster() {
        if (master >= 0) ::close(master);
        master = -1;
    }

    // Reads until the bytes seen contain `wanted` (true) or nothing came for `quiet`.
    bool readUntil(const Bytes& wanted, std::chrono::milliseconds quiet = std::chrono::seconds(30)) {
        Bytes seen;
        std::uint8_t buffer[4096];
        while (std::search(seen.begin(), seen.end(), wanted.begin(), wanted.end()) == seen.end()) {
            pollfd pfd{master, POLLIN, 0};
            if (::poll(&pfd, 1, int(quiet.count())) <= 0) return false;
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n < 0) return false;
            seen.insert(seen.end(), buffer, buffer + n);
        }
        return true;
    }
    bool write(const Bytes& bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t n = ::write(master, bytes.data() + at, bytes.size() - at);
            if (n > 0) at += std::size_t(n);
            pollfd pfd{master, POLLOUT, 0};
            if (n <= 0 && ::poll(&pfd, 1, 30000) <= 0) return false;
        }
        return true;
    }
};

// Records when each step was shown: the moment a user sees the next step start.
class TimedPlayerUi final : public GadgetPlayerUi {
public:
    using GadgetPlayerUi::GadgetPlayerUi;
    void showStep(long index) override {
        {
            std::lock_guard lock(mutex_);
            shown_.push_back({index, std::chrono::steady_clock::now()});
        }
        GadgetPlayerUi::showStep(index);
    }
    std::vector<std::pair<long, std::chrono::steady_clock::time_point>> shown() {
        std::lock_guard lock(mutex_);
        return shown_;
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<long, std::chrono::steady_clock::time_point>> shown_;
};

struct PtyPlayer {
    explicit PtyPlayer(const std::string& device)
        : serial([device](const std::string&) { return device; }) {}

    // Starts a run of `steps` with Play; the run goes on in the player thread.
    long start(const std::vector<Step>& steps) {
        gui.runOnUi([&] {
            state.list.clear();
            for (const Step& step : steps) state.list.add() = step;
        });
        const long before = player.runsEnded();
        gui.runOnUi([&] { commands.Play(); });
        return before;
    }
    // A safety limit: a run that never ends fails the test instead of hanging it.
    bool waitForEnd(long before) {
        return player.waitForRunsEnded(before + 1, std::chrono::seconds(60));
    }

    gui::HeadlessGui gui{&RealClock()};
    QuietInput input;
    PosixSerialPorts serial;
    RecordingProcessStarter process;
    FixedSystemInfo system;
    ScriptedDesktop desktop;
    Services services{gui, input, desktop, serial, process, system, RealClock()};
    AppState state;
    TimedPlayerUi ui{gui};
    DeviceStepActions actions{state, input, serial};
    Player player{state, services, ui, actions};
    PlaybackCommands commands{state, gui, ui, player};
};

inline Step Initialise() {
    Step step;
    step.RECORDtype = 5;
    step.ComPort = "COM1";
    step.ComType = "Initialise";
    step.Telegram = "9600 N 8 1";
    return step;
}

inline Step Query(const std::string& reply, float timeout, int onFail = 0) {
    Step step;
    step.RECORDtype = kQueryStepType;
    step.ComPort = "COM1";
    step.ComType = "String";
    step.Telegram = "*IDN?";
    step.ReplyText = reply;
    step.TimeoutSeconds = timeout;
    step.OnFailStep = onFail;
    return step;
}

inline Step State(const std::string& text) {
    Step step;
    step.RECORDtype = 7;
    step.StateText = text;
    return step;
}

}  // namespace zs::pty
