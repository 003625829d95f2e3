// The sample main window in Xvfb: layout below the menu bar, clicks, menu picks, keys, the close
// box, top-most state and a screenshot.
#include "gui_driver.h"
#include "sample_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <algorithm>

namespace zs::gui::test {
namespace {

class MainWindowTest : public GuiTest {
protected:
    void SetUp() override {
        openSampleMain(gui());
        opened(kMain);
        menuHeight_ = gui().nativeWindow(kMain)->h() - 344;
    }

    // xdotool arguments that point at a place of the main window's client area.
    std::string at(int x, int y) const {
        return "mousemove " + windowArg(kMain) + " " + std::to_string(x) + " " +
               std::to_string(y + menuHeight_);
    }

    // Clicks button 54 and waits for its event: everything queued before it has been seen.
    void clickMarker() {
        startCommand("xdotool " + at(80, 297) + " click 1");
        ASSERT_TRUE(waitFor([](const Event& e) { return e.kind == EventKind::Gadget && e.id == 54; }));
        finishCommand();
    }

    bool sawEvent(EventKind kind, int id) const {
        for (const Event& event : seen_) {
            if (event.kind == kind && event.id == id) return true;
        }
        return false;
    }

    int menuHeight_ = 0;
};

TEST_F(MainWindowTest, ClientAreaKeepsItsSizeBelowTheMenuBar) {
    ASSERT_GT(menuHeight_, 0);
    Rect client = gui().windowRect(kMain);
    EXPECT_EQ(client.w, 252);
    EXPECT_EQ(client.h, 344);
    Fl_Window* window = gui().nativeWindow(kMain);
    EXPECT_EQ(client.y, window->y() + menuHeight_);
    EXPECT_EQ(client.x, (Fl::w() - 252) / 2);  // centred on the screen

    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(fl_display, gui().xWindow(kMain), &attributes));
    EXPECT_EQ(attributes.width, 252);
    EXPECT_EQ(attributes.height, 344 + menuHeight_);

