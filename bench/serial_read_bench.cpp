// Reading a serial port on a pseudo-terminal, as a query step does (a wait of at most 100 ms on
// the port, then a read): how soon a byte written at the device end is in the reader's hands,
// what a silent port costs while a query waits for it, and how fast a flood is read.
// Usage: serial_read_bench [ROUNDS [IDLE_SECONDS [FLOOD_SECONDS]]]   (defaults 500, 60, 2)
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/posix_serial.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kTestInterval(100);

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Pty {
    int master = -1, slave = -1;
    std::string slaveName;
    std::unique_ptr<zs::SerialPort> port;

    bool open() {
        char name[128] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return false;
        slaveName = name;
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        zs::PosixSerialPorts ports([this](const std::string&) { return slaveName; });
        return bool(ports.open("COM1", {}, port));
    }
    ~Pty() {
        port.reset();
        ::close(master);
        ::close(slave);
    }
};

// One byte a round, written when the reader has been waiting for a few milliseconds.
void Latency(Pty& pty, int rounds) {
    std::atomic<int> received{0};
    std::vector<Clock::time_point> arrived(rounds);
    std::thread reader([&] {
        std::vector<std::uint8_t> got;
        while (received < rounds) {
            pty.port->waitReadable(kTestInterval);
            got.clear();
            if (!pty.port->readAvailable(got, 4096)) return;
            for (std::size_t i = 0; i < got.size() && received < rounds; ++i)
                arrived[received++] = Clock::now();
        }
    });
    std::mt19937 random(1);
    std::vector<double> latencies;
    for (int round = 0; round < rounds; ++round) {
        std::this_thread::sleep_for(milliseconds(1 + random() % 5));
        const Clock::time_point written = Clock::now();
        const std::uint8_t byte = 'x';
        if (::write(pty.master, &byte, 1) != 1) break;
        while (received <= round) std::this_thread::sleep_for(std::chrono::microseconds(200));
        latencies.push_back(Ms(arrived[round] - written));
    }
    reader.join();
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[std::size_t(q * (latencies.size() - 1))]; };
    std::printf("byte written -> waitReadable returned and readAvailable has it (%zu rounds):\n"
                "  median %.3f ms, 90%% %.3f ms, 99%% %.3f ms, max %.3f ms\n",
                latencies.size(), at(0.5), at(0.9), at(0.99), latencies.back());
}

// The query step's loop on a port that never answers.
void Idle(Pty& pty, int seconds) {
    const double cpuBefore = CpuSeconds();
    const Clock::time_point start = Clock::now(), end = start + std::chrono::seconds(seconds);
    std::vector<std::uint8_t> got;
    int tests = 0;
    for (Clock::time_point now = start; now < end; now = Clock::now(), ++tests) {
        pty.port->readAvailable(got, 4096);
        pty.port->waitReadable(std::min(kTestInterval,
                                        std::chrono::ceil<milliseconds>(end - now)));
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("silent port, %.1f s of waiting (%d tests): CPU %.1f ms = %.3f%% of a core\n",
                wall, tests, cpu * 1e3, 100.0 * cpu / wall);
}

// A device that sends as fast as the pty takes it; the reader takes at most 4096 bytes a read.
void Flood(Pty& pty, int seconds) {
    std::atomic<bool> stop{false};
    std::thread device([&] {
        const std::vector<std::uint8_t> chunk(4096, 'f');
        while (!stop) {
            (void)::write(pty.master, chunk.data(), chunk.size());
            pollfd pfd{pty.master, POLLOUT, 0};
            ::poll(&pfd, 1, 10);
        }
    });
    const double cpuBefore = CpuSeconds();
    const Clock::time_point start = Clock::now(), end = start + std::chrono::seconds(seconds);
    std::size_t total = 0, most = 0;
    std::vector<std::uint8_t> got;
    while (Clock::now() < end) {
        pty.port->waitReadable(kTestInterval);
        got.clear();
        if (!pty.port->readAvailable(got, 4096)) break;
        total += got.size();
        most = std::max(most, got.size());
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuBefore;  // the device thread's share included
    stop = true;
    device.join();
    std::printf("flood: %.1f MB/s read, at most %zu bytes a read, CPU %.0f%% of a core "
                "(writer included)\n", total / wall / 1e6, most, 100.0 * cpu / wall);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    const int floodSeconds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 2;
    Pty latency, idle, flood;
    if (!latency.open() || !idle.open() || !flood.open()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    Latency(latency, rounds);
    Idle(idle, idleSeconds);
    Flood(flood, floodSeconds);
    return 0;
}
