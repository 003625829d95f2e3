// Win32Gui: top-level windows, menus, fonts and images.
#include <algorithm>

#include "platform/win32/gui_win32.h"

namespace zs::gui::win32 {
namespace {

DWORD WindowStyle(unsigned flags) {
    if (flags & kBorderless) return WS_POPUP | WS_CLIPCHILDREN;
    DWORD style = WS_OVERLAPPED | WS_CLIPCHILDREN;
    if (flags & kCaption) style |= WS_CAPTION;
    if (flags & kCloseBox) style |= WS_SYSMENU | WS_CAPTION;
    return style;
}

// Top-left corner of a window of the given outer size centred over `area`.
POINT CentredIn(const RECT& area, int width, int height) {
    return {area.left + (area.right - area.left - width) / 2,
            area.top + (area.bottom - area.top - height) / 2};
}

RECT WorkArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// An ARGB pixel blended over the face colour of buttons: bitmaps on buttons have no alpha.
std::uint32_t OverButtonFace(std::uint32_t argb, COLORREF face) {
    const unsigned alpha = argb >> 24;
    const auto mix = [alpha](unsigned fg, unsigned bg) { return (fg * alpha + bg * (255 - alpha)) / 255; };
    const unsigned r = mix((argb >> 16) & 0xFF, GetRValue(face));
    const unsigned g = mix((argb >> 8) & 0xFF, GetGValue(face));
    const unsigned b = mix(argb & 0xFF, GetBValue(face));
    return (r << 16) | (g << 8) | b;
}

// The disabled look: grey, and half way to the face colour.
std::uint32_t Greyed(std::uint32_t argb) {
    const unsigned r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    const unsigned grey = (r * 30 + g * 59 + b * 11) / 100;
    return ((argb >> 25) << 24) | (grey << 16) | (grey << 8) | grey;
}

HBITMAP MakeBitmap(const Image& image, bool greyed) {
    const std::size_t count = static_cast<std::size_t>(image.width) * std::max(image.height, 0);
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() < count) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) return bitmap;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pixel = greyed ? Greyed(image.pixels[i]) : image.pixels[i];
        out[i] = OverButtonFace(pixel, face);
    }
    return bitmap;
}

}  // namespace

bool Win32Gui::openWindow(int id, Rect rect, const std::string& title, unsigned flags,
                          int owner) {
    return onUi([&] { return openWindowOnUi(id, rect, title, flags, owner); });
}

