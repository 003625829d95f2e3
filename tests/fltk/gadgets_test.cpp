// Gadget rules, calls from other threads and the dialogs, in Xvfb.
#include "gui_driver.h"
#include "sample_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Text_Editor.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <atomic>
#include <chrono>

namespace zs::gui::test {
namespace {

// Waits for the window of the given title to show, gives it the focus and presses keys in it.
// (Keys chained after a search are sent to the window with XSendEvent, which fails here.) A
// window found before it is mapped refuses the focus and ends xdotool: it tries again.
std::string focusThenKeys(const std::string& title, const std::string& keys) {
    return "sh -c \"until xdotool search --sync --onlyvisible --name '^" + title +
           "$' windowfocus --sync; do sleep 0.1; done; xdotool key " + keys + "\"";
}

class GadgetTest : public GuiTest {
protected:
    void SetUp() override {
        openSampleMain(gui());
        opened(kMain);
        menuHeight_ = gui().nativeWindow(kMain)->h() - 344;
    }

    // Runs fn on a thread of its own while the UI thread keeps handling events.
    void onOtherThread(const std::function<void()>& fn) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            fn();
            done = true;
        });
        // A dialog left open keeps the UI thread in its own loop: a watchdog closes it.
        std::thread watchdog([&] {
            for (int i = 0; i < 300 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!done) {
                ADD_FAILURE() << "the other thread still waits; closing its dialog";
                gui().runOnUi([] {
                    if (Fl::modal()) Fl::modal()->hide();
                });
            }
        });
        pumpUntil([&] { return done.load(); });
        worker.join();
        watchdog.join();
    }

    int menuHeight_ = 0;
};

TEST_F(GadgetTest, ComboItemsShowLiterallyAndSelectByExactText) {
    const std::vector<std::string> items = {"a/b", "R&D", "_under", "@home", "plain", "a\\b"};
    gui().clearItems(3);
    EXPECT_EQ(gui().selected(3), -1);
    EXPECT_EQ(gui().text(3), "");
    for (const auto& item : items) gui().addItem(3, item);
    ASSERT_EQ(gui().itemCount(3), static_cast<int>(items.size()));
    auto* choice = static_cast<Fl_Choice*>(gui().nativeGadget(3));
    const char* shown[] = {"a/b", "R&&D", "_under", "@@home", "plain", "a\\b"};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(gui().itemText(3, static_cast<int>(i)), items[i]);
        gui().select(3, static_cast<int>(i));
        ASSERT_NE(choice->mvalue(), nullptr);
        EXPECT_STREQ(choice->mvalue()->label(), shown[i]);  // the closed field shows it literally
    }

    struct Case { const char* text; int selected; const char* read; };
    const Case cases[] = {
        {"@home", 3, "@home"}, {"R&D", 1, "R&D"}, {"plain ", -1, ""}, {"a/b", 0, "a/b"},
        {"", -1, ""}, {"PLAIN", -1, ""},
    };
    for (const auto& c : cases) {
        gui().setText(3, c.text);
        EXPECT_EQ(gui().selected(3), c.selected) << c.text;
        EXPECT_EQ(gui().text(3), c.read) << c.text;
    }
    gui().select(3, 4);
    gui().addItem(3, "later");  // adding keeps the selection
    EXPECT_EQ(gui().text(3), "plain");
    gui().select(3, 99);
    EXPECT_EQ(gui().selected(3), -1);
    EXPECT_EQ(gui().itemText(3, 99), "");
}

TEST_F(GadgetTest, ListBoxItemsAndSelection) {
    gui().openWindow(48, {100, 100, 60, 90}, "", kBorderless | kAtPosition, kMain);
    opened(48);
    gui().createGadget({49, GadgetKind::ListBox, 48, 0, {0, 0, 60, 90}, "", Align::Left, false, 0});
    for (int i = 1; i <= 12; ++i) gui().addItem(49, std::to_string(i));
    gui().addItem(49, "@b");
    EXPECT_EQ(gui().itemCount(49), 13);
    EXPECT_EQ(gui().selected(49), -1);
    gui().setText(49, "7");
    EXPECT_EQ(gui().selected(49), 6);
    EXPECT_EQ(gui().text(49), "7");
    EXPECT_EQ(gui().itemText(49, 12), "@b");
    Rect rect = gui().windowRect(48);
    EXPECT_EQ(rect, (Rect{100, 100, 60, 90}));

    gui().select(49, 0);  // scrolls the first item back into view
    startCommand("xdotool mousemove " + windowArg(48) + " 20 5 click 1");
    auto event = waitFor([](const Event& e) { return e.kind == EventKind::Gadget; });
    ASSERT_TRUE(event);
    EXPECT_EQ(event->id, 49);
    EXPECT_EQ(event->window, 48);
    EXPECT_EQ(gui().text(49), "1");
}

