// The raw Win32 gadget layer: one object owns every window, gadget, menu, font and bitmap the
// program numbers. Calls from other threads are carried to the UI thread through a message-only
// window and wait there; calls on the UI thread run directly.
#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/gui.h"

namespace zs::gui::win32 {

struct WindowRecord {
    HWND hwnd = nullptr;
    HMENU menu = nullptr;
    int clientWidth = 0, clientHeight = 0;
    HBRUSH background = nullptr;  // own background colour, also behind its text gadgets
};

struct GadgetRecord {
    HWND hwnd = nullptr;
    GadgetKind kind = GadgetKind::Text;
    int window = 0;
    std::string text;  // kept for kinds that show no text of their own
    int image = 0;     // what an image button shows
    int numberItems = -1;  // >= 0 while the list's items are "1" to numberItems
    std::string leadingItem{};  // the item before the numbers, "" for none
    HBRUSH fill = nullptr;    // a swatch's colour
};

// An image over the button face, as it is shown and as it is shown disabled.
struct ImageRecord {
    HBITMAP normal = nullptr, disabled = nullptr;
    int width = 0, height = 0;
};

// Class names of the program's top-level windows and of its containers.
const char* WindowClassName();
const char* ContainerClassName();

// "STEP file (*.stp)|*.stp" as the common dialogs want it: NUL-separated, ended by two NULs.
std::string DialogFilter(const std::string& filter);

// Text of a multi-line edit control split at CR LF (a lone LF also ends a line).
std::vector<std::string> SplitEditLines(const std::string& text);
std::string JoinEditLines(const std::vector<std::string>& lines);

// What turns an editor's text into another in whole lines: the old text's bytes from `start` to
// `end` give way to `replacement`, and the lines around them stay. Both ends fall on line starts
// (or the text's end), so a CR LF pair is never split.
struct LineChange {
    std::size_t start = 0, end = 0;
    std::string replacement;
};
LineChange ChangedLines(const std::string& before, const std::string& after);

class Win32Gui final : public Gui {
public:
    Win32Gui();
    ~Win32Gui() override;
    Win32Gui(const Win32Gui&) = delete;
    Win32Gui& operator=(const Win32Gui&) = delete;

    bool openWindow(int id, Rect rect, const std::string& title, unsigned flags,
                    int owner) override;
    void closeWindow(int id) override;
    void setTopmost(int window, bool on) override;
    void enableWindow(int window, bool on) override;
    void activateWindow(int window) override;
    Rect windowRect(int window) override;

    void loadFont(int id, const std::string& face, int points, bool highQuality) override;
    void setDefaultFont(int id) override;
    void loadImage(int id, const Image& image) override;

    void createGadget(const GadgetSpec& spec) override;
    void setText(int gadget, const std::string& text) override;
    std::string text(int gadget) override;
    void addItem(int gadget, const std::string& text) override;
    void clearItems(int gadget) override;
    void setNumberItems(int gadget, int count, const std::string& leading) override;
    int itemCount(int gadget) override;
    std::string itemText(int gadget, int index) override;
    void select(int gadget, int index) override;
    int selected(int gadget) override;
    void setDisabled(int gadget, bool on) override;
    bool isDisabled(int gadget) override;
    void setHidden(int gadget, bool on) override;
    bool isHidden(int gadget) override;
    void setFont(int gadget, int font) override;
    void setColour(int gadget, std::optional<std::uint32_t> rgb) override;
    void setFocus(int gadget) override;
    int focusedGadget() override;
    std::vector<std::string> lines(int gadget) override;
    void setLines(int gadget, const std::vector<std::string>& lines) override;
    int cursorLine(int gadget) override;

    void createMenu(int window, const std::vector<MenuTitle>& menu) override;
    void setMenuItemDisabled(int item, bool on) override;
    bool isMenuItemDisabled(int item) override;

    Event waitEvent() override;
    void postEvent(const Event& event) override;

    Answer messageBox(const std::string& title, const std::string& text,
                      Buttons buttons) override;
    std::optional<std::string> fileRequester(FileMode mode, const std::string& title,
                                             const std::string& defaultFile,
                                             const std::string& filter) override;
    void notice(const std::string& text, int parentWindow) override;

    void runOnUi(const std::function<void()>& fn) override;

    // The system's handles, for tests that drive the controls as a user would (UI thread only).
    HWND windowHandle(int id) { return window(id) ? window(id)->hwnd : nullptr; }
    HWND gadgetHandle(int id) { return gadget(id) ? gadget(id)->hwnd : nullptr; }

    // The window procedure of the program's windows and containers.
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    template <class F>
    auto onUi(F&& fn) -> decltype(fn()) {
        using Result = decltype(fn());
        if (GetCurrentThreadId() == uiThread_) return fn();
        if constexpr (std::is_void_v<Result>) {
            runOnUi(std::function<void()>(fn));
        } else {
            std::optional<Result> result;
            runOnUi([&] { result.emplace(fn()); });
            return result ? std::move(*result) : Result{};
        }
    }

    WindowRecord* window(int id);
    GadgetRecord* gadget(int id);
    int windowIdOf(HWND hwnd) const;  // the program's top-level window that holds hwnd, or 0
    HWND activeProgramWindow() const;
    HFONT fontOrDefault(int id) const;

    // The UI thread's message handling, shared by waitEvent and the notice's pump.
    void pumpMessage(MSG& msg);
    void pumpFor(DWORD milliseconds);
    void noteInput(const MSG& msg);
    void gadgetCommand(HWND control, int code);
    void fitClientArea(WindowRecord& record);
    void drawImageButton(const DRAWITEMSTRUCT& item);
    void destroyGadget(int id);
    void keepFramesUnder(HWND parent);
    void destroyWindowGadgets(int window);
    HWND gadgetParent(const GadgetSpec& spec, Rect& rect);
    void setGadgetText(GadgetRecord& record, const std::string& text);
    void setEditorText(HWND editor, const std::string& text);
    std::string gadgetText(const GadgetRecord& record);
    int findItem(const GadgetRecord& record, const std::string& text);
    bool openWindowOnUi(int id, Rect rect, const std::string& title, unsigned flags, int owner);

    DWORD uiThread_ = 0;
    HWND callWindow_ = nullptr;  // message-only window that runs calls from other threads
    std::map<int, WindowRecord> windows_;
    std::map<int, GadgetRecord> gadgets_;
    std::map<HWND, int> gadgetOfHwnd_;
    std::map<int, HFONT> fonts_;
    std::vector<HFONT> retiredFonts_;  // replaced fonts: gadgets may still draw with them
    std::map<int, ImageRecord> images_;
    std::map<int, int> menuItemWindow_;
    int defaultFont_ = -1;
    bool programmaticChange_ = false;  // own text changes raise no Change events
    std::deque<Event> events_;
};

}  // namespace zs::gui::win32
