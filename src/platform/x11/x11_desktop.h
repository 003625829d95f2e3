// The desktop on X11: the window manager's client list (EWMH), activation as a pager asks for it
// (or directly without a window manager), client-area origins and root-window pixels.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/desktop.h"

namespace zs::x11 {

struct DesktopConnection;

// Every call may come from any thread; one mutex serialises the use of its connection, which is
// its own XCB connection, so that a window vanishing under a request is an empty answer and
// never an error for the program's Xlib error handlers.
class X11Desktop final : public Desktop {
public:
    // Connects to displayName (nullptr: $DISPLAY) when first used, and again after the
    // connection broke.
    explicit X11Desktop(const char* displayName = nullptr);
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    std::vector<DesktopWindow> windows() override;
    bool activate(WindowId window) override;
    std::optional<Point> clientOrigin(WindowId window) override;
    std::optional<DesktopWindow> windowAt(Point point) override;
    std::optional<Rgb> pixel(Point point) override;

private:
    DesktopConnection* connection();  // nullptr when the display cannot be reached

    std::mutex mutex_;
    std::string displayName_;
    std::unique_ptr<DesktopConnection> connection_;
};

}  // namespace zs::x11
