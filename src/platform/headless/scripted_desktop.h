// A desktop for tests: windows and pixels that the test sets (at chosen virtual times through
// VirtualClock::at). Safe to call from several threads.
#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "platform/desktop.h"

namespace zs {

class ScriptedDesktop final : public Desktop {
public:
    struct Window {
        DesktopWindow window;
        Point origin;            // of the client area
        int width = 100, height = 100;
        bool minimised = false;
        bool refusesFocus = false;
    };

    // Puts a window on top of the others (or changes the one with that id, keeping its place).
    void setWindow(const Window& window);
    void closeWindow(WindowId id);
    // Pixels not set are black; the screen is 1000 x 1000.
    void setPixel(Point point, Rgb colour);

    std::optional<WindowId> active();
    std::vector<std::string> log();  // "activate 7", ...

    std::vector<DesktopWindow> windows() override;
    bool activate(WindowId window) override;
    std::optional<Point> clientOrigin(WindowId window) override;
    std::optional<DesktopWindow> windowAt(Point point) override;
    std::optional<Rgb> pixel(Point point) override;

private:
    Window* find(WindowId id);

    std::recursive_mutex mutex_;
    std::vector<Window> stack_;  // topmost first
    std::map<std::pair<int, int>, Rgb> pixels_;
    std::optional<WindowId> active_;
    std::vector<std::string> log_;
};

}  // namespace zs
