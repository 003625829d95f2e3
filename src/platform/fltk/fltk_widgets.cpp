
#include "platform/fltk/fltk_widgets.h"
#include "platform/fltk/fltk_text.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <string>

namespace zs::gui::fltk {

namespace {

bool insertsText(const char* text, int length) {
    if (length <= 0 || Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) return false;
    auto first = static_cast<unsigned char>(text[0]);
    return first >= 0x20 && first != 0x7F;
}

}  // namespace

int DigitsInput::handle(int event) {
    const char* text = Fl::event_text();
    int length = Fl::event_length();
    if (event == FL_KEYBOARD && insertsText(text, length) &&
        !isAllDigits(std::string(text, static_cast<std::size_t>(length)))) {
        return 1;  // taken and dropped, so that no shortcut fires either
    }
    if (event == FL_PASTE && !isAllDigits(std::string(text, static_cast<std::size_t>(length)))) {
        return 1;
    }
    return Fl_Input::handle(event);
}

void CaptionFrame::draw() {
    if (damage() & ~FL_DAMAGE_CHILD) {
        int half = labelsize() / 2;
        fl_draw_box(FL_ENGRAVED_FRAME, x(), y() + half, w(), h() - half, color());
        if (label() && *label()) {
            fl_font(labelfont(), labelsize());
            int textWidth = 0, textHeight = 0;
            measure_label(textWidth, textHeight);
            fl_color(parent() ? parent()->color() : color());
            fl_rectf(x() + 6, y(), textWidth + 4, textHeight);
            draw_label(x() + 8, y(), textWidth, textHeight,
                       FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE);
        }
    }
    draw_children();
}

}  // namespace zs::gui::fltk
