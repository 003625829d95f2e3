// Unsaved changes of the step program: which edits count, and the question that New, Open, Exit
// and the close box ask before such changes are thrown away. Regression: all four threw edits
// away without a word.
#include <gtest/gtest.h>

#include <functional>

#include "Forms/FormMAIN.h"
#include "editor/editor_hooks.h"
#include "model/step_file.h"
#include "shell_fixture.h"

namespace zs::test {
namespace {

using namespace form;
using gui::Answer;
using gui::Event;
using gui::EventKind;

constexpr const char* kProgram =
    "Zelvorin-Step 2.5\r\nu  -  01.01.2026 10:00\r\n\r\n"
    "1;L_Click;50;60;first\r\n3;2;\r\n3;1.25;odd delay\r\n";

Event MenuEvent(int item) { return {EventKind::Menu, kFormMAIN, item, 0, 0}; }
Event NavigationEvent(int button) { return {EventKind::Gadget, kFormMAIN, button, 0, 0}; }

class UnsavedChangesTest : public ShellTest {
protected:
    void SetUp() override {
        StartUp();
        WriteFileBytes(folder / "prog.stp", kProgram);
    }

    void OpenProgram() {
        gui.queueFile(Path("prog.stp"));
        shell.FileOpen();
        ASSERT_EQ(state.list.size(), 3);
    }
    // The step program as the file holds it, first step shown, nothing unsaved.
    void Reload() {
        ParseStepFile(kProgram, state.list, state.FileInformationLine);
        state.programModified = false;
        shell.ShowStep(0);
    }
    long Questions(const std::string& text) {
        long count = 0;
        for (const auto& m : gui.messages()) count += m.title == "Confirm" && m.text == text;
        return count;
    }

    ProgramEditor editor{shell, services, state};
};

TEST_F(UnsavedChangesTest, EditsThatChangeWhatASaveWritesCountAndNothingElseDoes) {
    OpenProgram();
    struct Row {
        const char* edit;
        std::function<void()> act;
        bool unsaved;
    };
    const auto dispatch = [this](int button) { shell.Dispatch(NavigationEvent(button)); };
    const Row rows[] = {
        {"nothing", [] {}, false},
        {"moving through every step stores each unchanged",
         [&] {
             for (int button : {kButtonNextStep, kButtonNextStep, kButtonFirstStep,
                                kButtonLastStep, kButtonPreviousStep})
                 dispatch(button);
         },
         false},
        {"F9 at the stored position", [&] {
             input.setPointerPosition({50, 60});
             shell.Dispatch({EventKind::KeyDown, kFormMAIN, 0, 0, vk::F9});
         }, false},
        {"F9 elsewhere, not stored yet", [&] {
             input.setPointerPosition({7, 8});
             shell.Dispatch({EventKind::KeyDown, kFormMAIN, 0, 0, vk::F9});
         }, true},
        {"description typed, not stored", [&] { gui.setText(kStringDescription, "new"); }, true},
        {"description typed and stored by moving on",
         [&] {
             gui.setText(kStringDescription, "new");
             dispatch(kButtonNextStep);
         },
         true},
        {"another type chosen", [&] { gui.select(kComboStepType, 6); }, true},
        {"append", [&] { dispatch(kButtonAppendStep); }, true},
        {"insert", [&] { dispatch(kButtonInsertStep); }, true},
        {"delete", [&] { dispatch(kButtonDeleteStep); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.edit);
        Reload();
        row.act();
        EXPECT_EQ(shell.HasUnsavedChanges(), row.unsaved);
        const auto before = gui.messages().size();
        shell.Dispatch(MenuEvent(kMenuNew));  // the empty answer queue says No
        EXPECT_EQ(gui.messages().size(), before + (row.unsaved ? 1 : 0));
        EXPECT_EQ(state.list.size() == 1, !row.unsaved);
    }
    EXPECT_EQ(Questions(kDiscardChangesQuestion), 7);
}

TEST_F(UnsavedChangesTest, EachCommandAsksOnceAndNoLeavesEverythingAsItWas) {
    const Event close{EventKind::WindowClose, kFormMAIN, 0, 0, 0};
    struct Row {
        const char* command;
        Event event;
        Answer answer;
        const char* question;
        bool ends, replacesProgram;
    };
    // Exit and the close box answered Yes end the loop for good: they come last.
    const Row rows[] = {
        {"New", MenuEvent(kMenuNew), Answer::No, kDiscardChangesQuestion, false, false},
        {"New", MenuEvent(kMenuNew), Answer::Yes, kDiscardChangesQuestion, false, true},
        {"Open", MenuEvent(kMenuOpen), Answer::No, kDiscardChangesQuestion, false, false},
        {"Open", MenuEvent(kMenuOpen), Answer::Yes, kDiscardChangesQuestion, false, true},
        {"Exit", MenuEvent(kMenuExit), Answer::No, kDiscardChangesAndExitQuestion, false, false},
        {"close box", close, Answer::No, kDiscardChangesAndExitQuestion, false, false},
        {"Exit", MenuEvent(kMenuExit), Answer::Yes, kDiscardChangesAndExitQuestion, true, false},
        {"close box", close, Answer::Yes, kDiscardChangesAndExitQuestion, true, false},
    };
    OpenProgram();
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.command) + (row.answer == Answer::Yes ? " Yes" : " No"));
        Reload();
        gui.setText(kStringDescription, "edited");
        const auto before = gui.messages().size();
        gui.queueAnswer(row.answer);
        if (row.event.id == kMenuOpen && row.answer == Answer::Yes) gui.queueFile(Path("prog.stp"));
        shell.Dispatch(row.event);
        ASSERT_EQ(gui.messages().size(), before + 1);
        EXPECT_EQ(gui.messages().back().text, row.question);
        EXPECT_EQ(shell.Ending(), row.ends);
        EXPECT_EQ(gui.window(kFormMAIN)->open, !(row.ends && row.event.kind == close.kind));
        EXPECT_EQ(gui.text(kStringDescription) == "edited", !row.replacesProgram);
        EXPECT_EQ(shell.HasUnsavedChanges(), !row.replacesProgram);
    }
    EXPECT_TRUE(gui.fileRequests().size() == 2);  // the first Open and the one answered Yes
}

