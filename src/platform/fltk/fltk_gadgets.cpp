// Building the FLTK widget of each gadget kind, and the texts, items and fonts of gadgets.
#include "platform/fltk/fltk_combo.h"
#include "platform/fltk/fltk_state.h"
#include "platform/fltk/fltk_text.h"
#include "platform/fltk/fltk_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>

#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdlib>

namespace zs::gui::fltk {

namespace {

bool hasCaption(GadgetKind kind) {
    return kind == GadgetKind::Text || kind == GadgetKind::Button || kind == GadgetKind::Frame;
}

int subTypeOf(GadgetKind kind) {
    bool clicked = kind == GadgetKind::Button || kind == GadgetKind::ImageButton;
    return static_cast<int>(clicked ? GadgetEventType::Click : GadgetEventType::Change);
}

void onGadget(Fl_Widget* widget, void*) {
    State* state = State::current;
    if (!state) return;
    auto found = state->gadgetOfWidget.find(widget);
    if (found == state->gadgetOfWidget.end()) return;
    const GadgetRecord* gadget = state->gadget(found->second);
    if (!gadget) return;
    state->push({EventKind::Gadget, gadget->window, gadget->id, subTypeOf(gadget->kind), 0});
}

Fl_Align textAlign(Align align) {
    Fl_Align horizontal = align == Align::Right    ? FL_ALIGN_RIGHT
                          : align == Align::Center ? FL_ALIGN_CENTER
                                                   : FL_ALIGN_LEFT;
    return horizontal | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP;
}

Fl_Widget* makeText(const GadgetSpec& spec, int x, int y) {
    auto* box = new Fl_Box(x, y, spec.rect.w, spec.rect.h);
    box->box(FL_NO_BOX);
    box->labeltype(FL_NORMAL_LABEL);
    box->align(textAlign(spec.align));
    return box;
}

Fl_Widget* makeImageButton(State& state, const GadgetSpec& spec, int x, int y) {
    auto* button = new Fl_Button(x, y, spec.rect.w, spec.rect.h);
    auto image = state.images.find(spec.image);
    if (image != state.images.end()) {
        button->image(image->second->image.get());
        button->deimage(image->second->inactive.get());
    }
    button->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
    return button;
}

Fl_Widget* makeEditor(GadgetRecord& gadget, const GadgetSpec& spec, int x, int y) {
    auto* editor = new Fl_Text_Editor(x, y, spec.rect.w, spec.rect.h);
    gadget.buffer = std::make_unique<Fl_Text_Buffer>();
    editor->buffer(gadget.buffer.get());
    editor->when(FL_WHEN_CHANGED);  // callbacks for the user's edits only
    return editor;
}

Fl_Widget* makeListBox(const GadgetSpec& spec, int x, int y) {
    auto* list = new Fl_Hold_Browser(x, y, spec.rect.w, spec.rect.h);
    list->format_char(0);  // items are shown as they are, "@" included
    list->when(FL_WHEN_RELEASE_ALWAYS);
    return list;
}

}  // namespace

Fl_Widget* makeGadgetWidget(State& state, GadgetRecord& gadget, const GadgetSpec& spec) {
    int x = spec.rect.x, y = spec.rect.y, w = spec.rect.w, h = spec.rect.h;
    switch (spec.kind) {
        case GadgetKind::Text: return makeText(spec, x, y);
        case GadgetKind::String:
            return spec.digitsOnly ? new DigitsInput(x, y, w, h) : new Fl_Input(x, y, w, h);
        case GadgetKind::Button: return new Fl_Button(x, y, w, h);
        case GadgetKind::ImageButton: return makeImageButton(state, spec, x, y);
        case GadgetKind::Combo: return new ComboBox(x, y, w, h, gadget.items);
        case GadgetKind::Container: {
            auto* group = new Fl_Group(x, y, w, h);
            group->end();
            group->box(FL_NO_BOX);
            return group;
        }
        case GadgetKind::Frame: {
            auto* frame = new CaptionFrame(x, y, w, h);
            frame->end();
            frame->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);  // drawn by the frame, not above it
            return frame;
        }
        case GadgetKind::ListBox: return makeListBox(spec, x, y);
        case GadgetKind::Editor: return makeEditor(gadget, spec, x, y);
        case GadgetKind::Swatch: {
            auto* box = new Fl_Box(x, y, w, h);
            box->box(FL_BORDER_BOX);
            return box;
        }
    }
    return nullptr;
}

void connectGadget(GadgetRecord& gadget) {
    if (gadget.kind == GadgetKind::Text || gadget.kind == GadgetKind::Container ||
        gadget.kind == GadgetKind::Frame || gadget.kind == GadgetKind::Swatch) {
        return;
    }
    gadget.widget->callback(onGadget);
    if (gadget.kind == GadgetKind::String) gadget.widget->when(FL_WHEN_CHANGED);
}