TEST_F(GadgetTest, DigitsOnlyFieldRefusesLettersTypedAndPasted) {
    gui().setText(4, "");
    gui().setFocus(4);
    startCommand("xdotool mousemove " + windowArg(kMain) + " 100 " +
                 std::to_string(menuHeight_ + 150) + " type 1a2+-b 3");
    finishCommand();
    EXPECT_EQ(gui().text(4), "123");

    gui().runOnUi([] { Fl::copy("7x", 2, 1); });
    startCommand("xdotool key ctrl+v");
    finishCommand();
    EXPECT_EQ(gui().text(4), "123");
    gui().runOnUi([] { Fl::copy("45", 2, 1); });
    startCommand("xdotool key ctrl+v BackSpace");
    finishCommand();
    EXPECT_EQ(gui().text(4), "1234");

    gui().setText(4, "F9 value");  // the program itself may write anything
    EXPECT_EQ(gui().text(4), "F9 value");
    gui().setText(70, "");
    gui().setFocus(70);
    startCommand("xdotool type 'ab 1'");
    finishCommand();
    EXPECT_EQ(gui().text(70), "ab 1");
}

TEST_F(GadgetTest, EditorLinesAndTheCursorLine) {
    openSampleEditor(gui());
    opened(kEditorWindow);
    const std::vector<std::string> lines = {"Zelvorin-Step 2.5", "user - 08.12.2026 10:00", "",
                                            "1;L_Click;50;50;"};
    gui().setLines(kEditor, lines);
    EXPECT_EQ(gui().lines(kEditor), lines);
    EXPECT_EQ(gui().text(kEditor), "Zelvorin-Step 2.5\nuser - 08.12.2026 10:00\n\n1;L_Click;50;50;");
    EXPECT_EQ(gui().cursorLine(kEditor), 0);

    gui().setFocus(kEditor);
    startCommand("xdotool mousemove " + windowArg(kEditorWindow) +
                 " 200 300 key ctrl+End Up End type x");
    finishCommand();
    EXPECT_EQ(gui().cursorLine(kEditor), 2);
    EXPECT_EQ(gui().lines(kEditor)[2], "x");
    EXPECT_TRUE(std::any_of(seen_.begin(), seen_.end(), [](const Event& e) {
        return e.kind == EventKind::Gadget && e.id == kEditor;
    }));

    gui().setLines(kEditor, {});
    EXPECT_EQ(gui().lines(kEditor), std::vector<std::string>{""});
    EXPECT_EQ(gui().cursorLine(kEditor), 0);
}

// Whether the band of a window between the rows top and bottom, as drawn now, holds a dark
// (text) pixel.
bool ShowsTextBetween(Fl_Window& window, int top, int bottom) {
    Fl::flush();
    window.make_current();
    const int w = window.w() - 20;  // without the scroll bar
    unsigned char* rgb = fl_read_image(nullptr, 0, top, w, bottom - top);
    bool dark = false;
    for (int i = 0; rgb && i < w * (bottom - top) && !dark; ++i) dark = rgb[3 * i] < 128;
    delete[] rgb;
    return dark;
}

// A line drawn whole in one request made the X server refuse it, which ended the program. Long
// lines show at their start and at their end, and read back whole.
TEST_F(GadgetTest, EditorShowsAndKeepsALineOfMillionsOfCharacters) {
    openSampleEditor(gui());
    opened(kEditorWindow);
    std::string line = "2;String;";
    for (int i = 0; i < 3'000'000; ++i) line += static_cast<char>('a' + i % 26);
    line += ';';
    const std::vector<std::string> lines = {"Zelvorin-Step 2.5", "user", "", line, "9;end;"};
    gui().setLines(kEditor, lines);
    settle();
    gui().runOnUi([&] {
        auto* editor = static_cast<Fl_Text_Editor*>(gui().nativeGadget(kEditor));
        Fl_Window& window = *gui().nativeWindow(kEditorWindow);
        const int lineHeight = fl_height(editor->textfont(), editor->textsize());
        const int top = editor->y() + 1 + 3 * lineHeight, bottom = top + lineHeight;
        EXPECT_TRUE(ShowsTextBetween(window, top, bottom)) << "the line's start";
        editor->insert_position(editor->buffer()->line_end(editor->buffer()->skip_lines(0, 3)));
        editor->show_insert_position();
        editor->redraw();
        EXPECT_TRUE(ShowsTextBetween(window, top, bottom)) << "the line's end";
        XSync(fl_display, False);  // a refused request would end the program here
    });
    EXPECT_EQ(gui().lines(kEditor), lines);
}

