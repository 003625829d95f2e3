#include <gtest/gtest.h>

#include "model/rlist.h"

namespace zs {
namespace {

std::vector<int> Types(const RList& list) {
    std::vector<int> types;
    for (const auto& step : list.steps()) types.push_back(step.RECORDtype);
    return types;
}

TEST(RList, AddAndInsertPlaceTheNewStepNextToTheCursorAndMakeItCurrent) {
    RList list;
    list.add().RECORDtype = 1;  // empty list: appended
    list.add().RECORDtype = 2;  // after 1
    list.first();
    list.add().RECORDtype = 3;  // after the first step
    EXPECT_EQ(Types(list), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(list.index(), 1);
    list.insert().RECORDtype = 4;  // before the current step
    EXPECT_EQ(Types(list), (std::vector<int>{1, 4, 3, 2}));
    EXPECT_EQ(list.index(), 1);
    list.first();
    list.insert().RECORDtype = 5;
    EXPECT_EQ(Types(list), (std::vector<int>{5, 1, 4, 3, 2}));
    EXPECT_EQ(list.index(), 0);
}

TEST(RList, RemoveMovesTheCursorToTheStepBeforeOrToTheNewFirst) {
    RList list;
    for (int type = 1; type <= 3; ++type) list.add().RECORDtype = type;
    list.first();
    list.remove();  // removing the first: the new first becomes current
    EXPECT_EQ(list.index(), 0);
    EXPECT_EQ(list.current().RECORDtype, 2);
    list.last();
    list.remove();
    EXPECT_EQ(list.current().RECORDtype, 2);
    list.remove();
    EXPECT_FALSE(list.hasCurrent());
    EXPECT_TRUE(list.empty());
    list.remove();  // nothing to remove: no crash
}

TEST(RList, NavigationReportsWhetherItMovedAndStaysInsideTheList) {
    RList list;
    EXPECT_FALSE(list.next());
    EXPECT_FALSE(list.previous());
    EXPECT_FALSE(list.first());
    for (int type = 1; type <= 3; ++type) list.add().RECORDtype = type;
    EXPECT_FALSE(list.next());
    EXPECT_EQ(list.index(), 2);
    EXPECT_TRUE(list.previous());
    EXPECT_TRUE(list.first());
    EXPECT_FALSE(list.previous());
    EXPECT_EQ(list.index(), 0);
    EXPECT_FALSE(list.select(3));
    EXPECT_FALSE(list.select(-1));
    EXPECT_EQ(list.index(), 0);
    EXPECT_TRUE(list.select(2));
    std::vector<long> visited;
    list.forEach([&](Step&) { visited.push_back(list.index()); });
    EXPECT_EQ(visited, (std::vector<long>{0, 1, 2}));
}

// Edits and far jumps against a plain vector: a far jump must never land on a position that an
// earlier add, insert or remove has shifted.
TEST(RList, FarJumpsAfterEditsLandOnTheStepOfThatIndex) {
    RList list;
    std::vector<int> model;
    for (int i = 0; i < 500; ++i) {
        list.add().MouseX = i;
        model.push_back(i);
    }
    struct Op { char kind; long index; };  // s select, a add, i insert, r remove, at index
    const Op ops[] = {{'s', 250}, {'i', 250}, {'s', 400}, {'a', 400}, {'s', 100}, {'r', 100},
                      {'s', 300}, {'s', 499}, {'r', 499}, {'s', 200}, {'s', 70}, {'i', 0}};
    int made = 1000;
    for (const Op& op : ops) {
        ASSERT_TRUE(list.select(op.index)) << op.kind << op.index;
        const auto at = model.begin() + op.index;
        if (op.kind == 'a') { list.add().MouseX = made; model.insert(at + 1, made++); }
        if (op.kind == 'i') { list.insert().MouseX = made; model.insert(at, made++); }
        if (op.kind == 'r') { list.remove(); model.erase(at); }
        for (const long probe : {0L, 69L, 150L, 251L, 333L, list.size() - 1}) {
            ASSERT_TRUE(list.select(probe));
            EXPECT_EQ(list.current().MouseX, model[static_cast<std::size_t>(probe)])
                << "after " << op.kind << op.index << ", step " << probe;
            EXPECT_EQ(list.at(probe).MouseX, model[static_cast<std::size_t>(probe)]);
        }
    }
    EXPECT_EQ(list.size(), static_cast<long>(model.size()));
}

TEST(RList, CopiesAndMovesKeepACursorOfTheirOwn) {
    RList list;
    for (int i = 0; i < 3; ++i) list.add().MouseX = i;
    list.select(1);
    RList copy = list;
    copy.current().MouseX = 7;  // the copy's cursor points into the copy
    EXPECT_EQ(list.current().MouseX, 1);
    RList moved = std::move(copy);
    EXPECT_EQ(moved.index(), 1);
    EXPECT_EQ(moved.current().MouseX, 7);
    EXPECT_TRUE(moved.next());
    RList empty;
    moved = empty;
    EXPECT_FALSE(moved.hasCurrent());
    moved.add().MouseX = 5;  // an empty list's cursor is usable after the assignment
    EXPECT_EQ(moved.size(), 1);
}

TEST(RList, NewProgramIsOneDelayStepOfHalfASecond) {
    RList list;
    list.add().RECORDtype = 1;
    MakeNewProgram(list);
    ASSERT_EQ(list.size(), 1);
    Step expected;
    expected.RECORDtype = 3;
    expected.DelaySeconds = 0.5f;
    EXPECT_EQ(list.current(), expected);
}

}  // namespace
}  // namespace zs
