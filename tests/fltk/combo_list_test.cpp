// The open list of a combo in a real X server: it stays on the screen and every item of a long
// list can be reached with the mouse; a list of a million numbers opens at once.
#include "gui_driver.h"
#include "sample_window.h"

#include <FL/Fl.H>

#include <atomic>
#include <chrono>

#include "platform/fltk/fltk_combo.h"

namespace zs::gui::test {
namespace {

using fltk::ComboBox;

constexpr int kListWindow = 48;
constexpr int kCombo = 41;

struct OpenList {
    Rect rect;
    int rows = 0;
    int topRow = 0;
};

class ComboListTest : public GuiTest {
protected:
    // A combo at the bottom of the screen, where a long list cannot drop below it.
    void SetUp() override {
        openSampleMain(gui());
        opened(kMain);
        gui().openWindow(kListWindow, {100, Fl::h() - 40, 200, 30}, "", kBorderless | kAtPosition,
                         kMain);
        opened(kListWindow);
        gui().createGadget({kCombo, GadgetKind::Combo, kListWindow, 0, {0, 4, 200, 22}, "",
                            Align::Left, false, 0});
        settle();
    }

    // Clicks the combo open on a helper thread, reads the open list there, then lets then()
    // drive the mouse; the UI thread meanwhile runs the list until a pick closes it.
    OpenList pickWithMouse(const std::function<void(const OpenList&)>& then) {
        OpenList seen;
        std::atomic<bool> done{false};
        std::thread driver([&] {
            run("xdotool mousemove " + windowArg(kListWindow) + " 20 15 click 1");
            for (int i = 0; i < 100 && seen.rows == 0; ++i) {
                gui().runOnUi([&] {
                    if (ComboBox::listOpen())
                        seen = {ComboBox::listRect(), ComboBox::listRows(), ComboBox::listTopRow()};
                });
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            if (seen.rows > 0) then(seen);
            done = true;
        });
        EXPECT_TRUE(waitFor([](const Event& e) { return e.kind == EventKind::Gadget && e.id == kCombo; }));
        pumpUntil([&] { return done.load(); });
        driver.join();
        return seen;
    }
};

std::string at(int x, int y) { return "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y); }

TEST_F(ComboListTest, EveryItemOfALongListIsOnTheScreenAndReachedByTheMouse) {
    for (int i = 1; i <= 80; ++i) gui().addItem(kCombo, "COM" + std::to_string(i));
    gui().select(kCombo, 0);
    const OpenList list = pickWithMouse([](const OpenList& open) {
        const int rowHeight = (open.rect.h - 2) / open.rows;
        const int x = open.rect.x + 20;
        run(at(x, open.rect.y + rowHeight) + " click --repeat 40 5");  // the wheel, to the end
        run(at(x, open.rect.y + open.rect.h - 1 - rowHeight / 2) + " click 1");
    });
    ASSERT_GT(list.rows, 0) << "the list did not open";
    EXPECT_LT(list.rows, 80);  // the rest scrolls
    EXPECT_GE(list.rect.y, 0);
    EXPECT_LE(list.rect.y + list.rect.h, Fl::h());
    EXPECT_EQ(gui().text(kCombo), "COM80");
}

TEST_F(ComboListTest, AMillionNumbersOpenAtTheSelectedOne) {
    gui().setNumberItems(kCombo, 1000000, "");
    gui().select(kCombo, 999999);
    EXPECT_EQ(gui().text(kCombo), "1000000");
    const OpenList list = pickWithMouse([](const OpenList& open) {
        run(at(open.rect.x + 20, open.rect.y + 3) + " click 1");  // the top row
    });
    ASSERT_GT(list.rows, 0) << "the list did not open";
    EXPECT_EQ(list.topRow, 1000000 - list.rows);
    EXPECT_EQ(gui().selected(kCombo), list.topRow);
    gui().setNumberItems(kCombo, 999, "");  // fewer steps: a selection past the end goes
    EXPECT_EQ(gui().selected(kCombo), -1);
    EXPECT_EQ(gui().itemText(kCombo, 998), "999");
}

}  // namespace
}  // namespace zs::gui::test
