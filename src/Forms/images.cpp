// The eleven button faces, drawn in code: Play, Pause, Stop (45 x 35) and the eight step
// navigation faces (25 x 25). Transparent background, solid glyphs.
#include <cmath>
#include <cstdint>

#include "Forms/FormMAIN.h"

namespace zs::form {

namespace {

constexpr std::uint32_t kClear = 0x00000000;
constexpr std::uint32_t kInk = 0xFF202020;
constexpr std::uint32_t kGreen = 0xFF1E8C2A;
constexpr std::uint32_t kBlue = 0xFF2050A0;
constexpr std::uint32_t kRed = 0xFFC02020;

class Canvas {
public:
    Canvas(int width, int height) {
        image_.width = width;
        image_.height = height;
        image_.pixels.assign(static_cast<std::size_t>(width * height), kClear);
    }

    void fillRect(int x, int y, int w, int h, std::uint32_t color) {
        for (int row = y; row < y + h; ++row)
            for (int col = x; col < x + w; ++col) set(col, row, color);
    }

    // A triangle with one vertical side from (baseX, top) to (baseX, bottom) and its tip at
    // (tipX, the middle): pointing right when tipX > baseX, left otherwise.
    void fillArrow(int baseX, int tipX, int top, int bottom, std::uint32_t color) {
        const double middle = (top + bottom) / 2.0;
        const double half = (bottom - top) / 2.0;
        const int step = tipX > baseX ? 1 : -1;
        const int length = std::abs(tipX - baseX);
        for (int i = 0; i <= length; ++i) {
            const double reach = half * (1.0 - static_cast<double>(i) / length);
            const int x = baseX + i * step;
            for (int y = top; y <= bottom; ++y)
                if (std::abs(y - middle) <= reach + 0.01) set(x, y, color);
        }
    }

    void plus(int cx, int cy, int arm, std::uint32_t color) {
        fillRect(cx - arm, cy - 1, 2 * arm + 1, 3, color);
        fillRect(cx - 1, cy - arm, 3, 2 * arm + 1, color);
    }

    void cross(int x0, int y0, int size, std::uint32_t color) {
        for (int i = 0; i < size; ++i)
            for (int t = -1; t <= 1; ++t) {
                set(x0 + i + t, y0 + i, color);
                set(x0 + size - 1 - i + t, y0 + i, color);
            }
    }

    gui::Image take() { return std::move(image_); }

private:
    void set(int x, int y, std::uint32_t color) {
        if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
        image_.pixels[static_cast<std::size_t>(y * image_.width + x)] = color;
    }

    gui::Image image_;
};

gui::Image PlayFace() {
    Canvas c(45, 35);
    c.fillArrow(16, 31, 8, 26, kGreen);
    return c.take();
}

gui::Image PauseFace() {
    Canvas c(45, 35);
    c.fillRect(15, 9, 5, 17, kBlue);
    c.fillRect(25, 9, 5, 17, kBlue);
    return c.take();
}

gui::Image StopFace() {
    Canvas c(45, 35);
    c.fillRect(15, 10, 15, 15, kRed);
    return c.take();
}

gui::Image FirstFace() {
    Canvas c(25, 25);
    c.fillRect(6, 6, 2, 13, kInk);
    c.fillArrow(17, 9, 6, 18, kInk);
    return c.take();
}

gui::Image PreviousFace() {
    Canvas c(25, 25);
    c.fillArrow(16, 8, 6, 18, kInk);
    return c.take();
}

gui::Image ListFace() {
    Canvas c(25, 25);
    for (int row = 0; row < 4; ++row) {
        c.fillRect(5, 6 + 4 * row, 2, 2, kInk);
        c.fillRect(9, 6 + 4 * row, 11, 2, kInk);
    }
    return c.take();
}

gui::Image NextFace() {
    Canvas c(25, 25);
    c.fillArrow(9, 17, 6, 18, kInk);
    return c.take();
}

gui::Image LastFace() {
    Canvas c(25, 25);
    c.fillArrow(8, 16, 6, 18, kInk);
    c.fillRect(17, 6, 2, 13, kInk);
    return c.take();
}

// Lines of the program with a plus after them.
gui::Image AppendFace() {
    Canvas c(25, 25);
    c.fillRect(5, 4, 15, 2, kInk);
    c.fillRect(5, 8, 15, 2, kInk);
    c.plus(12, 16, 5, kGreen);
    return c.take();
}

// A plus in front of the lines of the program.
gui::Image InsertFace() {
    Canvas c(25, 25);
    c.plus(12, 8, 5, kGreen);
    c.fillRect(5, 16, 15, 2, kInk);
    c.fillRect(5, 20, 15, 2, kInk);
    return c.take();
}

gui::Image DeleteFace() {
    Canvas c(25, 25);
    c.cross(6, 6, 13, kRed);
    return c.take();
}

}  // namespace

std::array<gui::Image, kImageCount> ButtonImages() {
    return {PlayFace(),  PauseFace(), StopFace(),  FirstFace(),  PreviousFace(), ListFace(),
            NextFace(),  LastFace(),  AppendFace(), InsertFace(), DeleteFace()};
}

}  // namespace zs::form
