// The editor panel's field sets as the program builds them, in the program's default font: every
// label fits its box on one line. A label wider than its box is clipped at the box's edge
// ("ondition:"), and one that breaks at a blank loses its second line ("Timeout").
#include "Forms/FormMAIN.h"
#include "gui_driver.h"

#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

namespace zs::gui::test {
namespace {

class FieldSetLabelsTest : public GuiTest {};

TEST_F(FieldSetLabelsTest, EveryLabelOfEverySetShowsWhole) {
    form::LoadFont(gui(), form::DefaultFontFor(96));
    gui().setDefaultFont(form::kFontDefault);
    form::OpenFormMAIN(gui());
    opened(form::kFormMAIN);
    form::CreateEditorPanel(gui());
    for (const form::FieldSet& set : form::EditorFieldSets()) {
        for (const form::FieldSpec& field : set.fields) {
            if (field.kind != GadgetKind::Text || field.text[0] == '\0') continue;
            const Fl_Widget* widget = gui().nativeGadget(field.id);
            ASSERT_NE(widget, nullptr) << field.id;
            EXPECT_STREQ(widget->label(), field.text) << "gadget " << field.id;
            // FLTK draws a label aligned left or right 3 pixels in from each side of its box.
            const int room = widget->w() > 11 && field.align != Align::Center ? widget->w() - 6
                                                                             : widget->w();
            fl_font(widget->labelfont(), widget->labelsize());
            int width = room, height = 0;
            fl_measure(widget->label(), width, height, 0);
            EXPECT_LE(width, room) << field.text;
            EXPECT_LE(height, fl_height()) << field.text << " takes more than one line";
        }
    }
}

}  // namespace
}  // namespace zs::gui::test