bool Win32Gui::openWindowOnUi(int id, Rect rect, const std::string& title, unsigned flags,
                              int owner) {
    if (window(id)) closeWindow(id);
    const DWORD style = WindowStyle(flags);
    RECT outer{0, 0, std::max(rect.w, 1), std::max(rect.h, 1)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const WindowRecord* ownerRecord = window(owner);
    const HWND ownerHwnd = ownerRecord ? ownerRecord->hwnd : nullptr;
    POINT at{CW_USEDEFAULT, CW_USEDEFAULT};
    if (flags & kAtPosition) {
        at = {rect.x + outer.left, rect.y + outer.top};
    } else if (flags & kCentered) {
        RECT area = WorkArea();
        if (ownerHwnd) GetWindowRect(ownerHwnd, &area);
        at = CentredIn(area, width, height);
    }
    const HWND hwnd = CreateWindowExA(0, WindowClassName(), title.c_str(), style, at.x, at.y, width,
                                      height, ownerHwnd, nullptr, GetModuleHandleA(nullptr), this);
    if (hwnd == nullptr) return false;
    windows_[id] = WindowRecord{hwnd, nullptr, std::max(rect.w, 1), std::max(rect.h, 1), nullptr};
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return true;
}

void Win32Gui::closeWindow(int id) {
    onUi([&] {
        WindowRecord* record = window(id);
        if (record == nullptr) return;
        destroyWindowGadgets(id);
        const WindowRecord gone = *record;
        windows_.erase(id);
        for (auto it = menuItemWindow_.begin(); it != menuItemWindow_.end();)
            it = it->second == id ? menuItemWindow_.erase(it) : std::next(it);
        DestroyWindow(gone.hwnd);  // also destroys its menu and child windows
        if (gone.background) DeleteObject(gone.background);
    });
}

void Win32Gui::setTopmost(int id, bool on) {
    onUi([&] {
        if (WindowRecord* record = window(id))
            SetWindowPos(record->hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    });
}

void Win32Gui::enableWindow(int id, bool on) {
    onUi([&] {
        if (WindowRecord* record = window(id)) EnableWindow(record->hwnd, on);
    });
}

void Win32Gui::activateWindow(int id) {
    onUi([&] {
        if (WindowRecord* record = window(id)) {
            SetForegroundWindow(record->hwnd);
            SetActiveWindow(record->hwnd);
        }
    });
}

Rect Win32Gui::windowRect(int id) {
    return onUi([&] {
        WindowRecord* record = window(id);
        RECT client{};
        if (record == nullptr || !GetClientRect(record->hwnd, &client)) return Rect{};
        POINT origin{0, 0};
        ClientToScreen(record->hwnd, &origin);
        return Rect{origin.x, origin.y, client.right, client.bottom};
    });
}

void Win32Gui::loadFont(int id, const std::string& face, int points, bool highQuality) {
    onUi([&] {
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        const HFONT font = CreateFontA(
            -MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
            highQuality ? CLEARTYPE_QUALITY : DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
            face.c_str());
        if (font == nullptr) return;
        if (const auto old = fonts_.find(id); old != fonts_.end()) retiredFonts_.push_back(old->second);
        fonts_[id] = font;
    });
}

void Win32Gui::setDefaultFont(int id) {
    onUi([&] { defaultFont_ = id; });
}

HFONT Win32Gui::fontOrDefault(int id) const {
    const auto found = fonts_.find(id);
    if (found != fonts_.end()) return found->second;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Win32Gui::loadImage(int id, const Image& image) {
    onUi([&] {
        const ImageRecord made{MakeBitmap(image, false), MakeBitmap(image, true), image.width,
                               image.height};
        if (made.normal == nullptr || made.disabled == nullptr) {
            if (made.normal) DeleteObject(made.normal);
            if (made.disabled) DeleteObject(made.disabled);
            return;
        }
        if (const auto old = images_.find(id); old != images_.end()) {
            DeleteObject(old->second.normal);
            DeleteObject(old->second.disabled);
        }
        images_[id] = made;
        for (const auto& [gadgetId, record] : gadgets_)
            if (record.kind == GadgetKind::ImageButton && record.image == id)
                InvalidateRect(record.hwnd, nullptr, TRUE);
    });
}

// Image buttons draw themselves: the image centred on the face, greyed while disabled, under a
// raised or (while pressed) sunken edge.
void Win32Gui::drawImageButton(const DRAWITEMSTRUCT& item) {
    RECT face = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &face, GetSysColorBrush(COLOR_BTNFACE));
    const auto found = gadgetOfHwnd_.find(item.hwndItem);
    const GadgetRecord* record = found == gadgetOfHwnd_.end() ? nullptr : gadget(found->second);
    const auto image = record ? images_.find(record->image) : images_.end();
    if (image != images_.end()) {
        const ImageRecord& bitmaps = image->second;
        HDC memory = CreateCompatibleDC(item.hDC);
        const HGDIOBJ old = SelectObject(
            memory, (item.itemState & ODS_DISABLED) ? bitmaps.disabled : bitmaps.normal);
        const int shift = pushed ? 1 : 0;
        BitBlt(item.hDC, (face.right - face.left - bitmaps.width) / 2 + shift,
               (face.bottom - face.top - bitmaps.height) / 2 + shift, bitmaps.width,
               bitmaps.height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    DrawEdge(item.hDC, &face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&face, -3, -3);
        DrawFocusRect(item.hDC, &face);
    }
}

void Win32Gui::createMenu(int id, const std::vector<MenuTitle>& menu) {
    onUi([&] {
        WindowRecord* record = window(id);
        if (record == nullptr) return;
        const HMENU bar = CreateMenu();
        for (const MenuTitle& title : menu) {
            const HMENU popup = CreatePopupMenu();
            for (const MenuItem& item : title.items) {
                if (item.id == 0) {
                    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
                } else {
                    AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(item.id), item.text.c_str());
                    menuItemWindow_[item.id] = id;
                }
            }
            AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title.title.c_str());
        }
        const HMENU old = record->menu;
        SetMenu(record->hwnd, bar);
        if (old) DestroyMenu(old);
        record->menu = bar;
        fitClientArea(*record);
    });
}

// The menu bar takes its height from the window, and may wrap: the window grows until the
// client area has its size again.
void Win32Gui::fitClientArea(WindowRecord& record) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT client{}, outer{};
        GetClientRect(record.hwnd, &client);
        const int dw = record.clientWidth - client.right, dh = record.clientHeight - client.bottom;
        if (dw == 0 && dh == 0) return;
        GetWindowRect(record.hwnd, &outer);
        SetWindowPos(record.hwnd, nullptr, 0, 0, outer.right - outer.left + dw,
                     outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Gui::setMenuItemDisabled(int item, bool on) {
    onUi([&] {
        const auto owner = menuItemWindow_.find(item);
        WindowRecord* record = owner == menuItemWindow_.end() ? nullptr : window(owner->second);
        if (record == nullptr || record->menu == nullptr) return;
        EnableMenuItem(record->menu, static_cast<UINT>(item),
                       MF_BYCOMMAND | (on ? MF_GRAYED : MF_ENABLED));
    });
}

bool Win32Gui::isMenuItemDisabled(int item) {
    return onUi([&] {
        const auto owner = menuItemWindow_.find(item);
        WindowRecord* record = owner == menuItemWindow_.end() ? nullptr : window(owner->second);
        if (record == nullptr || record->menu == nullptr) return false;
        const UINT state = GetMenuState(record->menu, static_cast<UINT>(item), MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0;
    });
}

}  // namespace zs::gui::win32