TEST_F(GadgetTest, CallsFromOtherThreadsRunWhileTheUiThreadWaits) {
    std::string read;
    int count = 0;
    onOtherThread([&] {
        gui().setText(66, "from the player");
        gui().select(69, 2);
        read = gui().text(69);
        count = gui().itemCount(69);
    });
    EXPECT_EQ(gui().text(66), "from the player");
    EXPECT_EQ(read, "3 Delay");
    EXPECT_EQ(count, 9);

    // Two threads at once, as the player and the cursor-position thread do.
    onOtherThread([&] {
        std::thread cursor([&] {
            for (int i = 0; i < 200; ++i) gui().setText(73, std::to_string(i));
        });
        for (int i = 0; i < 200; ++i) gui().setText(72, "L1: " + std::to_string(i));
        cursor.join();
    });
    EXPECT_EQ(gui().text(73), "199");
    EXPECT_EQ(gui().text(72), "L1: 199");
}

TEST_F(GadgetTest, MessageBoxFromAnotherThreadIsAnsweredByKeys) {
    gui().setTopmost(kMain, true);
    struct Case { Buttons buttons; const char* keys; Answer answer; };
    const Case cases[] = {
        {Buttons::Ok, "Return", Answer::Ok},
        {Buttons::YesNo, "Return", Answer::Yes},
        {Buttons::YesNo, "Tab Return", Answer::No},
        {Buttons::YesNo, "Escape", Answer::No},
    };
    for (const auto& c : cases) {
        Answer answer = Answer::Ok;
        startCommand(focusThenKeys("Confirm", c.keys));
        onOtherThread([&] { answer = gui().messageBox("Confirm", "File already exists! Replace? a@b", c.buttons); });
        EXPECT_EQ(finishCommand(), 0) << c.keys;
        EXPECT_EQ(answer, c.answer) << c.keys;
    }
}

TEST_F(GadgetTest, FileRequesterReturnsThePathOrNothing) {
    std::string path = testing::TempDir() + "zs_fltk_requester.stp";
    std::optional<std::string> chosen;
    startCommand(focusThenKeys("Filename", "Return"));
    onOtherThread([&] {
        chosen = gui().fileRequester(FileMode::Save, "Filename", path, "STEP file (*.stp)|*.stp");
    });
    finishCommand();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, path);

    startCommand(focusThenKeys("Select execute file", "Escape"));
    onOtherThread([&] {
        chosen = gui().fileRequester(FileMode::Open, "Select execute file", "", "All files (*.*)|*.*");
    });
    finishCommand();
    EXPECT_FALSE(chosen);
}

TEST_F(GadgetTest, NoticeShowsCentredOverItsParentThenCloses) {
    Rect seen;
    std::string text;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        gui().notice("File saved", kMain);
        done = true;
    });
    pumpUntil([&] {
        if (gui().nativeWindow(112) && text.empty()) {
            seen = gui().windowRect(112);
            text = gui().text(113);
        }
        return done.load();
    });
    worker.join();
    EXPECT_EQ(text, "File saved");
    EXPECT_EQ(seen.w, 160);
    EXPECT_EQ(seen.h, 25);
    EXPECT_EQ(seen.x, (Fl::w() - 160) / 2);
    EXPECT_EQ(gui().nativeWindow(112), nullptr);

    gui().notice("Saved", kMain);  // on the UI thread itself
    EXPECT_EQ(gui().nativeWindow(112), nullptr);
    EXPECT_NE(gui().nativeWindow(kMain), nullptr);
}

TEST_F(GadgetTest, BadNumbersAreIgnored) {
    gui().setText(9999, "x");
    EXPECT_EQ(gui().text(9999), "");
    gui().createGadget({500, GadgetKind::Button, 777, 0, {0, 0, 10, 10}, "no window", Align::Left, false, 0});
    EXPECT_EQ(gui().nativeGadget(500), nullptr);
    gui().loadImage(1, Image{2, 2, {0xFFFFFFFFu}});  // too few pixels
    gui().createGadget({501, GadgetKind::ImageButton, kMain, 0, {0, 0, 10, 10}, "", Align::Left, false, 1});
    EXPECT_NE(gui().nativeGadget(501), nullptr);
    EXPECT_EQ(gui().windowRect(4242), Rect{});
    gui().closeWindow(4242);
    gui().setMenuItemDisabled(4242, true);
    EXPECT_TRUE(gui().lines(4242).empty());
    EXPECT_EQ(gui().selected(4242), -1);

    // Re-creating a container drops the gadgets inside it.
    gui().createGadget({68, GadgetKind::Container, kMain, 0, {16, 85, 220, 160}, "", Align::Left, false, 0});
    EXPECT_EQ(gui().nativeGadget(69), nullptr);
    EXPECT_EQ(gui().nativeGadget(4), nullptr);
    EXPECT_NE(gui().nativeGadget(54), nullptr);
}

}  // namespace
}  // namespace zs::gui::test
