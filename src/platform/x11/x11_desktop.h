// The desktop on X11: the window manager's client list (EWMH), activation as a pager asks for it
// (or directly without a window manager), client-area origins and root-window pixels.
#pragma once

#include <memory>
#include <mutex>

#include "platform/desktop.h"

typedef struct _XDisplay Display;

namespace zs::x11 {

// Every call may come from any thread; one mutex serialises the use of its connection.
class X11Desktop final : public Desktop {
public:
    // Connects to displayName (nullptr: $DISPLAY) when first used.
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
    struct Connection;
    std::mutex mutex_;
    std::unique_ptr<Connection> connection_;
};

}  // namespace zs::x11
