// The FLTK combo: a closed field drawn as FLTK's choice, and an open list of its own that fits
// the screen and scrolls, so that long lists (34 key names, 80 ports) keep every item in reach
// and a list of a million step numbers opens at once: rows are made only when drawn.
#pragma once

#include "platform/gui.h"
#include "platform/item_list.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Menu_Item.H>

#include <string>

namespace zs::gui::fltk {

class ComboBox : public Fl_Choice {
public:
    // items are the gadget's own and outlive the widget.
    ComboBox(int x, int y, int w, int h, const ItemList& items);

    void select(int index);  // -1 or outside the items: nothing is selected
    int selectedIndex() const { return selected_; }
    // After the items changed: the selection stays when it is still an item.
    void itemsChanged();

    // The open list, for tests: whether it is open, its place on the screen and its rows.
    static bool listOpen();
    static Rect listRect();  // screen coordinates
    static int listRows();
    static int listTopRow();

    int handle(int event) override;

private:
    void showSelected();
    void openList();

    const ItemList& items_;
    int selected_ = -1;
    std::string shownLabel_;   // the selected item, escaped for FLTK
    Fl_Menu_Item shown_[2]{};  // the one entry the closed field draws
};

}  // namespace zs::gui::fltk
