// The example programs in examples/: each is a valid step file, and the Comport example (which
// the program tests cannot play: no serial port there) plays on the in-memory ports.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "Forms/FormMAIN.h"
#include "model/code_lines.h"
#include "model/step_file.h"
#include "shell/program.h"
#include "shell_fixture.h"

namespace zs::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const fs::path kExamples = ZS_EXAMPLES_DIR;

class ExamplesTest : public ShellTest {
protected:
    void SetUp() override { program.StartUp(false); }
    Program program{services};
};

TEST_F(ExamplesTest, EveryExampleIsAStepFileThatTheEditorsCheckAccepts) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        if (entry.path().extension() != ".stp") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++count;
        const std::string content = ReadFileBytes(entry.path());
        EXPECT_EQ(content.substr(0, 19), "Zelvorin-Step 2.5\r\n");
        EXPECT_EQ(content.find('\n'), content.find("\r\n") + 1);  // CR LF line ends
        RList list;
        std::string information;
        const LoadResult loaded = ParseStepFile(content, list, information);
        EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
        EXPECT_TRUE(loaded.notices.empty());
        EXPECT_FALSE(information.empty());  // says what the example does
        std::vector<std::string> lines = SplitLines(content);
        EXPECT_EQ(CheckCodeLines(lines, "u  -  01.01.2026 00:00").message, "");
    }
    EXPECT_GE(count, 4);
}

TEST_F(ExamplesTest, TheComportExampleSendsItsThreeTelegramsToCom1) {
    gui.queueFile((kExamples / "comport.stp").string());
    program.shell().FileOpen();
    ASSERT_EQ(program.state().list.size(), 4);
    program.commands().Play();
    ASSERT_TRUE(program.player()->waitForRunsEnded(1, std::chrono::seconds(20)));
    EXPECT_TRUE(gui.messages().empty());
    ASSERT_FALSE(serial.opens().empty());
    EXPECT_EQ(serial.opens()[0], (SerialOpenRecord{"COM1", SerialSettings{9600, Parity::None, 8,
                                                                            StopBits::One}}));
    EXPECT_EQ(serial.writes("COM1"),
              (std::vector<Bytes>{{'A', 'T', 'Z'}, {0x0D, 0x0A}, {65, 84, 13, 10}}));
}

TEST_F(ExamplesTest, TheLoopExampleCountsThreePassesAndJumpsOverAStep) {
    gui.queueFile((kExamples / "loop-jump-state.stp").string());
    program.shell().FileOpen();
    program.commands().Play();
    ASSERT_TRUE(program.player()->waitForRunsEnded(1, std::chrono::seconds(20)));
    EXPECT_TRUE(gui.messages().empty());
    EXPECT_EQ(gui.textValues(form::kTextStepInfo), (std::vector<std::string>{"", "Counting", "Done"}));
    EXPECT_EQ(gui.textValues(form::kTextStatus1),
              (std::vector<std::string>{"", "L1: 1", "L1: 2", "", ""}));
}

}  // namespace
}  // namespace zs::test
