#include "platform/fltk/fltk_combo.h"
#include "platform/drop_down.h"
#include "platform/fltk/fltk_text.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <memory>

namespace zs::gui::fltk {

namespace {

constexpr int kMostRows = 20;  // rows shown at once; longer lists scroll
constexpr int kBorder = 1;

// The open list: a borderless window above everything, with the keyboard and mouse grabbed
// while it is open, as FLTK's own menus do.
class DropDownList : public Fl_Double_Window {
public:
    DropDownList(const DropDownPlace& place, const ItemList& items, int selected, Fl_Font font,
                 int size)
        : Fl_Double_Window(place.rect.x, place.rect.y, place.rect.w, place.rect.h),
          items_(items), rows_(place.rows), font_(font), size_(size) {
        rowHeight_ = (place.rect.h - 2 * kBorder) / std::max(1, rows_);
        highlight_ = std::max(0, selected);
        if (items_.size() > rows_) {
            const int barWidth = Fl::scrollbar_size();
            bar_ = new Fl_Scrollbar(w() - kBorder - barWidth, kBorder, barWidth, h() - 2 * kBorder);
            bar_->callback(onScroll, this);
            bar_->linesize(1);
        }
        end();
        set_override();
        scrollTo(highlight_ - rows_ / 2);
    }

    // -1 when the list closed without a pick.
    int run() {
        show();
        Fl::grab(this);
        while (!done_ && shown()) Fl::wait();
        Fl::grab(nullptr);
        hide();
        return picked_;
    }

    int topRow() const { return top_; }
    int rows() const { return rows_; }

protected:
    void draw() override {
        fl_draw_box(FL_BORDER_BOX, 0, 0, w(), h(), FL_BACKGROUND2_COLOR);
        fl_font(font_, size_);
        const int textWidth = w() - 2 * kBorder - (bar_ ? bar_->w() : 0);
        for (int row = 0; row < rows_ && top_ + row < items_.size(); ++row) {
            const int index = top_ + row;
            const int y = kBorder + row * rowHeight_;
            const bool lit = index == highlight_;
            fl_color(lit ? FL_SELECTION_COLOR : FL_BACKGROUND2_COLOR);
            fl_rectf(kBorder, y, textWidth, rowHeight_);
            fl_color(lit ? fl_contrast(FL_FOREGROUND_COLOR, FL_SELECTION_COLOR) : FL_FOREGROUND_COLOR);
            const std::string text = items_.at(index);
            fl_draw(text.c_str(), kBorder + 3, y, textWidth - 6, rowHeight_,
                    FL_ALIGN_LEFT | FL_ALIGN_CLIP, nullptr, 0);  // items as they are, "@" too
        }
        if (bar_) draw_child(*bar_);
    }

    int handle(int event) override {
        switch (event) {
            case FL_PUSH:
                if (!inside()) return close(-1);
                if (overBar()) return Fl_Double_Window::handle(event);
                highlightAt(Fl::event_y());
                return 1;
            case FL_DRAG:
            case FL_MOVE:
                if (overBar() && event == FL_DRAG) return Fl_Double_Window::handle(event);
                if (inside() && !overBar()) highlightAt(Fl::event_y());
                return 1;
            case FL_RELEASE:
                if (overBar()) return Fl_Double_Window::handle(event);
                if (inside() && Fl::event_y() >= kBorder) return close(rowAt(Fl::event_y()));
                return 1;
            case FL_MOUSEWHEEL: scrollTo(top_ + 3 * Fl::event_dy()); return 1;
            case FL_KEYBOARD:
            case FL_SHORTCUT: return key(Fl::event_key());
            default: return Fl_Double_Window::handle(event);
        }
    }

private:
    static void onScroll(Fl_Widget* bar, void* list) {
        auto* self = static_cast<DropDownList*>(list);
        self->top_ = static_cast<Fl_Scrollbar*>(bar)->value();
        self->redraw();
    }

    bool inside() const {
        return Fl::event_x() >= 0 && Fl::event_x() < w() && Fl::event_y() >= 0 &&
               Fl::event_y() < h();
    }
    bool overBar() const { return bar_ && inside() && Fl::event_x() >= bar_->x(); }

    int rowAt(int y) const {
        return std::clamp(top_ + (y - kBorder) / rowHeight_, 0, std::max(0, items_.size() - 1));
    }

    void highlightAt(int y) {
        highlight_ = rowAt(y);
        redraw();
    }

