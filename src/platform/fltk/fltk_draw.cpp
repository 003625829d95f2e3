#include "platform/fltk/fltk_draw.h"
#include "platform/fltk/fltk_text.h"

#include <FL/Fl.H>
#include <FL/Fl_Device.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace zs::gui::fltk {

namespace {

// Longer texts are measured and drawn in pieces: a piece is a small request, and at any font
// size its width and its glyphs' places fit the 16 bits that the X font library and the server
// keep them in.
constexpr std::size_t kMaxPieceBytes = 256;
// A text no longer than a piece, drawn this near the window's origin, goes out as it is, so that
// ordinary drawing costs nothing more.
constexpr int kNearOrigin = 8192;

class ClippedTextDriver final : public Fl_Xlib_Graphics_Driver {
public:
    using Fl_Xlib_Graphics_Driver::draw;
    using Fl_Xlib_Graphics_Driver::width;

    double width(const char* str, int n) override {
        if (n <= 0) return 0;
        if (static_cast<std::size_t>(n) <= kMaxPieceBytes) {
            return Fl_Xlib_Graphics_Driver::width(str, n);
        }
        const auto measure = [this](std::string_view part) { return pieceWidth(part); };
        return static_cast<double>(
            pieceWiseWidth({str, static_cast<std::size_t>(n)}, kMaxPieceBytes, measure));
    }

    void draw(const char* str, int n, int x, int y) override {
        if (n <= 0) return;
        if (static_cast<std::size_t>(n) <= kMaxPieceBytes && std::abs(x) < kNearOrigin) {
            Fl_Xlib_Graphics_Driver::draw(str, n, x, y);
            return;
        }
        int left = 0, right = 0;
        visibleSpan(left, right);
        // Glyphs may reach a little beyond their advance (italics, overhangs).
        const int margin = std::max(16, 2 * static_cast<int>(size()));
        const auto measure = [this](std::string_view part) { return pieceWidth(part); };
        const std::string_view text(str, static_cast<std::size_t>(n));
        for (const TextPiece& piece :
             visiblePieces(text, x, left - margin, right + margin, kMaxPieceBytes, measure)) {
            Fl_Xlib_Graphics_Driver::draw(str + piece.begin,
                                          static_cast<int>(piece.end - piece.begin), piece.x, y);
        }
    }

private:
    int pieceWidth(std::string_view piece) {
        return static_cast<int>(
            Fl_Xlib_Graphics_Driver::width(piece.data(), static_cast<int>(piece.size())));
    }

    // The columns of the window that drawing can reach now: those of the clip region.
    void visibleSpan(int& left, int& right) {
        if (Fl_Region region = clip_region()) {
            XRectangle box{};
            XClipBox(region, &box);
            left = box.x;
            right = box.x + box.width;
        } else {
            left = 0;
            right = Fl_Window::current() ? Fl_Window::current()->w() : kNearOrigin;
        }
    }
};

}  // namespace

void installClippedTextDrawing() {
    static auto* const driver = new ClippedTextDriver;  // lives as long as the display
    Fl_Display_Device* display = Fl_Display_Device::display_device();
    if (display->driver() == driver) return;
    display->driver(driver);
    display->set_current();
}

}  // namespace zs::gui::fltk
