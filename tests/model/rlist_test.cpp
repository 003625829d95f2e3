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
