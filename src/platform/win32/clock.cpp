// The Windows clock: steady time, and sleeps at 1 ms timer resolution while the clock exists.
#include <windows.h>

#include <timeapi.h>

#include "platform/win32/win32_services.h"

namespace zs {

Win32Clock::Win32Clock() : periodSet_(timeBeginPeriod(1) == TIMERR_NOERROR) {}

Win32Clock::~Win32Clock() {
    if (periodSet_) timeEndPeriod(1);
}

Clock::time_point Win32Clock::now() {
    return std::chrono::time_point_cast<duration>(std::chrono::steady_clock::now());
}

// Sleeps in whole milliseconds, rounded up, until the deadline has passed: a sleep may end early
// by the timer's granularity, so the loop checks again.
void Win32Clock::waitUntil(time_point deadline) {
    for (;;) {
        const auto left = deadline - now();
        if (left <= duration::zero()) return;
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
        Sleep(static_cast<DWORD>(ms));
    }
}

}  // namespace zs
