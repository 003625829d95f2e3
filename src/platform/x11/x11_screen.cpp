// Screen density from the Xft.dpi resource or the screen's physical size.
#include "platform/x11/x11_screen.h"

#include <X11/Xlib.h>
#undef Status  // Xlib's name for int; Status below is zs::Status

#include <cmath>
#include <cstdlib>
#include <string>

namespace zs::x11 {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<int> PositiveRounded(std::string_view text) {
    const std::string number(text);
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end == number.c_str() || !std::isfinite(value) || value < 1 || value > 10000) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(value));
}

}  // namespace

std::optional<int> XftDpiFromResources(std::string_view resources) {
    while (!resources.empty()) {
        const auto end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view{} : resources.substr(end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "Xft.dpi") continue;
        return PositiveRounded(Trim(line.substr(colon + 1)));
    }
    return std::nullopt;
}

int ScreenPixelsPerInch(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (display == nullptr) return 96;
    std::optional<int> dpi;
    if (const char* resources = XResourceManagerString(display)) {
        dpi = XftDpiFromResources(resources);
    }
    const int screen = DefaultScreen(display);
    const int millimetres = DisplayWidthMM(display, screen);
    if (!dpi && millimetres > 0) {
        dpi = static_cast<int>(std::lround(DisplayWidth(display, screen) * 25.4 / millimetres));
    }
    XCloseDisplay(display);
    return dpi.value_or(96);
}

}  // namespace zs::x11
