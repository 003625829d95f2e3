#include <gtest/gtest.h>

#include <optional>

#include "Forms/FormMAIN.h"
#include "model/step_file.h"
#include "shell_fixture.h"
#include "support/allocation_limit.h"

namespace zs::test {
namespace {

using namespace form;
using gui::Answer;

constexpr const char* kProgram =
    "Zelvorin-Step 2.5\r\nsomeone  -  01.01.2026 10:00\r\ninfo line\r\n"
    "1;L_Click;50;60;first\r\n2;Key;{F2};save\r\n3;0.5;\r\n";

class FileCommandsTest : public ShellTest {
protected:
    void SetUp() override { StartUp(); }

    std::vector<std::string> MessageLines() {
        std::vector<std::string> lines;
        for (const auto& m : gui.messages()) lines.push_back(m.title + " / " + m.text);
        return lines;
    }
    std::vector<std::string> NoticeTexts() {
        std::vector<std::string> texts;
        for (const auto& n : gui.notices()) texts.push_back(n.text);
        return texts;
    }
    void ExpectEditScreenShown(bool shown) {
        EXPECT_EQ(Gadget(kPanel).hidden, !shown);
        for (int id = 54; id <= 65; ++id) EXPECT_EQ(Gadget(id).hidden, !shown) << id;
    }
    void OpenProgram(const std::string& path) {
        gui.queueFile(path);
        shell.FileOpen();
    }
};

TEST_F(FileCommandsTest, NewMakesOneDelayStepAndShowsIt) {
    gui.setText(kStringDescription, "old remark");
    state.ProgramFileName = "old.stp";
    shell.FileNew();
    ASSERT_EQ(state.list.size(), 1);
    EXPECT_EQ(state.list.current(), NewDelayStep());
    EXPECT_EQ(state.ProgramFileName, "");
    EXPECT_EQ(Gadget(kStringDescription).text, "");
    EXPECT_EQ(Gadget(kTextFileName).text, "");
    EXPECT_EQ(Gadget(kFrameStep).text, "1");
    EXPECT_EQ(Gadget(kComboStepType).selected, 2);
    EXPECT_FALSE(Gadget(21).hidden);  // the Delay set
    EXPECT_TRUE(gui.isMenuItemDisabled(kMenuSave));
    for (int item : {78, 81, 82}) EXPECT_FALSE(gui.isMenuItemDisabled(item)) << item;
    for (int item : {83, 84}) EXPECT_TRUE(gui.isMenuItemDisabled(item)) << item;
    ExpectEditScreenShown(true);
}

TEST_F(FileCommandsTest, NewUsesTheEditorsGetValuesWhenAttached) {
    int shown = 0;
    shell.hooks.GetValues = [&] { ++shown; };
    shell.FileNew();
    EXPECT_EQ(shown, 1);
}

TEST_F(FileCommandsTest, OpenLoadsShowsFirstStepAndEnablesSaving) {
    WriteFileBytes(folder / "prog.stp", kProgram);
    OpenProgram(Path("prog.stp"));
    const auto requests = gui.fileRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].mode, gui::FileMode::Open);
    EXPECT_EQ(requests[0].title, "Filename");
    EXPECT_EQ(requests[0].defaultFile, "");
    EXPECT_EQ(requests[0].filter, "STEP file (*.stp)|*.stp");

    ASSERT_EQ(state.list.size(), 3);
    EXPECT_EQ(state.list.index(), 0);
    EXPECT_EQ(state.ProgramFileName, Path("prog.stp"));
    EXPECT_EQ(state.FileInformationLine, "info line");
    EXPECT_EQ(Gadget(kTextFileName).text, "prog.stp");
    EXPECT_EQ(Gadget(kFrameStep).text, "1");
    EXPECT_FALSE(Gadget(2).hidden);  // the Mouse set
    for (int item : {77, 78, 81, 82}) EXPECT_FALSE(gui.isMenuItemDisabled(item)) << item;
    ExpectEditScreenShown(true);
    EXPECT_TRUE(gui.messages().empty());
}

