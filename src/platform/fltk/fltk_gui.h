// The gadget layer on FLTK 1.3 under X11. The thread that creates the first FltkGui is the UI
// thread; every operation may be called from any thread and is carried over to it.
#pragma once

#include <memory>
#include <optional>
#include <type_traits>

#include "platform/gui.h"

class Fl_Widget;
class Fl_Window;

namespace zs::gui {

namespace fltk {
struct State;
}

class FltkGui final : public Gui {
public:
    // pixelsPerInch converts font points to pixels (Windows' logical 96 by default).
    explicit FltkGui(int pixelsPerInch = 96);
    ~FltkGui() override;
    FltkGui(const FltkGui&) = delete;
    FltkGui& operator=(const FltkGui&) = delete;

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
    // Like waitEvent, but gives up after the given seconds (tests, idle work).
    std::optional<Event> waitEventFor(double seconds);

    Answer messageBox(const std::string& title, const std::string& text, Buttons buttons) override;
    std::optional<std::string> fileRequester(FileMode mode, const std::string& title,
                                             const std::string& defaultFile,
                                             const std::string& filter) override;
    void notice(const std::string& text, int parentWindow) override;

    void runOnUi(const std::function<void()>& fn) override;

    // The FLTK objects behind the numbers, for tests and screenshots (UI thread only); nullptr
    // when unknown.
    Fl_Window* nativeWindow(int window);
    Fl_Widget* nativeGadget(int gadget);
    unsigned long xWindow(int window);  // X window id, 0 when not shown

private:
    template <class F>
    auto onUi(F&& fn) {
        using Result = std::invoke_result_t<F&>;
        if constexpr (std::is_void_v<Result>) {
            runOnUi(fn);
        } else {
            std::optional<Result> result;
            runOnUi([&] { result.emplace(fn()); });
            return std::move(*result);
        }
    }

    std::unique_ptr<fltk::State> state_;
};

}  // namespace zs::gui
