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
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
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
    std::function<void()> answered;  // on the UI thread, once the box is answered
};

void answerWith(BoxAnswer& box, Answer answer) {
    box.answer = answer;
    box.window->hide();
    if (box.answered) box.answered();
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

// Shows a window over the program's main window, above every other window (the main window may
// be top-most) and with the keyboard focus on its first button.
void showOverMain(Fl_Window& window, Fl_Widget& focus, fltk::WindowRecord* main) {
    fltk::showOwned(window, main ? main->window : nullptr,
                    [](unsigned long xid) { fltk::setFixedFrame(xid, true); });
    fltk::waitExposed(window);
    focus.take_focus();  // takes only once the window is shown
    fltk::setAbove(fl_xid(&window), true);
    fltk::focusWindow(fl_xid(&window));
}

// Shows the window until it is hidden; the program's other windows take no input meanwhile.
void runModal(Fl_Window& window, Fl_Widget& focus, fltk::WindowRecord* main) {
    window.set_modal();
    showOverMain(window, focus, main);
    while (window.shown()) Fl::wait(1e20);
}

// Room that a title bar needs besides its title: the frame's edges, an icon and the buttons
// that a window manager may draw in it whatever the box asks for (three on openbox).
constexpr int kTitleBarExtra = 110;

// A message box as made, not shown yet. The box's answer is kept apart from the window, whose
// callbacks point at it.
struct MessageBoxWindow {
    std::unique_ptr<Fl_Window> window;
    std::unique_ptr<BoxAnswer> box;
    Fl_Widget* firstButton = nullptr;
};

MessageBoxWindow makeMessageBox(const std::string& title, const std::string& text,
                                Buttons buttons, const fltk::FontChoice& font,
                                fltk::WindowRecord* main) {
    constexpr int kButtonW = 75, kButtonH = 25, kMargin = 16, kMaxTextW = 420;
    int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
    Fl::screen_work_area(screenX, screenY, screenW, screenH);
    // A text too long for the screen is cut; a frame and title bar need some room as well.
    int maxTextH = std::max(font.pixels, screenH - kButtonH - 3 * kMargin - 60);
    std::string label = fltk::fittedLabel(text, font.face, font.pixels, kMaxTextW, maxTextH, false);
    fl_font(font.face, font.pixels);
    int textW = kMaxTextW, textH = 0;
    fl_measure(label.c_str(), textW, textH, 0);
    std::string shownTitle = fltk::fitTitle(title);
    fl_font(FL_HELVETICA_BOLD, font.pixels);  // title bars draw bold text
    int titleW = std::min(screenW, static_cast<int>(fl_width(shownTitle.c_str())) + kTitleBarExtra);
    int buttonCount = buttons == Buttons::YesNo ? 2 : 1;
    int rowW = buttonCount * kButtonW + (buttonCount - 1) * 8;
    // A left-aligned label is drawn 3 pixels in from each side of its box; without that room
    // the measured text would wrap once more.
    constexpr int kLabelInset = 6;
    int w = std::max({textW + kLabelInset + 2 * kMargin, rowW + 2 * kMargin, 160 + 2 * kMargin,
                      titleW});
    int h = textH + kButtonH + 3 * kMargin;

    Fl_Group::current(nullptr);
    MessageBoxWindow made;
    made.window = std::make_unique<Fl_Window>(w, h);
    Fl_Window& window = *made.window;
    window.box(FL_UP_BOX);  // an edge of its own, for desktops that draw no window frames
    window.copy_label(shownTitle.c_str());
    made.box = std::make_unique<BoxAnswer>();
    BoxAnswer& box = *made.box;
    box.window = &window;
    box.onClose = buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
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
    int x = 0, y = 0;
    fltk::centreOver(main, w, h, x, y);
    window.position(x, y);
    made.firstButton = first;
    return made;
}

// The desktop's own chooser is the GTK one that FLTK loads at run time; it is there when FLTK
// will find the same libraries, tried in FLTK's order.
bool desktopChooserAvailable() {
    if (!Fl::option(Fl::OPTION_FNFC_USES_GTK)) return false;
    static const bool found = [] {
        for (const char* library : {"libgtk-x11-2.0.so", "libgtk-x11-2.0.so.0", "libgtk-3.so",
                                    "libgtk-3.so.0"}) {
            if (dlopen(library, RTLD_LAZY | RTLD_GLOBAL)) return true;  // kept: FLTK uses it
        }
        return false;
    }();
    return found;
}

std::string currentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

// Without a window manager nothing gives the desktop's dialog the keyboard focus. The dialog runs
// GTK's loop, in which FLTK's timers do not run; a timer of GLib, the library under GTK, looks
// for the dialog, made transient for the FLTK window shown last, and gives it the focus and the
// top-most state once it shows, as the program's own dialogs get them.
struct DesktopDialogWatch {
    unsigned long owner = 0;
    bool done = false;
};

int focusDesktopDialog(void* data) {
    auto& watch = *static_cast<DesktopDialogWatch*>(data);
    fltk::ignoringXErrors([&] {
        if (unsigned long dialog = fltk::foreignTransientFor(watch.owner)) {
            fltk::setAbove(dialog, true);
            fltk::focusWindow(dialog);
            watch.done = true;
        }
    });
    return watch.done ? 0 : 1;  // GLib calls again while this returns true
}

// Runs show while the watch looks for the dialog; GLib is there once GTK is.
int showFocusingDesktopDialog(const std::function<int()>& show) {
    using SourceFunc = int (*)(void*);
    static const auto timeoutAdd = reinterpret_cast<unsigned (*)(unsigned, SourceFunc, void*)>(
        dlsym(RTLD_DEFAULT, "g_timeout_add"));
    static const auto sourceRemove =
        reinterpret_cast<int (*)(unsigned)>(dlsym(RTLD_DEFAULT, "g_source_remove"));
    Fl_Window* owner = Fl::first_window();
    DesktopDialogWatch watch{owner ? fl_xid(owner) : 0};
    unsigned timer = 0;
    if (watch.owner && timeoutAdd && sourceRemove && !fltk::windowManagerRunning()) {
        timer = timeoutAdd(50, focusDesktopDialog, &watch);
    }
    const int shown = show();
    if (timer && !watch.done) sourceRemove(timer);
    return shown;
}

// nullopt when the chooser failed to show (the fallback is used then); "" when cancelled.
std::optional<std::optional<std::string>> desktopChooser(FileMode mode, const std::string& title,
                                                         const std::string& defaultFile,
                                                         const std::string& filter) {
    Fl_Native_File_Chooser chooser(mode == FileMode::Save
                                       ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                                       : Fl_Native_File_Chooser::BROWSE_FILE);
    chooser.title(title.c_str());
    std::string filters = fltk::nativeFilter(filter);
    if (!filters.empty()) chooser.filter(filters.c_str());
    std::string folder = currentFolder();
    std::string name = defaultFile;
    if (auto slash = defaultFile.rfind('/'); slash != std::string::npos) {
        folder = defaultFile.substr(0, slash + 1);
        name = defaultFile.substr(slash + 1);
    }
    chooser.directory(folder.c_str());
    if (!name.empty()) chooser.preset_file(name.c_str());
    int shown = -1;
    fltk::keepingXErrorHandlers(
        [&] { shown = showFocusingDesktopDialog([&] { return chooser.show(); }); });
    switch (shown) {
        case 0: {
            const char* chosen = chooser.filename();
            if (chosen && *chosen) return std::optional<std::string>(chosen);
            return std::optional<std::string>();
        }
        case 1: return std::optional<std::string>();
        default: return std::nullopt;
    }
}

// The field where the FLTK chooser takes the name, found in its window.
Fl_File_Input* nameField(Fl_Group& group) {
    for (int i = 0; i < group.children(); ++i) {
        Fl_Widget* child = group.child(i);
        if (auto* field = dynamic_cast<Fl_File_Input*>(child)) return field;
        if (auto* inner = child->as_group()) {
            if (Fl_File_Input* field = nameField(*inner)) return field;
        }
    }
    return nullptr;
}

std::optional<std::string> fallbackChooser(FileMode mode, const std::string& title,
                                           const std::string& defaultFile,
                                           const std::string& filter, fltk::WindowRecord* main) {
    std::string pattern = fltk::chooserFilter(filter);
    int type = mode == FileMode::Save ? Fl_File_Chooser::CREATE : Fl_File_Chooser::SINGLE;
    Fl_Group::current(nullptr);
    Fl_File_Chooser chooser(defaultFile.empty() ? "." : defaultFile.c_str(),
                            pattern.empty() ? nullptr : pattern.c_str(), type, title.c_str());
    if (main) Fl::first_window(main->window);
    chooser.show();
    // The chooser is the window shown last; lift it above a top-most owner.
    if (Fl_Window* shown = Fl::first_window()) {
        if (main) fltk::setTransientFor(fl_xid(shown), fl_xid(main->window));
        fltk::waitExposed(*shown);
        // The field holds the folder, selected: a name typed over it would be taken as a
        // change of folder with each key, and come out garbled. The cursor goes after the
        // folder instead, so that what is typed is the name in it.
        if (Fl_File_Input* field = nameField(*shown)) {
            std::string folder = chooser.directory() ? chooser.directory() : "";
            if (defaultFile.empty() && !folder.empty()) {
                if (folder.back() != '/') folder += '/';
                field->value(folder.c_str());
            }
            field->position(field->size());
        }
        fltk::setAbove(fl_xid(shown), true);
        fltk::focusWindow(fl_xid(shown));
    }
    while (chooser.shown()) Fl::wait(1e20);
    if (chooser.count() < 1 || !chooser.value()) return std::nullopt;
    return std::string(chooser.value());
}

}  // namespace