TEST_F(UnsavedChangesTest, WithNothingUnsavedEveryFlowIsAsBeforeAndSavingClearsTheMark) {
    OpenProgram();
    gui.setText(kStringDescription, "edited");
    shell.FileSave();
    EXPECT_FALSE(shell.HasUnsavedChanges());
    gui.setText(kStringDescription, "edited again");
    gui.queueFile(std::nullopt);  // Save as cancelled: the store alone saves nothing
    shell.FileSaveAs();
    EXPECT_TRUE(shell.HasUnsavedChanges());
    gui.queueFile(Path("copy.stp"));
    shell.FileSaveAs();
    EXPECT_FALSE(shell.HasUnsavedChanges());

    const auto before = gui.messages().size();
    shell.Dispatch(MenuEvent(kMenuNew));
    gui.queueFile(Path("prog.stp"));
    shell.Dispatch(MenuEvent(kMenuOpen));
    gui.queueAnswer(Answer::No);
    shell.Dispatch(MenuEvent(kMenuExit));
    ASSERT_EQ(gui.messages().size(), before + 1);
    EXPECT_EQ(gui.messages().back().text, "Exit program?");
    EXPECT_TRUE(gui.messages().back().mainWindowTopmost);
    shell.Dispatch({EventKind::WindowClose, kFormMAIN, 0, 0, 0});
    EXPECT_EQ(gui.messages().size(), before + 1);
    EXPECT_TRUE(shell.Ending());
}

// Regression: a value that the step's drop-down cannot show was replaced by what the drop-down
// showed (or refused as missing) when the step was stored, so an untouched file counted as
// changed, lost "COM99", and a Jump past the end could not be played or saved at all.
TEST_F(UnsavedChangesTest, ValuesTheDropDownsCannotShowAreKeptAndNoChange) {
    const char* const steps[] = {
        "5;COM99;String;AT;", "5;COM1;Fax;x;",       "2;Key;{F2}{ENTER};", "2;Key;{SEMICOLON};",
        "2;Morse;abc;",       "6;999;far",           "6;0;",               "4;50;2;",
        "1;X_Click;5;5;",
    };
    for (const char* step : steps) {
        SCOPED_TRACE(step);
        const std::string file =
            std::string("Zelvorin-Step 2.5\r\nu\r\n\r\n") + step + "\r\n3;0.5;\r\n";
        WriteFileBytes(folder / "held.stp", file);
        gui.queueFile(Path("held.stp"));
        gui.queueAnswer(Answer::Yes);  // an earlier row's program may not be stored: discard it
        shell.Dispatch(MenuEvent(kMenuOpen));
        const auto before = gui.messages().size();
        EXPECT_FALSE(shell.HasUnsavedChanges());
        gui.queueAnswer(Answer::No);
        shell.Dispatch(MenuEvent(kMenuExit));
        ASSERT_EQ(gui.messages().size(), before + 1);
        EXPECT_EQ(gui.messages().back().text, "Exit program?");
        // Stored on the way to the next step and saved: the file is written as it was read.
        shell.Dispatch(NavigationEvent(kButtonNextStep));
        shell.Dispatch(MenuEvent(kMenuSave));
        const auto saved = SplitLines(ReadFileBytes(folder / "held.stp"));
        EXPECT_EQ(std::vector<std::string>(saved.begin() + 3, saved.end()),
                  (std::vector<std::string>{step, "3;0.5;"}));
        EXPECT_EQ(state.list.index(), 1);
    }
}

TEST_F(UnsavedChangesTest, TheEditorsCloseBoxAsksAboutItsTextAndASaveThereReloadsUnmarked) {
    OpenProgram();
    gui.setText(kStringDescription, "edited");
    shell.Dispatch(MenuEvent(kMenuEditor));
    auto lines = gui.lines(kEditorText);
    lines.push_back("7;added;");
    gui.setLines(kEditorText, lines);
    shell.Dispatch({EventKind::WindowClose, kFormEditor, 0, 0, 0});  // answered No
    ASSERT_EQ(gui.messages().size(), 1u);
    EXPECT_EQ(gui.messages().back().text, "The text has unsaved changes. Discard them?");
    EXPECT_TRUE(gui.window(kFormEditor)->open);

    // Saving the loaded file in the editor replaces the step list with the file's steps, once
    // the user agrees to lose the edit in the main window.
    gui.queueAnswer(Answer::Yes);
    shell.Dispatch({EventKind::Gadget, kFormEditor, kEditorSave, 0, 0});
    EXPECT_EQ(gui.messages()[1].text, kDiscardChangesQuestion);
    shell.Dispatch({EventKind::WindowClose, kFormEditor, 0, 0, 0});
    EXPECT_FALSE(gui.window(kFormEditor)->open);
    EXPECT_EQ(state.list.size(), 4);
    EXPECT_FALSE(shell.HasUnsavedChanges());
}

}  // namespace
}  // namespace zs::test
