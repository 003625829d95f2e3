// Unattended runs (--play): how each run ends is the exit status, and what a box would say is a
// line on standard error instead of a box.
#include <gtest/gtest.h>

#include <optional>

#include "shell/unattended_run.h"
#include "shell_fixture.h"

namespace zs::test {
namespace {

class UnattendedRunTest : public ShellTest {
protected:
    // Starts a program as --play does, plays a file of these CODE lines (none: no file) and
    // returns the exit status and standard error.
    std::pair<int, std::string> Play(const std::vector<std::string>& lines,
                                     const std::string& header = "Zelvorin-Step 2.5") {
        std::string file = header + "\r\nu\r\n\r\n";
        for (const std::string& line : lines) file += line + "\r\n";
        fs::remove(folder / "job.stp");
        if (!lines.empty()) WriteFileBytes(folder / "job.stp", file);
        program.emplace(services);
        program->StartUp(false);
        ::testing::internal::CaptureStderr();
        UnattendedRun run(*program);
        if (run.Start(Path("job.stp"))) program->Run();
        return {run.ExitStatus(), ::testing::internal::GetCapturedStderr()};
    }

    std::optional<Program> program;
};

TEST_F(UnattendedRunTest, TheExitStatusSaysHowTheRunEnded) {
    const struct {
        const char* name;
        std::vector<std::string> lines;
        int status;
        std::string error;
    } cases[] = {
        {"after its last step", {"7;a;", "4;1;2;"}, kExitCompleted, ""},
        {"a telegram to a port not initialised",
         {"7;a;", "5;COM1;String;AT;", "7;never;"}, kExitStepFailed,
         "Step 2: Port is not initialised!\n"},
        {"a window that never comes", {"10;Wait;Notes;0.5;0;"}, kExitStepFailed,
         "Step 1: Window not found: Notes\n"},
        {"its on-fail route is taken", {"10;Wait;Notes;0.5;2;", "7;on;"}, kExitCompleted, ""},
        {"no such file", {}, kExitNotOpened, "File not open " + Path("job.stp") + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [status, error] = Play(c.lines);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(gui.messages().empty());
    }
}

TEST_F(UnattendedRunTest, AFileOfAnotherVersionIsRefusedAndEscapeStops) {
    auto [status, error] = Play({"7;a;"}, "Zelvorin-Step 2.4");
    EXPECT_EQ(status, kExitNotOpened);
    EXPECT_EQ(error, "Zelvorin-Step 2.5: Wrong File-Version\n");
    input.pressEscapeAt(Clock::time_point(std::chrono::milliseconds(500)));
    std::tie(status, error) = Play({"3;5.0;", "7;never;"});
    EXPECT_EQ(status, kExitStopped);
    EXPECT_EQ(Gadget(form::kTextStepInfo).text, "");
}

}  // namespace
}  // namespace zs::test
