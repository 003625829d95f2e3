// The text editor window: template, Open, Save, Save as, line information and the close box.
#include "editor/code_editor.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "Forms/FormEditor.h"
#include "editor_fixture.h"
#include "model/step_file.h"
#include "platform/headless/quiet_services.h"
#include "shell/shell.h"
#include "support/allocation_limit.h"

namespace fs = std::filesystem;

namespace zs::test {
namespace {

using namespace zs::form;

const std::string kUserDate = "tester  -  02.01.2024 03:04";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class CodeEditorTest : public EditorFixture {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / (std::string("zs_code_editor_") + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string path(const std::string& name) { return (folder_ / name).string(); }
    std::vector<std::string> text() { return gui.lines(kEditorText); }

    FixedSystemInfo system;
    CodeEditor editor{panel, system};
    fs::path folder_;
};

TEST_F(CodeEditorTest, WithoutAProgramFileTheTemplateIsShown) {
    OpenCodeEditor(editor);
    const auto window = gui.window(kFormEditor);
    ASSERT_TRUE(window && window->open);
    EXPECT_EQ(window->title, "Editor");
    EXPECT_EQ(window->rect.w, 388);
    EXPECT_EQ(window->rect.h, 496);
    EXPECT_EQ(window->owner, kFormMAIN);
    EXPECT_TRUE(window->flags & gui::kCloseBox);
    EXPECT_EQ(gui.gadget(kEditorText)->spec.rect, (gui::Rect{0, 25, 390, 410}));
    EXPECT_EQ(gui.gadget(kEditorSaveAs)->spec.text, "Save as");

    EXPECT_EQ(text(), (std::vector<std::string>{"Zelvorin-Step 2.5", kUserDate, "",
                                                "1;L_Click;50;50;"}));
    EXPECT_TRUE(gui.isDisabled(kEditorSave));
    EXPECT_EQ(gui.focusedGadget(), kEditorText);
    EXPECT_EQ(state.EditorFileName, "");
    EXPECT_FALSE(gui.window(kFormMAIN)->enabled);
    EXPECT_FALSE(gui.window(kFormMAIN)->topmost);
    // Regression: the keyboard stayed with the disabled main window, so typing was lost.
    EXPECT_EQ(gui.window(kFormEditor)->activations, 1);

    CloseCodeEditor(editor);
    EXPECT_FALSE(gui.window(kFormEditor)->open);
    EXPECT_TRUE(gui.window(kFormMAIN)->enabled);
    EXPECT_TRUE(gui.window(kFormMAIN)->topmost);
}

TEST_F(CodeEditorTest, TheProgramFileIsShownAsItIs) {
    state.ProgramFileName = path("prog.stp");
    WriteBytes(state.ProgramFileName, "Zelvorin-Step 2.5\r\nold header\n\r\n3;0.5;wait \r\n");
    OpenCodeEditor(editor);
    EXPECT_EQ(text(), (std::vector<std::string>{"Zelvorin-Step 2.5", "old header", "",
                                                "3;0.5;wait "}));
    EXPECT_EQ(state.EditorFileName, state.ProgramFileName);
    EXPECT_EQ(gui.text(kEditorFileNameLabel), "prog.stp");
    EXPECT_FALSE(gui.isDisabled(kEditorSave));
}

// Regression: a program file with a NUL byte was shown cut at it, and Save wrote the rest away.
TEST_F(CodeEditorTest, AProgramFileWithANulByteIsNamedAndTheTemplateShown) {
    state.ProgramFileName = path("prog.stp");
    WriteBytes(state.ProgramFileName, std::string("Zelvorin-Step 2.5\r\n\0\r\n", 22));
    OpenCodeEditor(editor);
    EXPECT_EQ(lastMessage().text, "Can't open file (NUL byte in line 2)");
    EXPECT_EQ(text().front(), "Zelvorin-Step 2.5");
    EXPECT_EQ(text().back(), "1;L_Click;50;50;");
    EXPECT_EQ(state.EditorFileName, "");
    EXPECT_TRUE(gui.isDisabled(kEditorSave));
}

TEST_F(CodeEditorTest, OpenReadsAFileOrReportsIt) {
    OpenCodeEditor(editor);
    const auto templateText = text();

    gui.queueFile(std::nullopt);
    CodeEditorOpen(editor, 0);
    // Regressions: a folder gave an empty text, a NUL byte cut the text short, running out of
    // memory aborted; each is an error now, the text stays as it was.
    WriteBytes(path("zerobyte.stp"), std::string("Zelvorin-Step 2.5\r\nu\r\n\r\n7;\0;\r\n", 30));
    std::string big;
    for (int i = 0; i < 20000; ++i) big += "3;0.5;\r\n";
    WriteBytes(path("big.stp"), big);
    fs::create_directory(folder_ / "folder.stp");
    const struct {
        std::string file, message;
        bool lowMemory;
    } failures[] = {
        {"missing.stp", "Can't open file", false},
        {"folder.stp", "Can't open file", false},
        {"zerobyte.stp", "Can't open file (NUL byte in line 4)", false},
        {"big.stp", "Can't open file (not enough memory)", true},
    };
    for (const auto& failure : failures) {
        gui.queueFile(path(failure.file));
        {
            std::optional<AllocationLimit> limit;
            if (failure.lowMemory) limit.emplace(1 << 16);
            CodeEditorOpen(editor, 0);
        }
        EXPECT_EQ(lastMessage().title, "Error");
        EXPECT_EQ(lastMessage().text, failure.message);
        EXPECT_EQ(text(), templateText);
        EXPECT_EQ(state.EditorFileName, "");
    }

    WriteBytes(path("other.stp"), "a\nb\n");
    gui.queueFile(path("other.stp"));
    CodeEditorOpen(editor, 0);
    EXPECT_EQ(text(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(state.EditorFileName, path("other.stp"));
    EXPECT_EQ(gui.text(kEditorFileNameLabel), "other.stp");
    EXPECT_FALSE(gui.isDisabled(kEditorSave));
    const auto request = gui.fileRequests().back();
    EXPECT_EQ(request.title, "Filename");
    EXPECT_EQ(request.filter, "STEP file (*.stp)|*.stp");
}

TEST_F(CodeEditorTest, InvalidCodeLineStopsTheSave) {
    state.ProgramFileName = path("prog.stp");
    WriteBytes(state.ProgramFileName, "old version\nold user\n\n1;L_Click;50;50\n");
    OpenCodeEditor(editor);
    CodeEditorSave(editor, 0);
    EXPECT_EQ(lastMessage().title, "Input");
    EXPECT_EQ(lastMessage().text, "Wrong count of values in CODE line 1");
    EXPECT_EQ(ReadBytes(state.ProgramFileName), "old version\nold user\n\n1;L_Click;50;50\n");
    EXPECT_EQ(text()[0], "Zelvorin-Step 2.5");  // header lines already refreshed in the text
    EXPECT_EQ(text()[1], kUserDate);
}

TEST_F(CodeEditorTest, SavingTheLoadedProgramReloadsIt) {
    state.ProgramFileName = path("prog.stp");
    WriteBytes(state.ProgramFileName, "Zelvorin-Step 2.5\nu\ninfo\n3;0.5;\n");
    MakeNewProgram(state.list);
    GetValues(panel);
    OpenCodeEditor(editor);
    gui.setLines(kEditorText, {"x", "y", "info", "3;0.5;", "9;Hello;greet", "3;2;"});
    CodeEditorSave(editor, 0);

    EXPECT_EQ(lastMessage().title, "OK");
    EXPECT_EQ(lastMessage().text, "File saved");
    EXPECT_EQ(ReadBytes(state.ProgramFileName),
              "Zelvorin-Step 2.5\r\n" + kUserDate + "\r\ninfo\r\n3;0.5;\r\n9;Hello;greet\r\n3;2;\r\n");
    ASSERT_EQ(state.list.size(), 3);
    EXPECT_EQ(state.list.at(1).MessageText, "Hello");
    EXPECT_EQ(gui.text(kFrameStep), "1");
    EXPECT_EQ(items(kComboJumpTo), Numbers(3));
    EXPECT_EQ(gui.text(kTextFileName), "prog.stp");
}

// Regression: the reload after a save threw away unsaved edits of the main window without a word.
TEST_F(CodeEditorTest, TheReloadAsksBeforeUnsavedEditsOfTheMainWindowAreThrownAway) {
    state.ProgramFileName = path("prog.stp");
    WriteBytes(state.ProgramFileName, "Zelvorin-Step 2.5\nu\ninfo\n3;0.5;\n");
    ASSERT_EQ(LoadStepFile(state.ProgramFileName, state.list, state.FileInformationLine).outcome,
              LoadOutcome::Loaded);
    GetValues(panel);
    for (const gui::Answer answer : {gui::Answer::No, gui::Answer::Yes}) {
        type(kStringDelay, "7.5");  // an edit in the panel, not stored yet
        OpenCodeEditor(editor);
        gui.setLines(kEditorText, {"x", "y", "info", "3;0.5;", "9;Hi;"});
        gui.queueAnswer(answer);
        CodeEditorSave(editor, 0);
        const auto messages = gui.messages();
        ASSERT_GE(messages.size(), 2u);
        EXPECT_EQ(messages[messages.size() - 2].text, kDiscardChangesQuestion);
        EXPECT_EQ(lastMessage().text, "File saved");
        EXPECT_EQ(state.list.size(), answer == gui::Answer::Yes ? 2 : 1);
        EXPECT_EQ(gui.text(kStringDelay), answer == gui::Answer::Yes ? "0.5" : "7.5");
        CloseCodeEditor(editor);
    }
}

TEST_F(CodeEditorTest, AFailedWriteIsNeverReportedAsSaved) {
    state.ProgramFileName = path("prog.stp");
    WriteBytes(state.ProgramFileName, "Zelvorin-Step 2.5\nu\n\n3;0.5;\n");
    OpenCodeEditor(editor);
    state.EditorFileName = path("no such folder/prog.stp");
    CodeEditorSave(editor, 0);
    EXPECT_EQ(lastMessage().title, state.EditorFileName);
    EXPECT_EQ(lastMessage().text, "Can't create file");
    for (const auto& message : gui.messages()) EXPECT_NE(message.text, "File saved");
}

TEST_F(CodeEditorTest, SaveAsAddsTheExtensionAndAsksBeforeReplacing) {
    OpenCodeEditor(editor);
    gui.queueFile(path("new"));
    CodeEditorSaveAs(editor, 0);
    EXPECT_EQ(state.EditorFileName, path("new.stp"));
    EXPECT_EQ(ReadBytes(path("new.stp")),
              "Zelvorin-Step 2.5\r\n" + kUserDate + "\r\n\r\n1;L_Click;50;50;\r\n");
    EXPECT_EQ(gui.text(kEditorFileNameLabel), "new.stp");
    EXPECT_EQ(lastMessageText(), "File saved");
    EXPECT_TRUE(gui.isDisabled(kEditorSave));  // Save as leaves the Save button as it was

    WriteBytes(path("taken.STP.stp"), "keep me");
    gui.setLines(kEditorText, {"", "", "", "7;other;"});
    gui.queueFile(path("taken.STP"));
    gui.queueAnswer(gui::Answer::No);
    CodeEditorSaveAs(editor, 0);
    EXPECT_EQ(lastMessage().title, "Confirm");
    EXPECT_EQ(lastMessage().text, "File already exists! Replace?");
    EXPECT_EQ(ReadBytes(path("taken.STP.stp")), "keep me");
    EXPECT_EQ(state.EditorFileName, path("new.stp"));

    gui.queueFile(path("taken.STP"));
    gui.queueAnswer(gui::Answer::Yes);
    CodeEditorSaveAs(editor, 0);
    EXPECT_EQ(state.EditorFileName, path("taken.STP.stp"));
    EXPECT_NE(ReadBytes(path("taken.STP.stp")).find("7;other;\r\n"), std::string::npos);
}

TEST_F(CodeEditorTest, LineInformationFollowsTheCursor) {
    OpenCodeEditor(editor);
    gui.setLines(kEditorText, {"v", "u", "i", "1;L_Click;5;5;", "x"});
    const struct {
        int line;
        const char* info1;
        const char* info2;
    } cases[] = {{0, "File-Version", ""}, {3, "CODE Line: 1", "MOUSE"}, {4, "CODE Line: 2", "UNKNOWN"}};
    for (const auto& c : cases) {
        gui.setCursorLine(kEditorText, c.line);
        RefreshLineInfo(editor);
        EXPECT_EQ(gui.text(kEditorInfoLine1), c.info1);
        EXPECT_EQ(gui.text(kEditorInfoLine2), c.info2);
    }
    gui.setCursorLine(kEditorText, 3);
    RefreshLineInfo(editor);
    EXPECT_EQ(gui.text(kEditorInfoLine3), "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks");
}

// Regression: the close box and Open threw edits of the text away without a word.
TEST_F(CodeEditorTest, CloseAndOpenAskBeforeEditsOfTheTextAreThrownAway) {
    const auto edit = [this](std::size_t line, const std::string& content) {
        auto lines = text();
        lines.resize(std::max(lines.size(), line + 1));
        lines[line] = content;
        gui.setLines(kEditorText, lines);
    };
    const auto questions = [this] {
        long count = 0;
        for (const auto& m : gui.messages())
            count += m.title == "Confirm" && m.text == "The text has unsaved changes. Discard them?";
        return count;
    };
    OpenCodeEditor(editor);
    edit(0, "changed version");  // lines 1 and 2 are rewritten by every save: nothing is lost
    edit(1, "changed user");
    CloseCodeEditor(editor);
    EXPECT_EQ(questions(), 0);
    EXPECT_FALSE(gui.window(kFormEditor)->open);

    OpenCodeEditor(editor);
    edit(4, "9;hello;");
    CloseCodeEditor(editor);  // answered No
    CodeEditorOpen(editor, 0);
    EXPECT_EQ(questions(), 2);
    EXPECT_TRUE(gui.window(kFormEditor)->open);
    EXPECT_TRUE(gui.fileRequests().empty());
    EXPECT_EQ(text().back(), "9;hello;");

    gui.queueFile(path("kept.stp"));
    CodeEditorSaveAs(editor, 0);
    CloseCodeEditor(editor);
    EXPECT_EQ(questions(), 2);
    EXPECT_FALSE(gui.window(kFormEditor)->open);

    OpenCodeEditor(editor);
    edit(3, "3;9.0;");
    gui.queueAnswer(gui::Answer::Yes);
    CloseCodeEditor(editor);
    EXPECT_EQ(questions(), 3);
    EXPECT_FALSE(gui.window(kFormEditor)->open);
    EXPECT_TRUE(gui.window(kFormMAIN)->enabled);
}

}  // namespace
}  // namespace zs::test