    struct Place { int gadget, x, y, w, h; };
    const Place places[] = {
        {54, 58, 280, 45, 35}, {57, 11, 28, 230, 220}, {65, 201, 55, 25, 25},
        {68, 16, 85, 220, 160}, {69, 26, 88, 200, 22},  // combo inside container 68
        {4, 71, 145, 50, 20},                            // field inside set 2 inside 68
        {70, 26, 220, 200, 20}, {74, 4, 306, 50, 16},
    };
    for (const auto& place : places) {
        Fl_Widget* widget = gui().nativeGadget(place.gadget);
        ASSERT_NE(widget, nullptr) << place.gadget;
        EXPECT_EQ(widget->x(), place.x) << place.gadget;
        EXPECT_EQ(widget->y() - menuHeight_, place.y) << place.gadget;
        EXPECT_EQ(widget->w(), place.w) << place.gadget;
        EXPECT_EQ(widget->h(), place.h) << place.gadget;
    }
}

TEST_F(MainWindowTest, ClickOnButtonGivesGadgetAndButtonUpEvents) {
    startCommand("xdotool " + at(80, 297) + " click 1");
    auto event = waitFor([](const Event& e) { return e.kind == EventKind::Gadget; });
    ASSERT_TRUE(event);
    EXPECT_EQ(event->id, 54);
    EXPECT_EQ(event->window, kMain);
    EXPECT_EQ(event->subType, static_cast<int>(GadgetEventType::Click));
    EXPECT_TRUE(waitFor([](const Event& e) {
        return e.kind == EventKind::LeftButtonUp && e.window == kMain;
    }));
    finishCommand();

    // A disabled button gives nothing.
    startCommand("xdotool " + at(125, 297) + " click 1");
    finishCommand();
    clickMarker();
    EXPECT_FALSE(sawEvent(EventKind::Gadget, 55));
}

TEST_F(MainWindowTest, DisabledWindowTakesNoInput) {
    gui().enableWindow(kMain, false);
    startCommand("xdotool " + at(80, 297) + " click 1");
    finishCommand();
    gui().enableWindow(kMain, true);
    clickMarker();
    int clicks = 0;
    for (const Event& event : seen_) clicks += event.kind == EventKind::Gadget && event.id == 54;
    EXPECT_EQ(clicks, 1);
}

TEST_F(MainWindowTest, MenuPickGivesMenuEvent) {
    struct Case { const char* keys; int item; };
    // "File": Open is first; "Control" (second title) has its first item disabled at start.
    const Case cases[] = {{"Down Return", 75}, {"Down Down Return", 76}};
    for (const auto& c : cases) {
        startCommand("xdotool " + at(12, -menuHeight_ / 2) + " click 1 sleep 0.3 key " + c.keys);
        auto event = waitFor([](const Event& e) { return e.kind == EventKind::Menu; });
        ASSERT_TRUE(event) << c.keys;
        EXPECT_EQ(event->id, c.item);
        EXPECT_EQ(event->window, kMain);
        finishCommand();
    }
    EXPECT_TRUE(gui().isMenuItemDisabled(77));
    EXPECT_FALSE(gui().isMenuItemDisabled(75));
    gui().setMenuItemDisabled(77, false);
    EXPECT_FALSE(gui().isMenuItemDisabled(77));
    EXPECT_FALSE(gui().isMenuItemDisabled(12345));  // unknown item
}

TEST_F(MainWindowTest, F9ArrivesAsKeyDownWhateverHasTheFocus) {
    gui().setFocus(70);
    startCommand("xdotool " + at(100, 200) + " key F9");
    auto event = waitFor([](const Event& e) { return e.kind == EventKind::KeyDown; });
    ASSERT_TRUE(event);
    EXPECT_EQ(event->key, 0x78);
    EXPECT_EQ(event->window, kMain);
    finishCommand();
    EXPECT_EQ(gui().focusedGadget(), 70);
    EXPECT_EQ(gui().text(70), "");

    openSampleEditor(gui());
    opened(kEditorWindow);
    gui().setFocus(kEditor);
    startCommand("xdotool mousemove " + windowArg(kEditorWindow) + " 100 100 key F9 key a");
    ASSERT_TRUE(waitFor([](const Event& e) { return e.kind == EventKind::KeyDown && e.key == 'A'; }));
    finishCommand();
    EXPECT_TRUE(std::any_of(seen_.begin(), seen_.end(), [](const Event& e) {
        return e.kind == EventKind::KeyDown && e.key == 0x78 && e.window == kEditorWindow;
    }));
    EXPECT_EQ(gui().text(kEditor), "a");
    EXPECT_EQ(gui().focusedGadget(), kEditor);
}

void sendCloseRequest(unsigned long window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(fl_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(fl_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(fl_display, window, False, NoEventMask, &event);
    XFlush(fl_display);
}

TEST_F(MainWindowTest, CloseBoxIsLeftToTheProgram) {
    sendCloseRequest(gui().xWindow(kMain));
    auto event = waitFor([](const Event& e) { return e.kind == EventKind::WindowClose; });
    ASSERT_TRUE(event);
    EXPECT_EQ(event->window, kMain);
    EXPECT_TRUE(gui().nativeWindow(kMain)->shown());

    // Escape is a key, not a close; a disabled window cannot be closed.
    seen_.clear();
    startCommand("xdotool " + at(100, 200) + " key Escape");
    ASSERT_TRUE(waitFor([](const Event& e) { return e.kind == EventKind::KeyDown && e.key == 0x1B; }));
    finishCommand();
    gui().enableWindow(kMain, false);
    sendCloseRequest(gui().xWindow(kMain));
    settle();
    gui().enableWindow(kMain, true);
    clickMarker();
    EXPECT_FALSE(sawEvent(EventKind::WindowClose, 0));
}

TEST_F(MainWindowTest, TopmostSetsTheAboveState) {
    std::string query = "xprop -id " + std::to_string(gui().xWindow(kMain)) + " _NET_WM_STATE";
    gui().setTopmost(kMain, true);
    EXPECT_NE(output(query).find("_NET_WM_STATE_ABOVE"), std::string::npos);
    gui().setTopmost(kMain, false);
    EXPECT_EQ(output(query).find("_NET_WM_STATE_ABOVE"), std::string::npos);
}

TEST_F(MainWindowTest, ScreenshotOfTheSampleWindow) {
    gui().setTopmost(kMain, true);
    gui().setText(70, "Open the order form");
    settle();
    Fl::flush();
    const char* folder = std::getenv("ZS_ARTIFACT_DIR");
    std::string file = (folder ? std::string(folder) + "/" : testing::TempDir()) + "fltk_main_window.png";
    Fl_Window* window = gui().nativeWindow(kMain);
    std::string crop = std::to_string(window->w()) + "x" + std::to_string(window->h()) + "+" +
                       std::to_string(window->x()) + "+" + std::to_string(window->y());
    ASSERT_EQ(run("import -window root -crop " + crop + " +repage " + file), 0);
    EXPECT_EQ(output("identify -format %wx%h " + file), crop.substr(0, crop.find('+')));
}

}  // namespace
}  // namespace zs::gui::test