    int key(int code) {
        const int last = items_.size() - 1;
        switch (code) {
            case FL_Escape: return close(-1);
            case FL_Enter:
            case FL_KP_Enter:
            case ' ': return close(items_.size() > 0 ? highlight_ : -1);
            case FL_Up: return moveHighlight(highlight_ - 1);
            case FL_Down: return moveHighlight(highlight_ + 1);
            case FL_Page_Up: return moveHighlight(highlight_ - rows_);
            case FL_Page_Down: return moveHighlight(highlight_ + rows_);
            case FL_Home: return moveHighlight(0);
            case FL_End: return moveHighlight(last);
            default: return 1;  // the list keeps the keyboard while it is open
        }
    }

    int moveHighlight(int index) {
        highlight_ = std::clamp(index, 0, std::max(0, items_.size() - 1));
        if (highlight_ < top_) scrollTo(highlight_);
        if (highlight_ >= top_ + rows_) scrollTo(highlight_ - rows_ + 1);
        redraw();
        return 1;
    }

    void scrollTo(int top) {
        top_ = std::clamp(top, 0, std::max(0, items_.size() - rows_));
        if (bar_) bar_->value(top_, rows_, 0, items_.size());
        redraw();
    }

    int close(int picked) {
        picked_ = picked;
        done_ = true;
        return 1;
    }

    const ItemList& items_;
    int rows_;
    Fl_Font font_;
    int size_;
    int rowHeight_ = 1;
    int top_ = 0;
    int highlight_ = 0;
    int picked_ = -1;
    bool done_ = false;
    Fl_Scrollbar* bar_ = nullptr;
};

DropDownList* theOpenList = nullptr;

Rect workAreaAround(int x, int y) {
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_work_area(sx, sy, sw, sh, x, y);
    return {sx, sy, sw, sh};
}

}  // namespace

ComboBox::ComboBox(int x, int y, int w, int h, const ItemList& items)
    : Fl_Choice(x, y, w, h), items_(items) {
    showSelected();
}

void ComboBox::select(int index) {
    selected_ = index >= 0 && index < items_.size() ? index : -1;
    showSelected();
}

void ComboBox::itemsChanged() { select(selected_); }

void ComboBox::showSelected() {
    shownLabel_ = selected_ < 0 ? std::string() : escapeShortcutLabel(items_.at(selected_));
    shown_[0] = Fl_Menu_Item{};
    shown_[0].text = shownLabel_.c_str();
    shown_[0].labeltype_ = FL_NORMAL_LABEL;
    shown_[1] = Fl_Menu_Item{};
    menu(shown_);
    value(selected_ < 0 ? -1 : 0);
    redraw();
}

bool ComboBox::listOpen() { return theOpenList != nullptr; }
Rect ComboBox::listRect() {
    if (!theOpenList) return {};
    return {theOpenList->x(), theOpenList->y(), theOpenList->w(), theOpenList->h()};
}
int ComboBox::listRows() { return theOpenList ? theOpenList->rows() : 0; }
int ComboBox::listTopRow() { return theOpenList ? theOpenList->topRow() : 0; }

int ComboBox::handle(int event) {
    const bool opens = (event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE) ||
                       (event == FL_KEYBOARD && Fl::focus() == this && Fl::event_key() == ' ');
    if (!opens) return event == FL_PUSH ? 1 : Fl_Choice::handle(event);
    if (Fl::visible_focus()) Fl::focus(this);
    openList();
    return 1;
}

void ComboBox::openList() {
    if (theOpenList != nullptr || items_.size() == 0) return;
    Fl_Window* top = window();
    const int screenX = x() + (top ? top->x_root() : 0);
    const int screenY = y() + (top ? top->y_root() : 0);
    fl_font(textfont(), textsize());
    const int rowHeight = fl_height() + 4;
    const DropDownPlace place = PlaceDropDown({screenX, screenY, w(), h()},
                                              workAreaAround(screenX, screenY), items_.size(),
                                              rowHeight, kMostRows, kBorder);
    Fl_Group::current(nullptr);
    auto list = std::make_unique<DropDownList>(place, items_, selected_, textfont(), textsize());
    theOpenList = list.get();
    const int picked = list->run();
    theOpenList = nullptr;
    list.reset();
    if (picked < 0 || picked == selected_) return;
    select(picked);
    set_changed();
    do_callback();
}

}  // namespace zs::gui::fltk