TEST_F(FileCommandsTest, OpenFailuresKeepTheProgram) {
    shell.FileNew();
    state.list.current().Description = "kept";
    WriteFileBytes(folder / "trailing.stp", "Zelvorin-Step 2.5 \r\nx\r\n\r\n3;1.0;\r\n");
    WriteFileBytes(folder / "zerobyte.stp", std::string("Zelvorin-Step 2.5\r\nx\r\n\r\n7;a\0b;\r\n", 30));
    std::string big = "Zelvorin-Step 2.5\r\nx\r\n\r\n";
    for (int i = 0; i < 20000; ++i) big += "3;1.0;\r\n";
    WriteFileBytes(folder / "big.stp", big);
    struct Row {
        std::optional<std::string> chosen;
        std::string message;  // "" for none
        bool lowMemory = false;  // allocations over 1 MB fail
    };
    const std::string missing = Path("missing.stp");
    const Row rows[] = {
        {std::nullopt, ""},
        {missing, "Error / File not open " + missing},
        {Path("trailing.stp"), "Zelvorin-Step 2.5 / Wrong File-Version"},
        // Regressions: a NUL byte was cut off by the gadgets; running out of memory aborted.
        {Path("zerobyte.stp"), "Error / File not open " + Path("zerobyte.stp") + " (NUL byte in line 4)"},
        {Path("big.stp"), "Error / File not open " + Path("big.stp") + " (not enough memory)", true},
    };
    for (const Row& row : rows) {
        const auto before = gui.messages().size();
        gui.queueFile(row.chosen);
        {
            std::optional<AllocationLimit> limit;
            if (row.lowMemory) limit.emplace(1 << 20);
            shell.FileOpen();
        }
        const auto messages = MessageLines();
        if (row.message.empty()) {
            EXPECT_EQ(messages.size(), before);
        } else {
            ASSERT_EQ(messages.size(), before + 1);
            EXPECT_EQ(messages.back(), row.message);
            EXPECT_FALSE(gui.messages().back().mainWindowTopmost);  // through the message routine
        }
        ASSERT_EQ(state.list.size(), 1);
        EXPECT_EQ(state.list.current().Description, "kept");
        EXPECT_EQ(state.ProgramFileName, "");
    }
    EXPECT_TRUE(gui.window(kFormMAIN)->topmost);
}

TEST_F(FileCommandsTest, OpenReportsEachUnknownTypeAndKeepsReading) {
    WriteFileBytes(folder / "odd.stp",
                   "Zelvorin-Step 2.5\r\nu\r\n\r\n01;x\r\n' note\r\n\r\n3;2;\r\nabc;1\r\n6;1;\r\n");
    OpenProgram(Path("odd.stp"));
    EXPECT_EQ(NoticeTexts(),
              (std::vector<std::string>{"Unknown recordtype: 01", "Unknown recordtype: abc"}));
    for (const auto& notice : gui.notices()) EXPECT_EQ(notice.parentWindow, kFormMAIN);
    EXPECT_EQ(state.list.size(), 2);
    EXPECT_EQ(state.ProgramFileName, Path("odd.stp"));
}

// Regression: every unknown line held the window for 600 ms, so a foreign file of a few thousand
// lines froze the program for many minutes. Ten notices and a count of the rest now.
TEST_F(FileCommandsTest, ManyUnknownTypesGiveTenNoticesAndACount) {
    std::string text = "Zelvorin-Step 2.5\r\nu\r\n\r\n";
    for (int i = 0; i < 2500; ++i) text.append("x").append(std::to_string(i)).append(";\r\n");
    WriteFileBytes(folder / "foreign.stp", text + "3;1.0;\r\n");
    OpenProgram(Path("foreign.stp"));
    const auto notices = NoticeTexts();
    ASSERT_EQ(notices.size(), 11u);
    EXPECT_EQ(notices[0], "Unknown recordtype: x0");
    EXPECT_EQ(notices[9], "Unknown recordtype: x9");
    EXPECT_EQ(notices[10], "2490 more unknown recordtypes");
    EXPECT_EQ(state.list.size(), 1);
}

TEST_F(FileCommandsTest, SaveWritesHeaderAndStepsThenReportsIt) {
    WriteFileBytes(folder / "prog.stp", kProgram);
    OpenProgram(Path("prog.stp"));
    shell.FileSave();
    EXPECT_EQ(ReadFileBytes(folder / "prog.stp"),
              "Zelvorin-Step 2.5\r\nanna  -  07.12.2026 08:47\r\ninfo line\r\n"
              "1;L_Click;50;60;first\r\n2;Key;{F2};save\r\n3;0.5;\r\n");
    EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"File saved"});
    EXPECT_FALSE(gui.isMenuItemDisabled(kMenuSave));
}

TEST_F(FileCommandsTest, SaveStoresTheEditorFirstAndStopsWhenRefused) {
    WriteFileBytes(folder / "prog.stp", kProgram);
    OpenProgram(Path("prog.stp"));
    int stores = 0;
    shell.hooks.SaveActualRecord = [&] { return ++stores, 0; };
    shell.FileSave();
    shell.FileSaveAs();
    EXPECT_EQ(stores, 2);
    EXPECT_EQ(ReadFileBytes(folder / "prog.stp"), kProgram);
    EXPECT_EQ(gui.fileRequests().size(), 1u);  // only Open asked for a file
    EXPECT_TRUE(gui.notices().empty());
}

TEST_F(FileCommandsTest, SaveWithoutAFileNameDoesNothing) {
    shell.FileNew();
    shell.FileSave();
    EXPECT_TRUE(gui.notices().empty());
    EXPECT_TRUE(gui.messages().empty());
}

