// The gadget layer: windows, gadgets, menus, fonts, images, events and dialogs, all addressed by the
// small numbers the program fixes. Every operation may be called from any thread; a backend carries
// calls from other threads over to the UI thread and waits for them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zs::gui {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

enum WindowFlag : unsigned {
    kCaption = 1u << 0,     // title bar
    kCloseBox = 1u << 1,    // system menu with close box
    kBorderless = 1u << 2,  // no frame at all
    kCentered = 1u << 3,    // centred on the screen (or on the owner when one is given)
    kAtPosition = 1u << 4,  // at rect.x, rect.y (screen coordinates of the client area)
};

enum class GadgetKind {
    Text,         // static text; align chooses left, right or centred
    String,       // one-line text field; digitsOnly accepts only 0 to 9 from the keyboard
    Button,       // push button with a text
    ImageButton,  // push button showing an image
    Combo,        // drop-down list, no typed text
    Container,    // holds other gadgets, no border
    Frame,        // border with a caption
    ListBox,
    Editor,       // multi-line text editor
    Swatch,       // a small bordered box filled with a colour (setColour)
};

enum class Align { Left, Right, Center };

struct GadgetSpec {
    int id = 0;
    GadgetKind kind = GadgetKind::Text;
    int window = 0;     // the window the gadget lives in
    int container = 0;  // the container gadget it lies in, 0 for the window itself
    Rect rect;          // position inside its container or the window's client area
    std::string text;   // initial text or caption
    Align align = Align::Left;
    bool digitsOnly = false;
    int image = 0;      // image of an ImageButton
};

struct MenuItem {
    int id = 0;  // 0 makes a separator
    std::string text;
};

struct MenuTitle {
    std::string title;
    std::vector<MenuItem> items;
};

// Pixels of an image, 0xAARRGGBB, row by row.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

enum class EventKind { None, Gadget, Menu, KeyDown, LeftButtonUp, WindowClose };

enum class GadgetEventType { Click = 0, Change = 1, Focus = 2 };

struct Event {
    EventKind kind = EventKind::None;
    int window = 0;
    int id = 0;       // gadget or menu item
    int subType = 0;  // GadgetEventType for gadget events
    int key = 0;      // virtual-key code for KeyDown
};

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };
enum class FileMode { Open, Save };

class Gui {
public:
    virtual ~Gui() = default;

    // Windows
    virtual bool openWindow(int id, Rect rect, const std::string& title, unsigned flags,
                            int owner) = 0;
    virtual void closeWindow(int id) = 0;
    virtual void setTopmost(int window, bool on) = 0;
    virtual void enableWindow(int window, bool on) = 0;
    virtual void activateWindow(int window) = 0;
    virtual Rect windowRect(int window) = 0;  // client area in screen coordinates

    // Fonts and images
    virtual void loadFont(int id, const std::string& face, int points, bool highQuality) = 0;
    virtual void setDefaultFont(int id) = 0;  // for gadgets created from now on
    virtual void loadImage(int id, const Image& image) = 0;

    // Gadgets
    virtual void createGadget(const GadgetSpec& spec) = 0;
    virtual void setText(int gadget, const std::string& text) = 0;
    virtual std::string text(int gadget) = 0;
    virtual void addItem(int gadget, const std::string& text) = 0;
    virtual void clearItems(int gadget) = 0;
    // The items become "1" to count in one call, whatever they were, after the one item
    // `leading` where it is not "" ("Pause" before the step numbers); the selection stays when it
    // is still an item. A backend makes the numbers when they are shown, or adds and removes only
    // the items that changed: a count that changes by one costs the same at any count.
    virtual void setNumberItems(int gadget, int count, const std::string& leading) = 0;
    virtual int itemCount(int gadget) = 0;
    virtual std::string itemText(int gadget, int index) = 0;
    virtual void select(int gadget, int index) = 0;  // -1 selects nothing
    virtual int selected(int gadget) = 0;            // -1 when nothing is selected
    virtual void setDisabled(int gadget, bool on) = 0;
    virtual bool isDisabled(int gadget) = 0;
    virtual void setHidden(int gadget, bool on) = 0;
    virtual bool isHidden(int gadget) = 0;
    virtual void setFont(int gadget, int font) = 0;
    // Fills a swatch with the colour 0xRRGGBB; nullopt leaves it empty (the window's background).
    virtual void setColour(int gadget, std::optional<std::uint32_t> rgb) = 0;
    virtual void setFocus(int gadget) = 0;
    virtual int focusedGadget() = 0;  // 0 when no gadget of the program has the focus
    // Multi-line editor: its text as lines, and the 0-based line that holds the cursor.
    virtual std::vector<std::string> lines(int gadget) = 0;
    virtual void setLines(int gadget, const std::vector<std::string>& lines) = 0;
    virtual int cursorLine(int gadget) = 0;

    // Menus
    virtual void createMenu(int window, const std::vector<MenuTitle>& menu) = 0;
    virtual void setMenuItemDisabled(int item, bool on) = 0;
    virtual bool isMenuItemDisabled(int item) = 0;

    // Events: blocks until the next event.
    virtual Event waitEvent() = 0;
    // Queues an event as the program's own, from any thread; a waitEvent() returns it.
    virtual void postEvent(const Event& event) = 0;

    // Dialogs
    virtual Answer messageBox(const std::string& title, const std::string& text,
                              Buttons buttons) = 0;
    // filter like "STEP file (*.stp)|*.stp"; nullopt when cancelled.
    virtual std::optional<std::string> fileRequester(FileMode mode, const std::string& title,
                                                     const std::string& defaultFile,
                                                     const std::string& filter) = 0;
    // Shows text in borderless window 112 (text gadget 113), centred, owned by parent, for
    // 600 ms, then activates the parent. Blocks the calling thread meanwhile.
    virtual void notice(const std::string& text, int parentWindow) = 0;

    // Runs fn on the UI thread and waits for it.
    virtual void runOnUi(const std::function<void()>& fn) = 0;
};

}  // namespace zs::gui
