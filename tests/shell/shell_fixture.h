// A shell over the headless backends, in a fresh temporary folder that holds the program file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "model/app_state.h"
#include "platform/headless/scripted_desktop.h"
#include "platform/headless/headless_gui.h"
#include "platform/headless/in_memory_serial.h"
#include "platform/headless/recording_input.h"
#include "platform/headless/recording_process.h"
#include "platform/headless/virtual_clock.h"
#include "platform/services.h"
#include "shell/shell.h"

namespace zs::test {

namespace fs = std::filesystem;

class ShellSystemInfo final : public SystemInfo {
public:
    std::string userName() override { return "anna"; }
    LocalTime localTime() override { return {2026, 12, 7, 8, 47, 0}; }
    std::string ownExecutablePath() override { return executable; }
    int screenPixelsPerInch() override { return pixelsPerInch; }

    std::string executable;
    int pixelsPerInch = 96;
};

inline std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() /
                 (std::string("zs_shell_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        system.executable = (folder / "Zelvorin-Step").string();
    }
    ~ShellTest() override {
        shell.StopCursorThread();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Start-up without the cursor thread; tests that want it start it themselves.
    void StartUp() { shell.StartUp(false); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    gui::GadgetState Gadget(int id) {
        auto state = gui.gadget(id);
        EXPECT_TRUE(state.has_value()) << "gadget " << id;
        return state.value_or(gui::GadgetState{});
    }

    fs::path folder;
    VirtualClock clock;
    gui::HeadlessGui gui{&clock};
    RecordingInput input{&clock};
    InMemorySerialPorts serial;
    RecordingProcessStarter process;
    ShellSystemInfo system;
    ScriptedDesktop desktop;
    Services services{gui, input, desktop, serial, process, system, clock};
    AppState state;
    Shell shell{services, state};
};

}  // namespace zs::test
