// The item store of the backends and the place of an open combo list on the screen.
#include <gtest/gtest.h>

#include "platform/drop_down.h"
#include "platform/item_list.h"

namespace zs::gui {
namespace {

TEST(ItemList, NumbersAreFoundOnlyAsTheListWritesThem) {
    ItemList items;
    items.setNumbers(1000000);
    EXPECT_EQ(items.size(), 1000000);
    EXPECT_EQ(items.at(0), "1");
    EXPECT_EQ(items.at(999999), "1000000");
    EXPECT_EQ(items.at(1000000), "");
    const struct { const char* text; int index; } finds[] = {
        {"1", 0}, {"1000000", 999999}, {"1000001", -1}, {"0", -1}, {"07", -1}, {"+7", -1},
        {"7 ", -1}, {"", -1}, {"-1", -1}, {"99999999999", -1},
    };
    for (const auto& f : finds) EXPECT_EQ(items.find(f.text), f.index) << f.text;
    items.setNumbers(3);
    items.add("x");  // an added text keeps the numbers before it
    EXPECT_EQ(items.size(), 4);
    EXPECT_EQ(items.find("3"), 2);
    EXPECT_EQ(items.at(3), "x");
    items.setNumbers(-5);
    EXPECT_EQ(items.size(), 0);
    // A leading text before the numbers ("Pause" before the step numbers of an on-fail combo).
    items.setNumbers(2, "Pause");
    EXPECT_EQ(items.size(), 3);
    EXPECT_EQ(items.at(0), "Pause");
    EXPECT_EQ(items.at(2), "2");
    EXPECT_EQ(items.find("Pause"), 0);
    EXPECT_EQ(items.find("2"), 2);
    EXPECT_EQ(items.find("3"), -1);
    items.add("x");
    EXPECT_EQ(items.at(0), "Pause");
    EXPECT_EQ(items.at(3), "x");
}

TEST(PlaceDropDown, TheListStaysOnTheScreenAndScrollsWhatDoesNotFit) {
    const Rect screen{0, 0, 1024, 768};
    const struct {
        Rect field;
        int items;
        Rect rect;
        int rows;
    } cases[] = {
        {{100, 100, 85, 20}, 4, {100, 120, 85, 4 * 18 + 2}, 4},            // short: below
        {{100, 100, 85, 20}, 34, {100, 120, 85, 20 * 18 + 2}, 20},         // long: 20 rows
        {{100, 532, 85, 20}, 34, {100, 532 - 362, 85, 362}, 20},           // no room below
        {{100, 700, 85, 20}, 80, {100, 700 - 362, 85, 362}, 20},
        {{100, 10, 85, 20}, 80, {100, 30, 85, 362}, 20},
        {{100, 300, 85, 20}, 1000000, {100, 320, 85, 362}, 20},
        {{1000, 740, 85, 20}, 2, {939, 740 - 38, 85, 38}, 2},              // kept inside at right
        {{100, 100, 85, 20}, 0, {100, 120, 85, 20}, 1},
    };
    for (const auto& c : cases) {
        const DropDownPlace place = PlaceDropDown(c.field, screen, c.items, 18, 20, 1);
        EXPECT_EQ(place.rect, c.rect) << c.field.y << " " << c.items;
        EXPECT_EQ(place.rows, c.rows) << c.field.y << " " << c.items;
    }
    // A screen too low for 20 rows above or below: the rows that fit, all on the screen.
    const DropDownPlace low = PlaceDropDown({0, 100, 85, 20}, {0, 0, 800, 240}, 80, 18, 20, 1);
    EXPECT_EQ(low.rows, 6);
    EXPECT_LE(low.rect.y + low.rect.h, 240);
    EXPECT_GE(low.rect.y, 0);
}

}  // namespace
}  // namespace zs::gui
