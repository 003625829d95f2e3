// The screen's logical pixels per inch on X11.
#pragma once

#include <optional>
#include <string_view>

namespace zs::x11 {

// The value of Xft.dpi in a resource database text ("Xft.dpi:\t120\n..."), rounded; nothing when
// the text has no such resource or no positive number in it.
std::optional<int> XftDpiFromResources(std::string_view resources);

// Xft.dpi of the display's resources when set, else the pixel width over the physical width;
// 96 when no display can be opened (nullptr: $DISPLAY).
int ScreenPixelsPerInch(const char* displayName);

}  // namespace zs::x11
