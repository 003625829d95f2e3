// Plays the two Comport steps "Initialise <settings>" and "String <telegram>" on a port through
// the Win32 serial ports, as a run of the program does. Exit code 0 when the telegram was sent.
// Usage: zs_serial_send PORT "9600 N 8 1" TEXT
//        zs_serial_send PORT "9600 N 8 1" --stop-after MS BYTES
//        zs_serial_send PORT "9600 N 8 1" --query TEXT REPLY_HEX MS
// The second form writes BYTES bytes to a port whose other end never reads and stops the write
// after MS milliseconds; exit code 0 when the write ended as stopped (and says how long after the
// stop it returned).
// The third form drops the port's input, writes TEXT and reads until the bytes received since
// contain REPLY_HEX or MS milliseconds passed, waiting on the port between tests every 100 ms as
// the player does. It prints the bytes received (hex), the outcome and the CPU time it used;
// exit code 0 for the reply, 3 when the port is gone, 4 when no reply came.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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

std::vector<std::uint8_t> FromHex(const char* hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(std::string(hex + i, 2).c_str(),
                                                               nullptr, 16)));
    return bytes;
}

std::string ToHex(const std::vector<std::uint8_t>& bytes) {
    std::string hex;
    char digits[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        hex += digits;
    }
    return hex;
}

long long ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](FILETIME t) {
        return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10000;
}

}  // namespace

int Query(const char* name, const char* settings, const char* text, const char* replyHex, int ms) {
    zs::Win32SerialPorts ports;
    std::unique_ptr<zs::SerialPort> port;
    zs::Status status =
        ports.open(name, zs::ToSerialSettings(zs::ParseSettings(name, settings)), port);
    if (status) status = port->discardInput();
    if (status) status = port->write(std::vector<std::uint8_t>(text, text + std::strlen(text)));
    if (!status) {
        std::fprintf(stderr, "%s: %s\n", status.call.c_str(), status.message.c_str());
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    const std::vector<std::uint8_t> reply = FromHex(replyHex);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    const long long cpuBefore = ProcessCpuMs();
    std::vector<std::uint8_t> got;
    int exitCode = 4;
    std::string outcome = "no reply";
    for (;;) {
        if (const zs::Status read = port->readAvailable(got, 4096); !read) {
            exitCode = 3;
            outcome = "gone (" + read.call + ": " + read.message + ")";
            break;
        }
        if (std::search(got.begin(), got.end(), reply.begin(), reply.end()) != got.end()) {
            exitCode = 0;
            outcome = "reply";
            break;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        port->waitReadable(std::min(left, std::chrono::milliseconds(100)));
    }
    std::printf("received %s: %s; cpu %lld ms\n", ToHex(got).c_str(), outcome.c_str(),
                ProcessCpuMs() - cpuBefore);
    return exitCode;
}

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
    if (argc == 7 && std::strcmp(argv[3], "--query") == 0)
        return Query(argv[1], argv[2], argv[4], argv[5], std::atoi(argv[6]));
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
