// Plays the two Comport steps "Initialise <settings>" and "String <telegram>" on a port through
// the Win32 serial ports, as a run of the program does. Exit code 0 when the telegram was sent.
// Usage: zs_serial_send PORT "9600 N 8 1" TEXT
//        zs_serial_send PORT "9600 N 8 1" --stop-after MS BYTES
// The second form writes BYTES bytes to a port whose other end never reads and stops the write
// after MS milliseconds; exit code 0 when the write ended as stopped (and says how long after the
// stop it returned).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/win32/win32_services.h"
#include "player/actions.h"

namespace {

zs::Step ComportStep(const char* port, const char* type, const char* telegram) {
    zs::Step step;
    step.RECORDtype = 5;
    step.ComPort = port;
    step.ComType = type;
    step.Telegram = telegram;
    return step;
}

}  // namespace

int StoppedWrite(const char* name, const char* settings, int stopAfterMs, int bytes) {
    zs::Win32SerialPorts ports;
    std::unique_ptr<zs::SerialPort> port;
    const zs::Status opened =
        ports.open(name, zs::ToSerialSettings(zs::ParseSettings(name, settings)), port);
    if (!opened) {
        std::fprintf(stderr, "%s: %s\n", opened.call.c_str(), opened.message.c_str());
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point stopAt = Clock::now() + std::chrono::milliseconds(stopAfterMs);
    const zs::Status written = port->write(std::vector<std::uint8_t>(bytes, 'x'),
                                           [&] { return Clock::now() >= stopAt; });
    const auto late = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - stopAt);
    port.reset();
    std::printf("write: %s; returned %lld ms after the stop\n",
                written ? "complete" : written.message.c_str(), static_cast<long long>(late.count()));
    return !written && written.message.rfind("stopped", 0) == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[3], "--stop-after") == 0)
        return StoppedWrite(argv[1], argv[2], std::atoi(argv[4]), std::atoi(argv[5]));
    if (argc != 4) {
        std::fprintf(stderr, "usage: zs_serial_send PORT SETTINGS TEXT\n");
        return 2;
    }
    zs::AppState state;
    zs::Win32SerialPorts ports;
    zs::DoComportStep(ComportStep(argv[1], "Initialise", argv[2]), state, ports);
    const zs::ComportResult result =
        zs::DoComportStep(ComportStep(argv[1], "String", argv[3]), state, ports);
    if (result.outcome != zs::ComportOutcome::Sent) {
        // Say why the open failed: the step itself only reports "Can't open port!".
        std::unique_ptr<zs::SerialPort> port;
        const zs::Status why =
            ports.open(argv[1], zs::ToSerialSettings(zs::ParseSettings(argv[1], argv[2])), port);
        std::fprintf(stderr, "%s (%s: %s)\n", result.message.c_str(), why.call.c_str(),
                     why.message.c_str());
        return 1;
    }
    return 0;
}
