// The desktop's top-level windows and screen pixels: what the steps that find their windows and
// wait for the desktop look at.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input.h"

namespace zs {

using WindowId = std::uint64_t;

struct DesktopWindow {
    WindowId id = 0;
    std::string title;  // as step texts hold it: UTF-8 on Linux, the ANSI code page on Windows
    bool own = false;   // one of the program's own windows
    bool operator==(const DesktopWindow&) const = default;
};

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // The visible top-level application windows, the topmost first.
    virtual std::vector<DesktopWindow> windows() = 0;
    // Restores the window if it is minimised, raises it and gives it the keyboard focus, then
    // waits a short while (about 100 ms at most) for the window system to report it as the
    // active window. True once it does; false when it does not (yet), or the window is gone.
    virtual bool activate(WindowId window) = 0;
    // The screen position of the top-left corner of the window's client area; nullopt when the
    // window is gone.
    virtual std::optional<Point> clientOrigin(WindowId window) = 0;
    // The top-level window under a screen point; nullopt over the desktop's background.
    virtual std::optional<DesktopWindow> windowAt(Point point) = 0;
    // The colour of a screen pixel; nullopt outside every screen.
    virtual std::optional<Rgb> pixel(Point point) = 0;
};

// The window a step names by a part of its title: the highest in the stacking order of the
// windows whose title contains `part`, the program's own windows left out.
inline std::optional<DesktopWindow> FindWindowByTitle(Desktop& desktop, std::string_view part) {
    for (DesktopWindow& window : desktop.windows())
        if (!window.own && window.title.find(part) != std::string::npos) return window;
    return std::nullopt;
}

}  // namespace zs
