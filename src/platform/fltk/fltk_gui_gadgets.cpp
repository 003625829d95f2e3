// FltkGui: creating gadgets and everything done to them afterwards.
#include "platform/fltk/fltk_gui.h"
#include "platform/fltk/fltk_state.h"
#include "platform/fltk/fltk_text.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>

namespace zs::gui {

using fltk::GadgetRecord;

namespace {

// The group a new gadget goes into: a container or frame of the same window, else the window's
// client area.
Fl_Group* parentGroup(fltk::State& state, const GadgetSpec& spec) {
    fltk::WindowRecord* window = state.window(spec.window);
    if (!window) return nullptr;
    GadgetRecord* container = spec.container ? state.gadget(spec.container) : nullptr;
    bool holdsGadgets = container && container->window == spec.window &&
                        (container->kind == GadgetKind::Container ||
                         container->kind == GadgetKind::Frame);
    return holdsGadgets ? static_cast<Fl_Group*>(container->widget) : window->client;
}

bool isListKind(GadgetKind kind) { return kind == GadgetKind::Combo || kind == GadgetKind::ListBox; }

}  // namespace

void FltkGui::createGadget(const GadgetSpec& spec) {
    onUi([&] {
        state_->destroyGadget(spec.id);
        Fl_Group* parent = parentGroup(*state_, spec);
        if (!parent) return;
        GadgetSpec placed = spec;
        placed.rect.x += parent->x();  // FLTK places every widget in window coordinates
        placed.rect.y += parent->y();
        placed.rect.w = std::max(0, spec.rect.w);
        placed.rect.h = std::max(0, spec.rect.h);
        GadgetRecord& gadget = state_->gadgets[spec.id];
        gadget.id = spec.id;
        gadget.kind = spec.kind;
        gadget.window = spec.window;
        Fl_Group::current(nullptr);
        gadget.widget = fltk::makeGadgetWidget(*state_, gadget, placed);
        Fl_Group::current(nullptr);
        parent->add(gadget.widget);
        state_->gadgetOfWidget[gadget.widget] = spec.id;
        fltk::connectGadget(gadget);
        if (state_->defaultFont) fltk::applyFont(gadget, *state_->defaultFont);
        if (!spec.text.empty() || !isListKind(spec.kind)) fltk::setGadgetText(gadget, spec.text);
        gadget.widget->redraw();
    });
}

void FltkGui::setText(int gadget, const std::string& text) {
    onUi([&] {
        if (GadgetRecord* record = state_->gadget(gadget)) fltk::setGadgetText(*record, text);
    });
}

std::string FltkGui::text(int gadget) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        return record ? fltk::gadgetText(*record) : std::string();
    });
}

void FltkGui::addItem(int gadget, const std::string& text) {
    onUi([&] {
        GadgetRecord* record = state_->gadget(gadget);
        if (!record || !isListKind(record->kind)) return;
        const bool spelledOut = !record->items.numbered();
        record->items.add(text);
        if (record->kind == GadgetKind::ListBox && spelledOut)
            static_cast<Fl_Hold_Browser*>(record->widget)->add(text.c_str());
        else
            fltk::itemsChanged(*record);
    });
}

void FltkGui::clearItems(int gadget) {
    onUi([&] {
        GadgetRecord* record = state_->gadget(gadget);
        if (!record || !isListKind(record->kind)) return;
        record->items.clear();
        fltk::selectItem(*record, -1);
        fltk::itemsChanged(*record);
    });
}

void FltkGui::setNumberItems(int gadget, int count, const std::string& leading) {
    onUi([&] {
        GadgetRecord* record = state_->gadget(gadget);
        if (!record || !isListKind(record->kind)) return;
        record->items.setNumbers(count, leading);
        fltk::itemsChanged(*record);
    });
}

int FltkGui::itemCount(int gadget) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        return record ? record->items.size() : 0;
    });
}

std::string FltkGui::itemText(int gadget, int index) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        return record ? record->items.at(index) : std::string();
    });
}

void FltkGui::select(int gadget, int index) {
    onUi([&] {
        if (GadgetRecord* record = state_->gadget(gadget)) fltk::selectItem(*record, index);
    });
}

int FltkGui::selected(int gadget) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        return record ? fltk::selectedItem(*record) : -1;
    });
}

void FltkGui::setDisabled(int gadget, bool on) {
    onUi([&] {
        GadgetRecord* record = state_->gadget(gadget);
        if (!record) return;
        if (on) {
            record->widget->deactivate();
        } else {
            record->widget->activate();
        }
    });
}

bool FltkGui::isDisabled(int gadget) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        return record && !record->widget->active();
    });
}

void FltkGui::setHidden(int gadget, bool on) {
    onUi([&] {
        GadgetRecord* record = state_->gadget(gadget);
        if (!record) return;
        if (on) {
            record->widget->hide();
        } else {
            record->widget->show();
        }
    });
}

bool FltkGui::isHidden(int gadget) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        return record && !record->widget->visible();
    });
}

void FltkGui::setFont(int gadget, int font) {
    onUi([&] {
        GadgetRecord* record = state_->gadget(gadget);
        auto found = state_->fonts.find(font);
        if (record && found != state_->fonts.end()) fltk::applyFont(*record, found->second);
    });
}

void FltkGui::setColour(int gadget, std::optional<std::uint32_t> rgb) {
    onUi([&] {
        GadgetRecord* record = state_->gadget(gadget);
        if (!record || record->kind != GadgetKind::Swatch) return;
        record->widget->color(rgb ? fl_rgb_color(static_cast<uchar>(*rgb >> 16),
                                                 static_cast<uchar>(*rgb >> 8),
                                                 static_cast<uchar>(*rgb))
                                  : FL_BACKGROUND_COLOR);
        record->widget->redraw();
    });
}

void FltkGui::setFocus(int gadget) {
    onUi([&] {
        if (GadgetRecord* record = state_->gadget(gadget)) record->widget->take_focus();
    });
}

int FltkGui::focusedGadget() {
    return onUi([&] {
        for (Fl_Widget* widget = Fl::focus(); widget; widget = widget->parent()) {
            auto found = state_->gadgetOfWidget.find(widget);
            if (found != state_->gadgetOfWidget.end()) return found->second;
        }
        return 0;
    });
}

std::vector<std::string> FltkGui::lines(int gadget) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        return record ? fltk::splitLines(fltk::gadgetText(*record)) : std::vector<std::string>{};
    });
}

void FltkGui::setLines(int gadget, const std::vector<std::string>& lines) {
    onUi([&] {
        if (GadgetRecord* record = state_->gadget(gadget)) {
            fltk::setGadgetText(*record, fltk::joinLines(lines));
        }
    });
}

int FltkGui::cursorLine(int gadget) {
    return onUi([&] {
        const GadgetRecord* record = state_->gadget(gadget);
        if (!record || record->kind != GadgetKind::Editor) return 0;
        int position = static_cast<Fl_Text_Editor*>(record->widget)->insert_position();
        return fltk::lineOfPosition(fltk::gadgetText(*record), position);
    });
}

}  // namespace zs::gui
