// Where the open list of a combo lies on the screen. Shared by the backends that draw the list
// themselves, so that a long list never runs past the screen and each of its items can be
// reached with the mouse: rows that do not fit scroll.
#pragma once

#include <algorithm>

#include "platform/gui.h"

namespace zs::gui {

struct DropDownPlace {
    Rect rect;     // screen coordinates of the whole list
    int rows = 0;  // rows shown at once; the list scrolls when it holds more items
};

// field: the closed combo; screen: the work area holding it. The list drops below the field when
// its rows fit there, else goes to the side with more room, and is cut to whole rows that fit.
inline DropDownPlace PlaceDropDown(Rect field, Rect screen, int itemCount, int rowHeight,
                                   int maxRows, int border) {
    rowHeight = std::max(1, rowHeight);
    const int wanted = std::clamp(itemCount, 1, std::max(1, maxRows));
    const int below = screen.y + screen.h - (field.y + field.h);
    const int above = field.y - screen.y;
    const int needed = wanted * rowHeight + 2 * border;
    const bool dropsBelow = needed <= below || below >= above;
    const int room = std::max(dropsBelow ? below : above, rowHeight + 2 * border);
    const int rows = std::clamp((room - 2 * border) / rowHeight, 1, wanted);
    DropDownPlace place;
    place.rows = rows;
    place.rect.w = field.w;
    place.rect.h = rows * rowHeight + 2 * border;
    place.rect.x = std::clamp(field.x, screen.x, std::max(screen.x, screen.x + screen.w - field.w));
    place.rect.y = dropsBelow ? field.y + field.h : field.y - place.rect.h;
    place.rect.y = std::clamp(place.rect.y, screen.y,
                              std::max(screen.y, screen.y + screen.h - place.rect.h));
    return place;
}

}  // namespace zs::gui
