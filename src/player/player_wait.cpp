// The wait that the steps which wait share (a Delay step waits for its time to pass), and the
// route of a step that failed.
#include <cmath>
#include <string>

#include "player/player.h"

namespace zs {
namespace {

// Longest countdown: about 31 years, far beyond any real wait, and no overflow for +Infinity.
constexpr long long kMaxTenths = 10'000'000'000LL;

// Tenths of a second to count down: seconds x 10 rounded half to even; nothing for 0, negative
// values and NaN.
long long Tenths(float seconds) {
    const double tenths = std::nearbyint(static_cast<double>(seconds) * 10.0);
    if (!(tenths > 0.0)) return 0;
    return tenths >= static_cast<double>(kMaxTenths) ? kMaxTenths : static_cast<long long>(tenths);
}

// n tenths as seconds with one decimal: 15 -> "1.5".
std::string TenthsText(long long tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Early wakes in one 100 ms tick at most: a line flooded with bytes is read in pieces, and a
// virtual clock, which idle waits do not move, moves on at the tick.
constexpr int kMostWakesPerTick = 64;

}  // namespace

// Idles until the tick, testing `holds` at once after each wake that brought something.
bool Player::IdleUntil(Clock::time_point tick, const std::function<bool()>& holds,
                       const Idle& idle) {
    for (int wakes = 0; wakes < kMostWakesPerTick && services_.clock.now() < tick; ++wakes) {
        if (!idle(tick)) return false;
        if (holds()) return true;
    }
    return false;
}

Player::WaitOutcome Player::WaitFor(float seconds, const std::function<bool()>& holds,
                                    const Idle& idle) {
    for (long long n = Tenths(seconds); n >= 1; --n) {
        if (holds && holds()) return WaitOutcome::Held;
        if (!StopTestAndPauseWait()) return WaitOutcome::Stopped;
        services_.gui.setText(form::kTextCountdown, TenthsText(n));
        const Clock::time_point tick = pacer_.schedule(std::chrono::milliseconds(100));
        if (idle && IdleUntil(tick, holds, idle)) return WaitOutcome::Held;
        services_.clock.waitUntil(tick);
    }
    if (holds && holds()) return WaitOutcome::Held;
    services_.gui.setText(form::kTextCountdown, "0.0");
    return WaitOutcome::TimedOut;
}

std::optional<long> Player::FailStep(const std::string& title, const std::string& text,
                                     std::int32_t onFailStep, bool settle) {
    if (onFailStep >= 1) {
        SettleDelay();
        return static_cast<long>(onFailStep) - 1;
    }
    if (runUnattended_.report) {
        runUnattended_.report("Step " + std::to_string(runningIndex_ + 1) + ": " + text);
        runEnd_ = RunEnd::Failed;
        state_.playing = 0;
        return std::nullopt;
    }
    services_.gui.runOnUi([&] { ui_.setControls(ControlState::Paused); });
    state_.paused = 1;
    ShowMessage(title, text);
    if (settle) SettleDelay();
    return std::nullopt;
}

}  // namespace zs
