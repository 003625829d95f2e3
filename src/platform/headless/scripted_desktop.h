// A desktop for tests: windows and pixels that the test sets, changed at virtual times it chooses.
// Safe to call from several threads.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop.h"

namespace zs {

class ScriptedDesktop final : public Desktop {
public:
    explicit ScriptedDesktop(Clock* clock = nullptr) : clock_(clock) {}

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
    // Runs change when the virtual clock reaches ms (at the first call at or after it).
    void at(long long ms, std::function<void(ScriptedDesktop&)> change);

    std::optional<WindowId> active();
    std::vector<std::string> log();  // "activate 7", ...

    std::vector<DesktopWindow> windows() override;
    bool activate(WindowId window) override;
    std::optional<Point> clientOrigin(WindowId window) override;
    std::optional<DesktopWindow> windowAt(Point point) override;
    std::optional<Rgb> pixel(Point point) override;

private:
    void runDueChanges();
    Window* find(WindowId id);

    std::recursive_mutex mutex_;
    Clock* clock_;
    std::vector<Window> stack_;  // topmost first
    std::map<std::pair<int, int>, Rgb> pixels_;
    std::multimap<long long, std::function<void(ScriptedDesktop&)>> changes_;
    std::optional<WindowId> active_;
    std::vector<std::string> log_;
};

}  // namespace zs
