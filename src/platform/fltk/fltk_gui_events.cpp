// FltkGui: menus and the event queue. Every FLTK event passes the dispatch below, which turns
// key presses and left-button releases in the program's windows into events and drops input to
// disabled windows.
#include "platform/fltk/fltk_gui.h"
#include "platform/fltk/fltk_state.h"
#include "platform/fltk/fltk_text.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>

#include <chrono>
#include <cstdint>

namespace zs::gui {

using fltk::State;
using fltk::WindowRecord;

namespace {

bool isUserInput(int event) {
    switch (event) {
        case FL_PUSH: case FL_RELEASE: case FL_DRAG: case FL_MOUSEWHEEL:
        case FL_KEYDOWN: case FL_KEYUP: case FL_DND_ENTER: case FL_DND_DRAG:
        case FL_DND_RELEASE: case FL_PASTE:
            return true;
        default:
            return false;
    }
}

int dispatch(int event, Fl_Window* window) {
    State* state = State::current;
    Fl_Window* top = window ? window->top_window() : nullptr;
    int id = state && top ? state->windowIdOf(top) : 0;
    const WindowRecord* record = id ? state->window(id) : nullptr;
    if (record && record->disabled && isUserInput(event)) return 1;
    int handled = Fl::handle_(event, window);
    // While a modal dialog is open the program's windows take no input.
    if (!id || (Fl::modal() && Fl::modal() != top)) return handled;
    if (event == FL_KEYDOWN) {
        int key = fltk::virtualKeyFromFltk(Fl::event_key());
        if (key) state->push({EventKind::KeyDown, id, 0, 0, key});
    } else if (event == FL_RELEASE && Fl::event_button() == FL_LEFT_MOUSE) {
        state->push({EventKind::LeftButtonUp, id, 0, 0, 0});
    }
    return handled;
}

void onMenuItem(Fl_Widget* bar, void* item) {
    State* state = State::current;
    if (!state) return;
    int window = state->windowIdOf(bar->window());
    state->push({EventKind::Menu, window, static_cast<int>(reinterpret_cast<std::intptr_t>(item)),
                 0, 0});
}

void fillMenu(WindowRecord& record, const std::vector<MenuTitle>& menu) {
    record.menuLabels.clear();
    for (const auto& title : menu) {
        record.menuLabels.push_back(fltk::escapeShortcutLabel(title.title));
        for (const auto& item : title.items) {
            record.menuLabels.push_back(item.id ? fltk::escapeShortcutLabel(item.text) : "");
        }
    }
    record.menuItems.clear();
    std::size_t label = 0;
    for (const auto& title : menu) {
        record.menuItems.push_back({record.menuLabels[label++].c_str(), 0, nullptr, nullptr,
                                    FL_SUBMENU, FL_NORMAL_LABEL, 0, 0, 0});
        std::size_t firstItem = record.menuItems.size();
        for (const auto& item : title.items) {
            const char* text = record.menuLabels[label++].c_str();
            if (!item.id) {  // a separator: a line under the item before it
                if (record.menuItems.size() > firstItem) record.menuItems.back().flags |= FL_MENU_DIVIDER;
                continue;
            }
            void* data = reinterpret_cast<void*>(static_cast<std::intptr_t>(item.id));
            record.menuItems.push_back({text, 0, onMenuItem, data, 0, FL_NORMAL_LABEL, 0, 0, 0});
        }
        record.menuItems.push_back({});
    }
    record.menuItems.push_back({});
}

}  // namespace

void fltk::installEventDispatch() { Fl::event_dispatch(dispatch); }

void FltkGui::createMenu(int window, const std::vector<MenuTitle>& menu) {
    onUi([&] {
        WindowRecord* record = state_->window(window);
        if (!record) return;
        fillMenu(*record, menu);
        for (const auto& title : menu) {
            for (const auto& item : title.items) {
                if (item.id) state_->menuItemWindow[item.id] = window;
            }
        }
        fltk::FontChoice font = state_->defaultFont.value_or(fltk::FontChoice{});
        if (!record->menuBar) {
            record->menuHeight = font.pixels + 12;
            Fl_Group::current(nullptr);
            record->menuBar = new Fl_Menu_Bar(0, 0, record->clientWidth, record->menuHeight);
            Fl_Group::current(nullptr);
            record->window->add(record->menuBar);
            // The window grows by the bar; the gadgets keep their places in the client area.
            int height = record->clientHeight + record->menuHeight;
            record->window->size_range(record->clientWidth, height, record->clientWidth, height);
            record->window->size(record->clientWidth, height);
            record->client->position(0, record->menuHeight);
            fltk::applyFrame(*record);
        }
        record->menuBar->textfont(font.face);
        record->menuBar->textsize(font.pixels);
        record->menuBar->menu(record->menuItems.data());
        record->window->redraw();
    });
}

void FltkGui::setMenuItemDisabled(int item, bool on) {
    onUi([&] {
        Fl_Menu_Item* entry = state_->menuItem(item);
        if (!entry) return;
        if (on) {
            entry->flags |= FL_MENU_INACTIVE;
        } else {
            entry->flags &= ~FL_MENU_INACTIVE;
        }
        WindowRecord* record = state_->window(state_->menuItemWindow[item]);
        if (record && record->menuBar) record->menuBar->redraw();
    });
}

bool FltkGui::isMenuItemDisabled(int item) {
    return onUi([&] {
        const Fl_Menu_Item* entry = state_->menuItem(item);
        return entry && (entry->flags & FL_MENU_INACTIVE);
    });
}

Event FltkGui::waitEvent() {
    return onUi([&] {
        while (state_->events.empty()) Fl::wait(1e20);
        Event event = state_->events.front();
        state_->events.pop_front();
        return event;
    });
}

void FltkGui::postEvent(const Event& event) {
    onUi([&] { state_->push(event); });
}

std::optional<Event> FltkGui::waitEventFor(double seconds) {
    return onUi([&]() -> std::optional<Event> {
        using Clock = std::chrono::steady_clock;
        auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
        while (state_->events.empty()) {
            double left = std::chrono::duration<double>(deadline - Clock::now()).count();
            if (left <= 0) return std::nullopt;
            Fl::wait(left);
        }
        Event event = state_->events.front();
        state_->events.pop_front();
        return event;
    });
}

}  // namespace zs::gui
