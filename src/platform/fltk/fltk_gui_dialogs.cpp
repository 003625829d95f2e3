// FltkGui: message box, file requester and the short notice window.
#include "platform/fltk/fltk_gui.h"
#include "platform/fltk/fltk_state.h"
#include "platform/fltk/fltk_text.h"
#include "platform/fltk/fltk_x11.h"
#include "platform/fltk/ui_thread.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <chrono>
#include <thread>

namespace zs::gui {

namespace {

constexpr int kNoticeWindow = 112;
constexpr int kNoticeText = 113;
constexpr auto kNoticeTime = std::chrono::milliseconds(600);

struct BoxAnswer {
    Fl_Window* window = nullptr;
    Answer answer = Answer::Ok;
    Answer onClose = Answer::Ok;  // the close box and Escape
};

void answerWith(BoxAnswer& box, Answer answer) {
    box.answer = answer;
    box.window->hide();
}

// Return presses the focused button, as Windows' dialog buttons do; FLTK's own buttons take
// only the space bar.
class DialogButton : public Fl_Button {
public:
    DialogButton(int x, int y, int w, int h, const char* label) : Fl_Button(x, y, w, h, label) {}
    int handle(int event) override {
        bool enter = Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter;
        if (event == FL_KEYBOARD && enter && Fl::focus() == this) {
            do_callback();
            return 1;
        }
        return Fl_Button::handle(event);
    }
};

void onOk(Fl_Widget*, void* box) { answerWith(*static_cast<BoxAnswer*>(box), Answer::Ok); }
void onYes(Fl_Widget*, void* box) { answerWith(*static_cast<BoxAnswer*>(box), Answer::Yes); }
void onNo(Fl_Widget*, void* box) { answerWith(*static_cast<BoxAnswer*>(box), Answer::No); }
void onBoxClose(Fl_Widget*, void* data) {
    auto& box = *static_cast<BoxAnswer*>(data);
    answerWith(box, box.onClose);
}

// Shows a window until it is hidden, above every other window (the program's own may be
// top-most) and with the keyboard focus on its first button.
void runModal(Fl_Window& window, Fl_Widget& focus) {
    window.set_modal();
    window.show();
    window.wait_for_expose();
    focus.take_focus();  // takes only once the window is shown
    fltk::setAbove(fl_xid(&window), true);
    fltk::focusWindow(fl_xid(&window));
    while (window.shown()) Fl::wait(1e20);
}

void centreOnScreen(Fl_Window& window) {
    int x = 0, y = 0, w = 0, h = 0;
    Fl::screen_work_area(x, y, w, h);
    window.position(x + (w - window.w()) / 2, y + (h - window.h()) / 2);
}

Answer showMessageBox(const std::string& title, const std::string& text, Buttons buttons,
                      const fltk::FontChoice& font) {
    constexpr int kButtonW = 75, kButtonH = 25, kMargin = 16, kMaxTextW = 420;
    std::string label = fltk::escapeLabel(text);
    fl_font(font.face, font.pixels);
    int textW = kMaxTextW, textH = 0;
    fl_measure(label.c_str(), textW, textH, 0);
    int buttonCount = buttons == Buttons::YesNo ? 2 : 1;
    int rowW = buttonCount * kButtonW + (buttonCount - 1) * 8;
    // A left-aligned label is drawn 3 pixels in from each side of its box; without that room
    // the measured text would wrap once more.
    constexpr int kLabelInset = 6;
    int w = std::max({textW + kLabelInset, rowW, 160}) + 2 * kMargin;
    int h = textH + kButtonH + 3 * kMargin;

    Fl_Group::current(nullptr);
    Fl_Window window(w, h);
    window.box(FL_UP_BOX);  // an edge of its own, for desktops that draw no window frames
    window.copy_label(title.c_str());
    BoxAnswer box{&window, Answer::Ok, buttons == Buttons::YesNo ? Answer::No : Answer::Ok};
    auto* message = new Fl_Box(kMargin, kMargin, w - 2 * kMargin, textH);
    message->copy_label(label.c_str());
    message->labelfont(font.face);
    message->labelsize(font.pixels);
    const int buttonFont = font.pixels + 1;
    message->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    int buttonX = (w - rowW) / 2, buttonY = h - kMargin - kButtonH;
    auto* first = new DialogButton(buttonX, buttonY, kButtonW, kButtonH,
                                       buttons == Buttons::YesNo ? "Yes" : "OK");
    first->callback(buttons == Buttons::YesNo ? onYes : onOk, &box);
    first->labelfont(font.face);
    first->labelsize(buttonFont);
    if (buttons == Buttons::YesNo) {
        auto* no = new DialogButton(buttonX + kButtonW + 8, buttonY, kButtonW, kButtonH, "No");
        no->callback(onNo, &box);
        no->labelfont(font.face);
        no->labelsize(buttonFont);
    }
    window.end();
    Fl_Group::current(nullptr);
    window.callback(onBoxClose, &box);
    centreOnScreen(window);
    runModal(window, *first);
    return box.answer;
}

}  // namespace

Answer FltkGui::messageBox(const std::string& title, const std::string& text, Buttons buttons) {
    return onUi([&] {
        return showMessageBox(title, text, buttons, state_->defaultFont.value_or(fltk::FontChoice{}));
    });
}

std::optional<std::string> FltkGui::fileRequester(FileMode mode, const std::string& title,
                                                  const std::string& defaultFile,
                                                  const std::string& filter) {
    return onUi([&]() -> std::optional<std::string> {
        std::string pattern = fltk::chooserFilter(filter);
        int type = mode == FileMode::Save ? Fl_File_Chooser::CREATE : Fl_File_Chooser::SINGLE;
        Fl_Group::current(nullptr);
        Fl_File_Chooser chooser(defaultFile.empty() ? "." : defaultFile.c_str(),
                                pattern.empty() ? nullptr : pattern.c_str(), type, title.c_str());
        chooser.show();
        // The chooser is the window shown last; lift it above a top-most owner.
        if (Fl_Window* shown = Fl::first_window()) {
            shown->wait_for_expose();
            fltk::setAbove(fl_xid(shown), true);
            fltk::focusWindow(fl_xid(shown));
        }
        while (chooser.shown()) Fl::wait(1e20);
        if (chooser.count() < 1 || !chooser.value()) return std::nullopt;
        return std::string(chooser.value());
    });
}

void FltkGui::notice(const std::string& text, int parentWindow) {
    onUi([&] {
        int w = std::max(16, 16 * fltk::characterCount(text)), h = 25;
        int x = 0, y = 0, screenW = 0, screenH = 0;
        Fl::screen_work_area(x, y, screenW, screenH);
        Rect rect{x + (screenW - w) / 2, y + (screenH - h) / 2, w, h};
        openWindow(kNoticeWindow, rect, "", kBorderless | kAtPosition, parentWindow);
        createGadget({kNoticeText, GadgetKind::Text, kNoticeWindow, 0, {0, 0, w, h}, text,
                      Align::Center, false, 0});
        setFont(kNoticeText, 1);
        if (Fl_Widget* label = nativeGadget(kNoticeText)) {
            label->box(FL_FLAT_BOX);
            label->color(fl_rgb_color(192, 192, 192));
            label->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
        }
        setTopmost(kNoticeWindow, true);
    });
    auto deadline = std::chrono::steady_clock::now() + kNoticeTime;
    if (fltk::UiThread::instance().isCurrent()) {
        // The window stays drawn and the program's events queue up meanwhile.
        for (auto now = std::chrono::steady_clock::now(); now < deadline;
             now = std::chrono::steady_clock::now()) {
            Fl::wait(std::chrono::duration<double>(deadline - now).count());
        }
    } else {
        std::this_thread::sleep_until(deadline);
    }
    onUi([&] {
        closeWindow(kNoticeWindow);
        activateWindow(parentWindow);
    });
}

}  // namespace zs::gui