// A box of the UI thread is modal. A box that another thread asks for holds up that thread
// only, as such a box does on Windows: the program's windows stay usable meanwhile, so that
// the player's boxes leave Stop working.
Answer FltkGui::messageBox(const std::string& title, const std::string& text, Buttons buttons) {
    const fltk::FontChoice font =
        onUi([&] { return state_->defaultFont.value_or(fltk::FontChoice{}); });
    if (fltk::UiThread::instance().isCurrent()) {
        MessageBoxWindow made = makeMessageBox(title, text, buttons, font, state_->mainWindow());
        runModal(*made.window, *made.firstButton, state_->mainWindow());
        return made.box->answer;
    }
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    MessageBoxWindow made;
    onUi([&] {
        made = makeMessageBox(title, text, buttons, font, state_->mainWindow());
        made.box->answered = [&] {
            std::lock_guard lock(mutex);
            done = true;
            answered.notify_all();
        };
        made.window->set_non_modal();  // stays above the main window, takes no input from it
        showOverMain(*made.window, *made.firstButton, state_->mainWindow());
    });
    {
        std::unique_lock lock(mutex);
        answered.wait(lock, [&] { return done; });
    }
    return onUi([&] {
        const Answer answer = made.box->answer;
        made.window.reset();
        return answer;
    });
}

std::optional<std::string> FltkGui::fileRequester(FileMode mode, const std::string& title,
                                                  const std::string& defaultFile,
                                                  const std::string& filter) {
    return onUi([&]() -> std::optional<std::string> {
        if (desktopChooserAvailable()) {
            if (auto chosen = desktopChooser(mode, title, defaultFile, filter)) return *chosen;
        }
        return fallbackChooser(mode, title, defaultFile, filter, state_->mainWindow());
    });
}

void FltkGui::notice(const std::string& text, int parentWindow) {
    onUi([&] {
        int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
        Fl::screen_work_area(screenX, screenY, screenW, screenH);
        // As wide as the text asks, but no wider than the screen: the text is cut to that.
        int w = static_cast<int>(std::clamp<long long>(
            16LL * static_cast<long long>(fltk::characterCount(text)), 16, std::max(16, screenW)));
        int h = 25;
        Rect rect;
        rect.w = w;
        rect.h = h;
        fltk::centreOver(state_->window(parentWindow), w, h, rect.x, rect.y);
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
