// Moving through the program, the pick list, append, insert, delete and the playback controls.
#include "editor/navigation.h"

#include <functional>

#include "editor/save_record.h"
#include "editor_fixture.h"
#include "player/commands.h"

namespace zs::test {
namespace {

using namespace zs::form;

class NavigationTest : public EditorFixture {
protected:
    NavigationTest() { commands.SaveActualRecord = [this] { return SaveActualRecord(panel); }; }

    // Delay steps 1 to n, each with its number as delay and description.
    void showNumbered(int count, long current) {
        std::vector<Step> steps;
        for (int i = 1; i <= count; ++i)
            steps.push_back(DelayOf(static_cast<float>(i), std::to_string(i)));
        show(steps, current);
    }
    std::string shownDescription() { return gui.text(kStringDescription); }

    GadgetPlayerUi ui{gui};
    PlaybackCommands commands{state, gui, ui, nullptr};
};

TEST_F(NavigationTest, MovesStayInsideTheProgram) {
    showNumbered(3, 1);
    const struct {
        void (*command)(EditorPanel&, int);
        const char* shown;
    } moves[] = {{NextStep, "3"},  {NextStep, "3"},      {PreviousStep, "2"}, {FirstStep, "1"},
                 {PreviousStep, "1"}, {LastStep, "3"}};
    for (const auto& move : moves) {
        move.command(panel, 0);
        EXPECT_EQ(gui.text(kFrameStep), move.shown);
        EXPECT_EQ(shownDescription(), move.shown);
    }
}

TEST_F(NavigationTest, EditsAreStoredWhenLeavingAStep) {
    showNumbered(2, 0);
    type(kStringDelay, "4,5");
    NextStep(panel, 0);
    EXPECT_EQ(state.list.at(0).DelaySeconds, 4.5f);
}

// Each edit of a big program changes the step-number lists in one call, not one per step: the
// old refill added every number again on each append, insert and delete.
TEST_F(NavigationTest, EditsOfABigProgramRefillTheStepNumberListsInOneCallEach) {
    showNumbered(2000, 1000);
    auto calls = [&](int gadget) { return gui.gadget(gadget)->itemCalls; };
    const struct {
        void (*command)(EditorPanel&, int);
        long steps;
    } edits[] = {{AppendStep, 2001}, {InsertStep, 2002}, {DeleteStep, 2001}, {NextStep, 2001}};
    for (const auto& edit : edits) {
        const int before[] = {calls(kComboJumpTo), calls(kComboLoopFrom)};
        edit.command(panel, 0);
        ASSERT_EQ(state.list.size(), edit.steps);
        EXPECT_LE(calls(kComboJumpTo) - before[0], 1) << edit.steps;
        EXPECT_LE(calls(kComboLoopFrom) - before[1], 1) << edit.steps;
        EXPECT_EQ(gui.itemCount(kComboJumpTo), edit.steps);
        EXPECT_EQ(gui.itemText(kComboLoopFrom, static_cast<int>(edit.steps) - 1),
                  std::to_string(edit.steps));
    }
    OpenStepPickList(panel, 0);
    EXPECT_EQ(calls(kPickList), 1);
    EXPECT_EQ(gui.itemCount(kPickList), 2001);
}

TEST_F(NavigationTest, DeletingTheOnlyStepIsRefused) {
    showNumbered(1, 0);
    DeleteStep(panel, 0);
    EXPECT_EQ(state.list.size(), 1);
    EXPECT_EQ(lastMessage().title, "Info");
    EXPECT_EQ(lastMessage().text, "Only one step left! Can't delete actual step!");
    EXPECT_FALSE(lastMessage().mainWindowTopmost);  // through the message routine
}

TEST_F(NavigationTest, DeletingMovesToTheStepBefore) {
    showNumbered(3, 0);
    DeleteStep(panel, 0);
    EXPECT_EQ(state.list.size(), 2);
    EXPECT_EQ(gui.text(kFrameStep), "1");
    EXPECT_EQ(shownDescription(), "2");
    EXPECT_EQ(items(kComboJumpTo), Numbers(2));

    showNumbered(3, 2);
    DeleteStep(panel, 0);
    EXPECT_EQ(gui.text(kFrameStep), "2");
    EXPECT_EQ(shownDescription(), "2");
}

TEST_F(NavigationTest, InsertingInFrontOfTheFirstStep) {
    showNumbered(2, 0);
    type(kStringDescription, "first, edited");
    InsertStep(panel, 0);
    ASSERT_EQ(state.list.size(), 3);
    EXPECT_EQ(state.list.at(0), NewDelayStep());
    EXPECT_EQ(state.list.at(1).Description, "first, edited");
    EXPECT_EQ(gui.text(kFrameStep), "1");
    EXPECT_EQ(gui.text(kStringDelay), "0.5");
    EXPECT_EQ(shownDescription(), "");
}

TEST_F(NavigationTest, AppendingStoresTheShownStepAndShowsTheNewLastOne) {
    showNumbered(5, 1);
    type(kStringDelay, "8");
    AppendStep(panel, 0);
    ASSERT_EQ(state.list.size(), 6);
    EXPECT_EQ(state.list.at(1).DelaySeconds, 8.0f);
    EXPECT_EQ(state.list.at(5), NewDelayStep());
    EXPECT_EQ(gui.text(kFrameStep), "6");
    EXPECT_EQ(gui.text(kStringDelay), "0.5");
    EXPECT_EQ(items(kComboLoopFrom), Numbers(6));
}

TEST_F(NavigationTest, PickListOpensUnderTheButtons) {
    showNumbered(4, 0);
    OpenStepPickList(panel, 0);
    const auto window = gui.window(kPickListWindow);
    ASSERT_TRUE(window && window->open);
    EXPECT_EQ(window->rect, (gui::Rect{174, 305, 60, 90}));
    EXPECT_EQ(window->owner, kFormMAIN);
    EXPECT_TRUE(window->flags & gui::kBorderless);
    EXPECT_EQ(items(kPickList), Numbers(4));
    EXPECT_EQ(gui.gadget(kPickList)->spec.rect, (gui::Rect{0, 0, 60, 90}));
    EXPECT_FALSE(gui.window(kFormMAIN)->enabled);

    gui.select(kPickList, 2);
    StepPicked(panel, 0);
    EXPECT_FALSE(gui.window(kPickListWindow)->open);
    EXPECT_TRUE(gui.window(kFormMAIN)->enabled);
    EXPECT_EQ(gui.text(kFrameStep), "3");
}

TEST_F(NavigationTest, IncompleteMouseStepBlocksEveryCommandButThePickList) {
    const std::vector<std::pair<const char*, std::function<void()>>> commandsToTry = {
        {"next", [&] { NextStep(panel, 0); }},
        {"previous", [&] { PreviousStep(panel, 0); }},
        {"first", [&] { FirstStep(panel, 0); }},
        {"append", [&] { AppendStep(panel, 0); }},
        {"insert", [&] { InsertStep(panel, 0); }},
        {"delete", [&] { DeleteStep(panel, 0); }},
        {"play", [&] { commands.Play(); }},
        {"play from current", [&] { commands.PlayFromCurrentStep(); }},
    };
    for (const auto& [name, command] : commandsToTry) {
        showNumbered(3, 1);
        pickType("1 Mouse");
        type(kStringMouseX, "");
        command();
        EXPECT_EQ(lastMessageText(), "No mouse x entered") << name;
        EXPECT_EQ(state.list.size(), 3) << name;
        EXPECT_EQ(state.list.index(), 1) << name;
        EXPECT_EQ(state.playing, 0) << name;
    }

    const auto messagesBefore = gui.messages().size();
    OpenStepPickList(panel, 0);
    gui.select(kPickList, 0);
    StepPicked(panel, 0);
    EXPECT_EQ(gui.messages().size(), messagesBefore + 1);
    EXPECT_EQ(lastMessageText(), "No mouse x entered");
    EXPECT_EQ(state.list.index(), 0);
    EXPECT_EQ(state.list.at(1).RECORDtype, 1);  // the partial store stays
    EXPECT_TRUE(gui.window(kFormMAIN)->enabled);
}

TEST_F(NavigationTest, PlayStoresAndLocksResumeDoesNeither) {
    showNumbered(3, 2);
    type(kStringDelay, "6");
    commands.Play();
    EXPECT_EQ(state.list.at(2).DelaySeconds, 6.0f);
    EXPECT_EQ(state.playing, 1);
    EXPECT_EQ(state.startIndex, 0);
    EXPECT_TRUE(gui.isDisabled(kButtonPlay));
    EXPECT_TRUE(gui.isDisabled(kButtonFirstStep));  // edit lock

    commands.Pause();
    state.loops[0].active = 1;
    state.loops[0].count = 2;
    type(kStringDelay, "");  // would be refused if it were stored
    commands.Play();
    EXPECT_TRUE(gui.messages().empty());
    EXPECT_EQ(state.loops[0].count, 2);
    EXPECT_EQ(state.paused, 0);
    EXPECT_EQ(state.playing, 1);

    commands.Stop();
    EXPECT_EQ(state.playing, 0);
    EXPECT_FALSE(gui.isDisabled(kButtonFirstStep));
}

TEST_F(NavigationTest, PlayFromCurrentStepStartsAtTheShownStep) {
    showNumbered(5, 3);
    commands.PlayFromCurrentStep();
    EXPECT_EQ(state.startIndex, 3);
    EXPECT_EQ(state.playing, 1);
}

}  // namespace
}  // namespace zs::test
