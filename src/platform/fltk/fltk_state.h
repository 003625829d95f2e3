// What the FLTK backend keeps: its windows, gadgets, menus, fonts, images and the queue of
// events. Touched on the UI thread only.
#pragma once

#include "platform/gui.h"
#include "platform/item_list.h"

#include <FL/Enumerations.H>
#include <FL/Fl_Menu_Item.H>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class Fl_Double_Window;
class Fl_Group;
class Fl_Menu_Bar;
class Fl_RGB_Image;
class Fl_Text_Buffer;
class Fl_Widget;
class Fl_Window;

namespace zs::gui::fltk {

struct FontChoice {
    Fl_Font face = FL_HELVETICA;
    int pixels = FL_NORMAL_SIZE;
};

struct WindowRecord {
    int id = 0;
    Fl_Double_Window* window = nullptr;
    Fl_Group* client = nullptr;  // holds the gadgets; sits below the menu bar
    Fl_Menu_Bar* menuBar = nullptr;
    std::vector<std::string> menuLabels;   // escaped texts the menu items point at
    std::vector<Fl_Menu_Item> menuItems;   // owned here, shown by menuBar
    int owner = 0;
    unsigned flags = 0;  // WindowFlag bits it was opened with
    int clientWidth = 0, clientHeight = 0;
    int menuHeight = 0;
    bool topmost = false;
    bool disabled = false;
};

struct GadgetRecord {
    int id = 0;
    GadgetKind kind = GadgetKind::Text;
    int window = 0;
    Fl_Widget* widget = nullptr;
    std::string text;                      // caption of texts, buttons and frames as given
    ItemList items;                        // combo and list box items as given
    std::unique_ptr<Fl_Text_Buffer> buffer;  // editor text
    GadgetRecord();
    ~GadgetRecord();
    GadgetRecord(GadgetRecord&&) noexcept;
    GadgetRecord& operator=(GadgetRecord&&) noexcept;
};

struct ImageRecord {
    std::vector<unsigned char> rgba;
    std::unique_ptr<Fl_RGB_Image> image;
    std::unique_ptr<Fl_Image> inactive;  // the greyed face of a disabled button
    ImageRecord();
    ~ImageRecord();
};

struct State {
    explicit State(int pixelsPerInch);
    ~State();

    // The one live state, for FLTK's plain-function callbacks.
    static State* current;

    int pixelsPerInch = 96;
    std::map<int, WindowRecord> windows;
    std::map<int, GadgetRecord> gadgets;
    std::unordered_map<const Fl_Widget*, int> gadgetOfWidget;
    std::map<int, int> menuItemWindow;  // menu item -> window
    std::map<int, FontChoice> fonts;
    std::optional<FontChoice> defaultFont;
    std::map<int, ImageRecord*> images;                   // latest image of each number
    std::vector<std::unique_ptr<ImageRecord>> allImages;  // kept: buttons may still show them
    std::deque<Event> events;

    WindowRecord* window(int id);
    // The shown window that belongs to no other (the main window), nullptr when none is shown.
    WindowRecord* mainWindow();
    GadgetRecord* gadget(int id);
    int windowIdOf(const Fl_Window* window) const;  // 0 when not ours
    Fl_Menu_Item* menuItem(int item);
    void push(const Event& event) { events.push_back(event); }

    void destroyWindow(int id);
    void destroyGadget(int id);
};

// Gadget construction, font and text handling shared by the gadget files.
Fl_Widget* makeGadgetWidget(State& state, GadgetRecord& gadget, const GadgetSpec& spec);
void connectGadget(GadgetRecord& gadget);
void applyFont(GadgetRecord& gadget, const FontChoice& font);
void setGadgetText(GadgetRecord& gadget, const std::string& text);
// The label of a caption (escaped for FLTK) cut with an ellipsis to what fits a w x h box in
// that font; wrapped at blanks. Huge texts would make the X server refuse the drawing.
std::string fittedLabel(const std::string& text, Fl_Font face, int size, int w, int h,
                        bool shortcuts);
// Shows a caption gadget's text, cut to what fits its widget.
void showCaption(GadgetRecord& gadget);
std::string gadgetText(const GadgetRecord& gadget);
// After the items of a combo or list box changed; the selection stays when it is still an item.
void itemsChanged(GadgetRecord& gadget);
void selectItem(GadgetRecord& gadget, int index);  // -1 or outside: nothing
int selectedItem(const GadgetRecord& gadget);      // -1: nothing
void installEventDispatch();
// Frame functions as the flags ask: FLTK writes its own (minimise included) whenever the
// window's size range changes, so this follows every such change.
void applyFrame(const WindowRecord& record);
// Top-left corner of a w x h window centred on the owner's client area (on the screen without
// one), kept on the screen where it fits.
void centreOver(const WindowRecord* owner, int w, int h, int& x, int& y);

}  // namespace zs::gui::fltk
