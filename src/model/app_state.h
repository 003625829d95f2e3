// The process-wide state of the program: one instance made at start-up; tests make their own.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "model/rlist.h"

namespace zs {

inline constexpr const char* kFileVersionLine = "Zelvorin-Step 2.5";
inline constexpr const char* kVersionText = "V2.5.0";
inline constexpr const char* kHelpFileName = "Zelvorin-Step_V2.5_HELP.pdf";

// The settings an "Initialise" step recorded for one port name, for the rest of a run.
struct PortSetting {
    std::string name;
    std::int32_t baud = 0;
    std::int32_t parity = 0;  // 0 none, 1 odd, 2 even
    std::int32_t dataBits = 0;
    std::int32_t stopBits = 0;  // 1 one, 2 two, anything else one and a half
    bool operator==(const PortSetting&) const = default;
};

// One of the three loop levels: whether it is taken, by which Loop step, and its pass count.
struct LoopLevel {
    std::atomic<int> active{0};
    std::atomic<int> stepIndex{0};  // 0-based list index of the Loop step that owns the level
    std::atomic<int> count{0};
};

struct AppState {
    // The step program; it and the gadgets belong to the UI thread.
    RList list;
    std::string ProgramFileName;
    std::string EditorFileName;
    std::string FileInformationLine;
    // The step list holds changes that were not saved: set by every edit that changes what a
    // save would write, cleared by New, a load and a successful save. UI thread only.
    bool programModified = false;

    // Run control, shared by the UI thread and the player thread.
    std::atomic<int> playing{0};
    std::atomic<int> paused{0};
    std::atomic<int> startIndex{0};
    std::array<LoopLevel, 3> loops;
    int actionSettleDelayMs = 200;
    int endOfStepsNotice = 0;
    // Where the input backend's mouse and keyboard steps do not arrive ("" when they arrive
    // everywhere): said once, before the first such step of the program's life acts. Set at
    // start-up, before the player runs.
    std::string inputReachNotice;
    std::atomic<bool> inputReachNoticeSaid{false};

    // The ports initialised in the current run: emptied on the UI thread only while no run plays,
    // added to by the player thread.
    std::mutex portsMutex;
    std::vector<PortSetting> runtimePorts;

    void resetLoops() {
        for (auto& level : loops) {
            level.active = 0;
            level.stepIndex = 0;
            level.count = 0;
        }
    }
};

}  // namespace zs
