// FLTK widgets that the stock ones lack: a digits-only text field and a captioned frame.
#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>

namespace zs::gui::fltk {

// Accepts only 0 to 9 from the keyboard and refuses a paste that holds anything else; texts
// set by the program are taken as they are.
class DigitsInput : public Fl_Input {
public:
    DigitsInput(int x, int y, int w, int h) : Fl_Input(x, y, w, h) {}
    int handle(int event) override;
};

// An engraved border with its caption at the top left, drawn into the border line. It draws
// no background, so that gadgets lying over it stay visible. The caption counts as an inside
// label, or the enclosing group would draw it a second time, centred above the frame.
class CaptionFrame : public Fl_Group {
public:
    CaptionFrame(int x, int y, int w, int h) : Fl_Group(x, y, w, h) {
        align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
    }

protected:
    void draw() override;
};

}  // namespace zs::gui::fltk