TEST_F(FileCommandsTest, SaveReportsUnknownTypesAndWritesEmptyLines) {
    shell.FileNew();
    state.list.add().RECORDtype = 42;
    state.ProgramFileName = Path("odd.stp");
    shell.FileSave();
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"Error / Unknown recordtype: 42"});
    EXPECT_EQ(ReadFileBytes(folder / "odd.stp"),
              "Zelvorin-Step 2.5\r\nanna  -  07.12.2026 08:47\r\n\r\n3;0.5;\r\n\r\n");
    EXPECT_EQ(NoticeTexts(), std::vector<std::string>{"File saved"});
}

// Regression: a save that could not be written must not say "File saved".
TEST_F(FileCommandsTest, FailingSaveShowsCantCreateFileAndNoSuccess) {
    shell.FileNew();
    const std::string target = Path("gone/prog.stp");
    state.ProgramFileName = target;
    shell.FileSave();
    EXPECT_EQ(MessageLines(), std::vector<std::string>{target + " / Can't create file"});
    EXPECT_TRUE(gui.notices().empty());
    EXPECT_TRUE(gui.isMenuItemDisabled(kMenuSave));
    EXPECT_FALSE(fs::exists(folder / "gone"));
}

TEST_F(FileCommandsTest, SaveAsAppendsStpAndAsksBeforeReplacing) {
    shell.FileNew();
    struct Row {
        std::string chosen;
        std::string stored;
    };
    const Row rows[] = {
        {Path("prog"), Path("prog.stp")},
        {Path("PROG.STP"), Path("PROG.STP.stp")},
        {Path("done.stp"), Path("done.stp")},
    };
    for (const Row& row : rows) {
        gui.queueFile(row.chosen);
        shell.FileSaveAs();
        EXPECT_EQ(state.ProgramFileName, row.stored);
        EXPECT_TRUE(fs::exists(row.stored)) << row.stored;
        EXPECT_EQ(Gadget(kTextFileName).text, FilePart(row.stored));
    }
    EXPECT_EQ(gui.fileRequests().back().mode, gui::FileMode::Save);
    EXPECT_EQ(gui.fileRequests().back().title, "Filename");
    EXPECT_TRUE(gui.messages().empty());
    EXPECT_FALSE(gui.isMenuItemDisabled(kMenuSave));
}

TEST_F(FileCommandsTest, SaveAsReplaceQuestionAndCancel) {
    shell.FileNew();
    WriteFileBytes(folder / "old.stp", "old");
    state.ProgramFileName = "";

    gui.queueFile(std::nullopt);  // cancelled
    shell.FileSaveAs();
    gui.queueFile(Path("old.stp"));
    gui.queueAnswer(Answer::No);
    shell.FileSaveAs();
    EXPECT_EQ(ReadFileBytes(folder / "old.stp"), "old");
    EXPECT_EQ(state.ProgramFileName, "");
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"Confirm / File already exists! Replace?"});
    EXPECT_EQ(gui.messages().back().buttons, gui::Buttons::YesNo);

    gui.queueFile(Path("old.stp"));
    gui.queueAnswer(Answer::Yes);
    shell.FileSaveAs();
    EXPECT_EQ(ReadFileBytes(folder / "old.stp").substr(0, 17), "Zelvorin-Step 2.5");
    EXPECT_EQ(state.ProgramFileName, Path("old.stp"));
}

// Regression: after a failed Save as the program pointed at a file that was never written, so
// the next Save went there too. It keeps its previous name now.
TEST_F(FileCommandsTest, FailingSaveAsKeepsThePreviousFileName) {
    WriteFileBytes(folder / "prog.stp", kProgram);
    OpenProgram(Path("prog.stp"));
    fs::create_directories(folder / "adir.stp" / "inside");
    gui.queueFile(Path("adir.stp"));
    gui.queueAnswer(Answer::Yes);
    shell.FileSaveAs();
    EXPECT_EQ(state.ProgramFileName, Path("prog.stp"));
    EXPECT_EQ(Gadget(kTextFileName).text, "prog.stp");
    EXPECT_TRUE(fs::is_directory(folder / "adir.stp" / "inside"));
    const auto messages = MessageLines();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], Path("adir.stp") + " / Can't create file");
    EXPECT_TRUE(gui.notices().empty());

    // Regression: a name too long for the system was taken for an existing file: "Replace?"
    // was asked before the write failed.
    const std::string tooLong = Path(std::string(252, 'n'));
    gui.queueFile(tooLong);
    shell.FileSaveAs();
    EXPECT_EQ(MessageLines().back(), tooLong + ".stp / Can't create file");
    EXPECT_EQ(MessageLines().size(), 3u);
}

}  // namespace
}  // namespace zs::test
