// The desktop service against real windows: under openbox (scripts/with-xvfb.sh -w) and without
// a window manager; the cases that need one or the other skip themselves.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/x11/x11_desktop.h"
#include "test_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Status

extern char** environ;

namespace zs::x11 {
namespace {

// Waits for what the screen shows, as a user would; false after a generous bound.
bool Eventually(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// One zs_x11_titled_window process.
class TitledWindow {
public:
    TitledWindow(const std::string& title, const char* colour, int x, int y,
                 bool refuseFocus = false) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string xs = std::to_string(x), ys = std::to_string(y);
        const char* path = std::getenv("ZS_X11_TITLED_WINDOW");
        std::vector<const char*> args{path, title.c_str(), colour, xs.c_str(), ys.c_str(),
                                      "200", "150"};
        if (refuseFocus) args.push_back("--refuse-focus");
        args.push_back(nullptr);
        if (path == nullptr ||
            posix_spawn(&pid_, path, &actions, nullptr, const_cast<char**>(args.data()), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        pollfd fd{out[0], POLLIN, 0};
        char line[64] = {};
        if (pid_ > 0 && ::poll(&fd, 1, 20000) == 1 && ::read(out[0], line, sizeof line - 1) > 0)
            id = std::strtoul(line + 6, nullptr, 10);  // "SHOWN <id>"
        ::close(out[0]);
    }
    ~TitledWindow() { close(); }
    void close() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    WindowId id = 0;

private:
    pid_t pid_ = -1;
};

class X11DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr);
        XGetWindowAttributes(display_, DefaultRootWindow(display_), &root_);
    }
    void TearDown() override { XCloseDisplay(display_); }

    bool windowManagerRuns() { return zs::testing::WindowManagerRuns(display_); }

    // The titles of the listed windows, topmost first.
    std::vector<std::string> titles() {
        std::vector<std::string> result;
        for (const DesktopWindow& w : desktop_.windows()) result.push_back(w.title);
        return result;
    }
    int place(const std::string& title) {
        const auto all = titles();
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i] == title) return static_cast<int>(i);
        return -1;
    }

    Display* display_ = nullptr;
    XWindowAttributes root_{};
    X11Desktop desktop_;
};

TEST_F(X11DesktopTest, WindowsByTitleInStackingOrderActivatedAndConfirmed) {
    TitledWindow alpha("zs alpha \u00e9", "ff0000", 100, 100), beta("zs beta", "00ff00", 150, 150);
    ASSERT_NE(alpha.id, 0u);
    ASSERT_NE(beta.id, 0u);
    ASSERT_TRUE(Eventually([&] { return place("zs beta") >= 0 && place("zs alpha \u00e9") >= 0; }));
    EXPECT_LT(place("zs beta"), place("zs alpha \u00e9")) << "the later window is above";
    for (const DesktopWindow& w : desktop_.windows()) EXPECT_FALSE(w.own) << w.title;

    EXPECT_TRUE(desktop_.activate(alpha.id) ||
                Eventually([&] { return desktop_.activate(alpha.id); }));
    EXPECT_TRUE(Eventually([&] { return place("zs alpha \u00e9") < place("zs beta"); }))
        << "raised by the activation";
    EXPECT_TRUE(desktop_.activate(beta.id) || Eventually([&] { return desktop_.activate(beta.id); }));
    EXPECT_TRUE(Eventually([&] { return place("zs beta") < place("zs alpha \u00e9"); }));
}

TEST_F(X11DesktopTest, OwnWindowsAreMarked) {
    Window own = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 10, 10, 50, 50, 0, 0, 0);
    XStoreName(display_, own, "zs own window");
    XMapWindow(display_, own);
    XSync(display_, False);
    ASSERT_TRUE(Eventually([&] { return place("zs own window") >= 0; }));
    for (const DesktopWindow& w : desktop_.windows()) {
        if (w.title == "zs own window") {
            EXPECT_TRUE(w.own);
        }
    }
    XDestroyWindow(display_, own);
    XSync(display_, False);
}

