// Colours of single pixels of the root window, decoded with the screen's visual.
#pragma once

#include <xcb/xcb.h>

#include <optional>

#include "platform/desktop.h"

namespace zs::x11 {

class RootPixels {
public:
    RootPixels(xcb_connection_t* c, const xcb_screen_t* screen);
    bool onScreen(Point point) const;
    // nullopt outside the screen, or when the server does not answer.
    std::optional<Rgb> at(Point point);

private:
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0, bits = 0;
        int value(std::uint32_t pixel) const;
    };

    xcb_connection_t* c_;
    xcb_window_t root_;
    int width_, height_;
    int bitsPerPixel_ = 32;
    bool bigEndian_ = false;
    Channel red_, green_, blue_;
};

}  // namespace zs::x11
