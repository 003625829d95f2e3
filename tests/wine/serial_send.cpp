// Plays the two Comport steps "Initialise <settings>" and "String <telegram>" on a port through
// the Win32 serial ports, as a run of the program does. Exit code 0 when the telegram was sent.
// Usage: zs_serial_send PORT "9600 N 8 1" TEXT
#include <cstdio>

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

int main(int argc, char** argv) {
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
