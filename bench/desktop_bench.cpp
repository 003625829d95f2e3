// The X11 desktop service's speed, in an X server of its own (best under openbox):
//   scripts/with-xvfb.sh -w build/tests/x11/zs_desktop_bench
// Prints the medians of: finding a window by title among 200 top-level windows, reading one
// pixel, and the time from a matching window being mapped to it being active when it is looked
// for every 100 ms, as the player does.
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11/x11_desktop.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

Window TitledWindow(Display* display, const std::string& title, int x, int y) {
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, 120, 80, 0, 0,
                                        0xFFFFFF);
    XStoreName(display, window, title.c_str());
    XMapWindow(display, window);
    return window;
}

std::optional<zs::WindowId> Find(zs::x11::X11Desktop& desktop, const std::string& title) {
    for (const zs::DesktopWindow& w : desktop.windows())
        if (w.title.find(title) != std::string::npos) return w.id;
    return std::nullopt;
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    zs::x11::X11Desktop desktop;
    for (int i = 0; i < 200; ++i) TitledWindow(display, "filler " + std::to_string(i), i * 3, i * 2);
    TitledWindow(display, "the wanted window", 600, 500);
    XSync(display, False);
    for (int tries = 0; desktop.windows().size() < 201; ++tries) {
        if (tries == 600) {
            std::fprintf(stderr, "the 201 windows did not show: %zu listed\n", desktop.windows().size());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    std::vector<double> finds, pixels, activations;
    for (int i = 0; i < 50; ++i) {
        const auto start = Clock::now();
        if (!Find(desktop, "the wanted window")) std::fprintf(stderr, "not found\n");
        finds.push_back(Ms(Clock::now() - start));
        const auto pixelStart = Clock::now();
        desktop.pixel({640, 512});
        pixels.push_back(Ms(Clock::now() - pixelStart));
    }
    for (int i = 0; i < 20; ++i) {
        const std::string title = "appearing " + std::to_string(i);
        const auto mapped = Clock::now();
        const Window window = TitledWindow(display, title, 300, 300);
        XSync(display, False);
        bool active = false;
        auto next = mapped;
        for (int polls = 0; polls < 100 && !active; ++polls, next += std::chrono::milliseconds(100)) {
            std::this_thread::sleep_until(next);
            const auto id = Find(desktop, title);
            active = id && desktop.activate(*id);
        }
        if (!active) std::fprintf(stderr, "%s: not active after 10 s\n", title.c_str());
        activations.push_back(Ms(Clock::now() - mapped));
        XDestroyWindow(display, window);
        XSync(display, False);
    }
    std::printf("find among %zu windows: median %.2f ms\n", desktop.windows().size(), Median(finds));
    std::printf("one pixel: median %.3f ms\n", Median(pixels));
    std::printf("mapped to active (100 ms polling): median %.1f ms, worst %.1f ms\n",
                Median(activations), *std::max_element(activations.begin(), activations.end()));
    XCloseDisplay(display);
    return 0;
}
