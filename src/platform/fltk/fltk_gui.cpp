// FltkGui: windows, fonts, images and the carrying of calls to the UI thread.

#include "platform/fltk/fltk_gui.h"
#include "platform/fltk/fltk_draw.h"
#include "platform/fltk/fltk_state.h"
#include "platform/fltk/fltk_text.h"
#include "platform/fltk/fltk_x11.h"
#include "platform/fltk/ui_thread.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/x.H>

#include <deque>
#include <mutex>

namespace zs::gui {

using fltk::State;
using fltk::WindowRecord;

namespace {

void onWindowClose(Fl_Widget* widget, void*) {
    // Escape would close an FLTK window; here it is a key like any other.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    State* state = State::current;
    if (!state) return;
    int id = state->windowIdOf(static_cast<Fl_Window*>(widget));
    const WindowRecord* record = state->window(id);
    if (record && !record->disabled) state->push({EventKind::WindowClose, id, 0, 0, 0});
}

// Face names must outlive every FLTK font slot that points at them.
Fl_Font fontSlot(const std::string& face) {
    static std::mutex mutex;
    static std::deque<std::string> names;
    static std::map<std::string, Fl_Font> slots;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = slots.find(face);
    if (found != slots.end()) return found->second;
    // The leading blank is FLTK's style character (plain); without it "Arial" reads as "rial".
    names.push_back(" " + face);
    auto slot = static_cast<Fl_Font>(FL_FREE_FONT + static_cast<int>(slots.size()));
    Fl::set_font(slot, names.back().c_str());
    slots[face] = slot;
    return slot;
}

}  // namespace

void fltk::applyFrame(const WindowRecord& record) {
    if (!(record.flags & kBorderless) && record.window->shown()) {
        fltk::setFixedFrame(fl_xid(record.window), record.flags & kCloseBox);
        // The main window: no minimise or maximise box on any window manager.
        if (record.owner == 0) fltk::setToolWindowType(fl_xid(record.window));
    }
}

FltkGui::FltkGui(int pixelsPerInch) {
    fltk::UiThread::instance();
    runOnUi([&] {
        fl_open_display();
        fltk::installClippedTextDrawing();
        fltk::installEventDispatch();
        state_ = std::make_unique<State>(pixelsPerInch);
    });
}

FltkGui::~FltkGui() {
    runOnUi([&] { state_.reset(); });
}

void FltkGui::runOnUi(const std::function<void()>& fn) { fltk::UiThread::instance().run(fn); }

bool FltkGui::openWindow(int id, Rect rect, const std::string& title, unsigned flags, int owner) {
    return onUi([&] {
        state_->destroyWindow(id);
        int w = std::max(1, rect.w), h = std::max(1, rect.h);
        Fl_Group::current(nullptr);
        auto* window = new Fl_Double_Window(w, h);
        auto* client = new Fl_Group(0, 0, w, h);
        client->end();
        window->end();
        Fl_Group::current(nullptr);
        window->resizable(nullptr);
        window->size_range(w, h, w, h);
        window->copy_label(fltk::fitTitle(title).c_str());
        window->callback(onWindowClose);
        if (flags & kBorderless) window->border(0);
        int x = rect.x, y = rect.y;
        if (flags & kCentered) fltk::centreOver(state_->window(owner), w, h, x, y);
        if (flags & (kCentered | kAtPosition)) window->position(x, y);
        WindowRecord& record = state_->windows[id];
        record = WindowRecord{};
        record.id = id;
        record.window = window;
        record.client = client;
        record.owner = owner;
        record.flags = flags;
        record.clientWidth = w;
        record.clientHeight = h;
        const WindowRecord* ownerRecord = state_->window(owner);
        fltk::showOwned(*window, ownerRecord ? ownerRecord->window : nullptr,
                        [&](unsigned long) { fltk::applyFrame(record); });
        return true;
    });
}

void FltkGui::closeWindow(int id) {
    onUi([&] { state_->destroyWindow(id); });
}

void FltkGui::setTopmost(int window, bool on) {
    onUi([&] {
        WindowRecord* record = state_->window(window);
        if (!record) return;
        record->topmost = on;
        fltk::setAbove(fl_xid(record->window), on);
    });
}

void FltkGui::enableWindow(int window, bool on) {
    // Input to a disabled window is dropped by the event dispatch; its gadgets keep their look,
    // as a window that waits for its owned window does on Windows.
    onUi([&] {
        if (WindowRecord* record = state_->window(window)) record->disabled = !on;
    });
}

void FltkGui::activateWindow(int window) {
    onUi([&] {
        WindowRecord* record = state_->window(window);
        if (!record) return;
        record->window->show();
        fltk::focusWindow(fl_xid(record->window));
        if (record->topmost) fltk::setAbove(fl_xid(record->window), true);
    });
}

Rect FltkGui::windowRect(int window) {
    return onUi([&] {
        const WindowRecord* record = state_->window(window);
        if (!record) return Rect{};
        return Rect{record->window->x(), record->window->y() + record->menuHeight,
                    record->clientWidth, record->clientHeight};
    });
}

void FltkGui::loadFont(int id, const std::string& face, int points, bool) {
    onUi([&] {
        state_->fonts[id] = {fontSlot(face), fltk::pointsToPixels(points, state_->pixelsPerInch)};
    });
}

void FltkGui::setDefaultFont(int id) {
    onUi([&] {
        auto found = state_->fonts.find(id);
        if (found != state_->fonts.end()) state_->defaultFont = found->second;
    });
}

void FltkGui::loadImage(int id, const Image& image) {
    onUi([&] {
        auto count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
        if (image.width <= 0 || image.height <= 0 || image.pixels.size() != count) return;
        auto record = std::make_unique<fltk::ImageRecord>();
        record->rgba.reserve(count * 4);
        for (std::uint32_t argb : image.pixels) {
            record->rgba.push_back(static_cast<unsigned char>(argb >> 16));
            record->rgba.push_back(static_cast<unsigned char>(argb >> 8));
            record->rgba.push_back(static_cast<unsigned char>(argb));
            record->rgba.push_back(static_cast<unsigned char>(argb >> 24));
        }
        record->image = std::make_unique<Fl_RGB_Image>(record->rgba.data(), image.width,
                                                       image.height, 4);
        record->inactive.reset(record->image->copy());
        record->inactive->inactive();
        state_->images[id] = record.get();
        state_->allImages.push_back(std::move(record));
    });
}

Fl_Window* FltkGui::nativeWindow(int window) {
    const WindowRecord* record = state_->window(window);
    return record ? record->window : nullptr;
}

Fl_Widget* FltkGui::nativeGadget(int gadget) {
    const fltk::GadgetRecord* record = state_->gadget(gadget);
    return record ? record->widget : nullptr;
}

unsigned long FltkGui::xWindow(int window) {
    Fl_Window* native = nativeWindow(window);
    return native && native->shown() ? fl_xid(native) : 0;
}

}  // namespace zs::gui
