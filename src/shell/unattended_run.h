// An unattended run (--play FILE): the program opens FILE as File > Open does, plays it from step
// 1 and ends when the run ends, with an exit status that says how. What a box would say goes to
// standard error as a line instead; Message steps still show their box and wait.
#pragma once

#include <atomic>
#include <string>

#include "shell/program.h"

namespace zs {

inline constexpr int kExitCompleted = 0;     // the run ended after its last step
inline constexpr int kExitStopped = 1;       // Stop, Escape, the window closed
inline constexpr int kExitNotOpened = 2;     // FILE could not be opened or is no step file
inline constexpr int kExitStepFailed = 3;    // a step failed, or a Comport error

class UnattendedRun {
public:
    // Takes the reports of the program's shell and player; call after the program's start-up.
    explicit UnattendedRun(Program& program);

    // Opens FILE and starts the run; false (with the reason on standard error) when FILE cannot
    // be opened.
    bool Start(const std::string& path);

    // The exit status once the event loop has ended.
    int ExitStatus() const { return status_; }

private:
    void Report(const std::string& line);

    Program& program_;
    std::atomic<int> status_{kExitStopped};  // until the run says how it ended
};

}  // namespace zs
