// The Query step on a pseudo-terminal with the player, the real serial ports and the real clock:
// how soon after the reply's last byte the next step shows, and what a Query that waits for a
// silent device costs in CPU.
// The fixed 0.2 s that the player waits after a step before the next one is set to 0 here, so the
// figure is the Query step's own reaction.
// Usage: query_reply_bench [ROUNDS [IDLE_SECONDS]]   (defaults 50, 60)
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include "linux/pty_player.h"

namespace {

using SteadyClock = std::chrono::steady_clock;
using namespace zs::pty;

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Ms(SteadyClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The reply lands at a random moment of the step's 100 ms tick.
bool ReplyToNextStep(std::mt19937& random, double& ms) {
    PtyDevice device;
    PtyPlayer p(device.slaveName);
    p.state.actionSettleDelayMs = 0;
    SteadyClock::time_point lastByte;
    std::thread answering([&] {
        if (!device.readUntil(Of("*IDN?"))) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 150));
        device.write(Of("ACM"));
        lastByte = SteadyClock::now();  // before the write: the player may see the byte first
        device.write(Of("E"));
    });
    const long before = p.start({Initialise(), Query("ACME", 5.0f), State("after")});
    const bool ended = p.waitForEnd(before);
    answering.join();
    // The first showing of the step after the Query (the end of a run may show a step again).
    for (const auto& [index, at] : p.ui.shown()) {
        if (index != 2) continue;
        ms = Ms(at - lastByte);
        return ended;
    }
    return false;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 60;
    std::mt19937 random(1);
    std::vector<double> latencies;
    for (int round = 0; round < rounds; ++round) {
        double ms = 0;
        if (!ReplyToNextStep(random, ms)) {
            std::fprintf(stderr, "round %d: the run did not reach the next step\n", round);
            return 1;
        }
        latencies.push_back(ms);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("reply's last byte to the next step shown: median %.2f ms, min %.2f, max %.2f "
                "(%d rounds)\n",
                Median(latencies), latencies.front(), latencies.back(), rounds);

    PtyDevice device;
    PtyPlayer p(device.slaveName);
    const double cpuBefore = CpuSeconds();
    const SteadyClock::time_point start = SteadyClock::now();
    const long before = p.start({Initialise(), Query("ACME", float(idleSeconds), 3), State("end")});
    if (!p.player.waitForRunsEnded(before + 1, std::chrono::seconds(idleSeconds + 60))) return 1;
    const double wall = Ms(SteadyClock::now() - start) / 1000.0;
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("a Query waiting %d s for a silent device: %.3f s CPU in %.1f s, %.3f%% of a core\n",
                idleSeconds, cpu, wall, 100.0 * cpu / wall);
    return 0;
}