// The client area's corner is where its colour begins, also after the manager moved the window;
// a window that is gone has no origin, no activation, no place in the list.
TEST_F(X11DesktopTest, OriginsPixelsAndTheWindowUnderAPoint) {
    TitledWindow blue("zs blue", "0000ff", 300, 200);
    ASSERT_NE(blue.id, 0u);
    const Rgb blueRgb{0, 0, 255};
    auto cornerShowsBlue = [&] {
        const auto origin = desktop_.clientOrigin(blue.id);
        return origin && desktop_.pixel(*origin) == blueRgb &&
               desktop_.pixel({origin->x + 199, origin->y + 149}) == blueRgb &&
               desktop_.pixel({origin->x + 200, origin->y + 150}) != blueRgb;
    };
    ASSERT_TRUE(desktop_.activate(blue.id) || Eventually([&] { return desktop_.activate(blue.id); }));
    ASSERT_TRUE(Eventually(cornerShowsBlue));
    const Point before = *desktop_.clientOrigin(blue.id);
    const auto under = desktop_.windowAt({before.x + 5, before.y + 5});
    ASSERT_TRUE(under.has_value());
    EXPECT_EQ(under->id, blue.id);
    EXPECT_EQ(under->title, "zs blue");

    XMoveWindow(display_, static_cast<Window>(blue.id), 500, 400);
    XSync(display_, False);
    ASSERT_TRUE(Eventually([&] { return desktop_.clientOrigin(blue.id) != before; }));
    EXPECT_TRUE(Eventually(cornerShowsBlue)) << "the origin follows the move";

    EXPECT_FALSE(desktop_.pixel({-1, 0}).has_value());
    EXPECT_FALSE(desktop_.pixel({root_.width, 0}).has_value());
    EXPECT_FALSE(desktop_.windowAt({0, root_.height}).has_value());
    EXPECT_FALSE(desktop_.windowAt({root_.width - 1, root_.height - 1}).has_value())
        << "the root's corner shows the background";

    blue.close();
    ASSERT_TRUE(Eventually([&] { return place("zs blue") < 0; }));
    EXPECT_FALSE(desktop_.clientOrigin(blue.id).has_value());
    EXPECT_FALSE(desktop_.activate(blue.id));
}

TEST_F(X11DesktopTest, MinimisedWindowIsRestoredByActivation) {
    if (!windowManagerRuns()) GTEST_SKIP() << "minimising needs a window manager";
    TitledWindow green("zs green", "00ff00", 100, 100);
    ASSERT_NE(green.id, 0u);
    ASSERT_TRUE(Eventually([&] { return place("zs green") >= 0; }));
    XIconifyWindow(display_, static_cast<Window>(green.id), DefaultScreen(display_));
    XSync(display_, False);
    auto viewable = [&] {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display_, static_cast<Window>(green.id), &attributes) &&
               attributes.map_state == IsViewable;
    };
    ASSERT_TRUE(Eventually([&] { return !viewable(); }));
    EXPECT_GE(place("zs green"), 0) << "a minimised window is still listed";
    EXPECT_TRUE(desktop_.activate(green.id) || Eventually([&] { return desktop_.activate(green.id); }));
    EXPECT_TRUE(viewable());
}

TEST_F(X11DesktopTest, WindowThatRefusesTheFocusIsNotReportedActive) {
    if (!windowManagerRuns()) GTEST_SKIP() << "without a manager the focus is set directly";
    TitledWindow taker("zs taker", "ffffff", 50, 50);
    TitledWindow refuser("zs refuser", "000000", 100, 100, true);
    ASSERT_TRUE(Eventually([&] { return place("zs refuser") >= 0 && place("zs taker") >= 0; }));
    ASSERT_TRUE(desktop_.activate(taker.id) || Eventually([&] { return desktop_.activate(taker.id); }));
    EXPECT_FALSE(desktop_.activate(refuser.id));
}

TEST_F(X11DesktopTest, WithoutManagerPopUpsAndUntitledWindowsAreLeftOut) {
    if (windowManagerRuns()) GTEST_SKIP() << "a manager would take these windows";
    XSetWindowAttributes popUp{};
    popUp.override_redirect = True;
    Window menu = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 40, 40, 0,
                                CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect,
                                &popUp);
    XStoreName(display_, menu, "zs pop-up");
    Window untitled = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 9, 9, 0, 0, 0);
    XMapWindow(display_, menu);
    XMapWindow(display_, untitled);
    TitledWindow titled("zs titled", "808080", 20, 20);
    ASSERT_TRUE(Eventually([&] { return place("zs titled") >= 0; }));
    EXPECT_EQ(place("zs pop-up"), -1);
    for (const DesktopWindow& w : desktop_.windows()) EXPECT_NE(w.id, untitled);
    EXPECT_TRUE(desktop_.activate(titled.id));
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    EXPECT_EQ(focus, static_cast<Window>(titled.id));
    XDestroyWindow(display_, menu);
    XDestroyWindow(display_, untitled);
    XSync(display_, False);
}

}  // namespace
}  // namespace zs::x11