std::string fittedLabel(const std::string& text, Fl_Font face, int size, int w, int h,
                        bool shortcuts) {
    auto escaped = [&](const std::string& s) {
        return shortcuts ? escapeShortcutLabel(s) : escapeLabel(s);
    };
    fl_font(face, size);
    int lineHeight = std::max(1, fl_height());
    w = std::max(1, w);
    int lines = std::max(1, h / lineHeight);
    // A line holds at most one character per pixel, of at most 4 bytes each.
    auto maxBytes = static_cast<std::size_t>(4) * static_cast<std::size_t>(w + 1) *
                    static_cast<std::size_t>(lines);
    auto fits = [&](const std::string& s) {
        int measuredW = w, measuredH = 0;
        fl_measure(escaped(s).c_str(), measuredW, measuredH, 0);
        return measuredW <= w && measuredH <= lines * lineHeight;
    };
    return escaped(fitText(text, maxBytes, fits));
}

void showCaption(GadgetRecord& gadget) {
    Fl_Widget* widget = gadget.widget;
    // Buttons draw their caption inset by their edge, frames inset in the top line.
    int inset = gadget.kind == GadgetKind::Text ? 0 : gadget.kind == GadgetKind::Button ? 4 : 16;
    widget->copy_label(fittedLabel(gadget.text, widget->labelfont(), widget->labelsize(),
                                   widget->w() - inset, widget->h(),
                                   gadget.kind == GadgetKind::Button)
                           .c_str());
    widget->redraw_label();
    if (gadget.kind == GadgetKind::Button) widget->redraw();
}

void applyFont(GadgetRecord& gadget, const FontChoice& font) {
    Fl_Widget* widget = gadget.widget;
    widget->labelfont(font.face);
    widget->labelsize(font.pixels);
    if (auto* input = dynamic_cast<Fl_Input_*>(widget)) {
        input->textfont(font.face);
        input->textsize(font.pixels);
    } else if (auto* menu = dynamic_cast<Fl_Menu_*>(widget)) {
        menu->textfont(font.face);
        menu->textsize(font.pixels);
    } else if (auto* browser = dynamic_cast<Fl_Browser_*>(widget)) {
        browser->textfont(font.face);
        browser->textsize(font.pixels);
    } else if (auto* display = dynamic_cast<Fl_Text_Display*>(widget)) {
        display->textfont(font.face);
        display->textsize(font.pixels);
    }
    if (hasCaption(gadget.kind)) showCaption(gadget);  // what fits depends on the font
    widget->redraw();
    widget->redraw_label();
}

void itemsChanged(GadgetRecord& gadget) {
    if (gadget.kind == GadgetKind::Combo) {
        static_cast<ComboBox*>(gadget.widget)->itemsChanged();
        return;
    }
    auto* list = static_cast<Fl_Hold_Browser*>(gadget.widget);
    const int selected = list->value() - 1;
    list->clear();
    for (int i = 0; i < gadget.items.size(); ++i) list->add(gadget.items.at(i).c_str());
    selectItem(gadget, selected);
}

void selectItem(GadgetRecord& gadget, int index) {
    const bool valid = index >= 0 && index < gadget.items.size();
    if (gadget.kind == GadgetKind::Combo)
        static_cast<ComboBox*>(gadget.widget)->select(valid ? index : -1);
    else if (gadget.kind == GadgetKind::ListBox)
        static_cast<Fl_Hold_Browser*>(gadget.widget)->value(valid ? index + 1 : 0);
}

int selectedItem(const GadgetRecord& gadget) {
    if (gadget.kind == GadgetKind::Combo)
        return static_cast<const ComboBox*>(gadget.widget)->selectedIndex();
    if (gadget.kind == GadgetKind::ListBox)
        return static_cast<const Fl_Hold_Browser*>(gadget.widget)->value() - 1;
    return -1;
}

namespace {

void setCaption(GadgetRecord& gadget, const std::string& text) {
    gadget.text = text;
    showCaption(gadget);
}

}  // namespace

void setGadgetText(GadgetRecord& gadget, const std::string& text) {
    switch (gadget.kind) {
        case GadgetKind::Text:
        case GadgetKind::Button:
        case GadgetKind::Frame: setCaption(gadget, text); break;
        case GadgetKind::String: static_cast<Fl_Input*>(gadget.widget)->value(text.c_str()); break;
        case GadgetKind::Combo:
        case GadgetKind::ListBox: selectItem(gadget, gadget.items.find(text)); break;
        case GadgetKind::Editor:
            gadget.buffer->text(text.c_str());
            static_cast<Fl_Text_Editor*>(gadget.widget)->insert_position(0);
            break;
        case GadgetKind::ImageButton:
        case GadgetKind::Swatch:
        case GadgetKind::Container: gadget.text = text; break;
    }
}

std::string gadgetText(const GadgetRecord& gadget) {
    switch (gadget.kind) {
        case GadgetKind::String: return static_cast<Fl_Input*>(gadget.widget)->value();
        case GadgetKind::Combo:
        case GadgetKind::ListBox: return gadget.items.at(selectedItem(gadget));
        case GadgetKind::Editor: {
            char* text = gadget.buffer->text();
            std::string copy = text ? text : "";
            std::free(text);
            return copy;
        }
        default: return gadget.text;
    }
}

}  // namespace zs::gui::fltk
