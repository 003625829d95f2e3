
#include "platform/fltk/fltk_state.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Text_Buffer.H>

#include <algorithm>

namespace zs::gui::fltk {

State* State::current = nullptr;

void centreOver(const WindowRecord* owner, int w, int h, int& x, int& y) {
    int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
    Fl::screen_work_area(screenX, screenY, screenW, screenH);
    int areaX = screenX, areaY = screenY, areaW = screenW, areaH = screenH;
    if (owner && owner->window) {
        areaX = owner->window->x();
        areaY = owner->window->y() + owner->menuHeight;
        areaW = owner->clientWidth;
        areaH = owner->clientHeight;
    }
    x = areaX + (areaW - w) / 2;
    y = areaY + (areaH - h) / 2;
    if (w <= screenW) x = std::clamp(x, screenX, screenX + screenW - w);
    if (h <= screenH) y = std::clamp(y, screenY, screenY + screenH - h);
}

GadgetRecord::GadgetRecord() = default;
GadgetRecord::~GadgetRecord() = default;
GadgetRecord::GadgetRecord(GadgetRecord&&) noexcept = default;
GadgetRecord& GadgetRecord::operator=(GadgetRecord&&) noexcept = default;
ImageRecord::ImageRecord() = default;
ImageRecord::~ImageRecord() = default;

State::State(int ppi) : pixelsPerInch(ppi > 0 ? ppi : 96) { current = this; }

State::~State() {
    while (!windows.empty()) destroyWindow(windows.begin()->first);
    if (current == this) current = nullptr;
}

WindowRecord* State::window(int id) {
    auto found = windows.find(id);
    return found == windows.end() ? nullptr : &found->second;
}

WindowRecord* State::mainWindow() {
    for (auto& [id, record] : windows) {
        if (!record.owner && record.window && record.window->shown()) return &record;
    }
    return nullptr;
}

GadgetRecord* State::gadget(int id) {
    auto found = gadgets.find(id);
    return found == gadgets.end() ? nullptr : &found->second;
}

int State::windowIdOf(const Fl_Window* window) const {
    for (const auto& [id, record] : windows) {
        if (record.window == window) return id;
    }
    return 0;
}

Fl_Menu_Item* State::menuItem(int item) {
    auto found = menuItemWindow.find(item);
    WindowRecord* record = found == menuItemWindow.end() ? nullptr : window(found->second);
    if (!record) return nullptr;
    for (auto& entry : record->menuItems) {
        bool isItem = entry.text && !(entry.flags & FL_SUBMENU);
        if (isItem && entry.user_data_ == reinterpret_cast<void*>(static_cast<std::intptr_t>(item))) {
            return &entry;
        }
    }
    return nullptr;
}

void State::destroyGadget(int id) {
    GadgetRecord* record = gadget(id);
    if (!record) return;
    Fl_Widget* widget = record->widget;
    // Gadgets inside a container go with it.
    std::vector<int> inside;
    for (const auto& [otherId, other] : gadgets) {
        if (otherId != id && widget->contains(other.widget)) inside.push_back(otherId);
    }
    inside.push_back(id);
    if (widget->parent()) widget->parent()->remove(widget);
    delete widget;  // before the records, which own the buffers of editors
    for (int gone : inside) {
        gadgetOfWidget.erase(gadgets[gone].widget);
        gadgets.erase(gone);
    }
}

void State::destroyWindow(int id) {
    WindowRecord* record = window(id);
    if (!record) return;
    record->window->hide();
    delete record->window;  // deletes its widgets; their records go below
    for (auto it = gadgets.begin(); it != gadgets.end();) {
        if (it->second.window == id) {
            gadgetOfWidget.erase(it->second.widget);
            it = gadgets.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = menuItemWindow.begin(); it != menuItemWindow.end();) {
        it = it->second == id ? menuItemWindow.erase(it) : std::next(it);
    }
    windows.erase(id);
}

}  // namespace zs::gui::fltk
