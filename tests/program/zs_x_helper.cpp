// Small X client for the program tests and the start-up benchmark.
//
//   zs_x_helper close WINDOW
//       sends WM_DELETE_WINDOW to WINDOW, as a window manager's close box does
//   zs_x_helper startup TITLE PROGRAM [ARGS...]
//       starts PROGRAM and prints the milliseconds from its exec to the map of a top-level
//       window named TITLE, then ends the program (SIGTERM) and prints its CPU ticks
//   zs_x_helper idle TITLE SECONDS PROGRAM [ARGS...]
//       starts PROGRAM, waits for its window, and prints the CPU time it used in SECONDS of idling
//   zs_x_helper catch HEIGHT MAIN
//       prints "ready", then waits for a window HEIGHT pixels high to map anywhere and, holding
//       the server so that a window that lives only briefly stays as it is, prints its absolute
//       x, y, width and height and 1 when its top level lies above that of window MAIN, else 0
//
// Exit status 0 on success, 1 on a time-out or an error (with a message on stderr).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

int Fail(const char* message) {
    std::fprintf(stderr, "zs_x_helper: %s\n", message);
    return 1;
}

int SendClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    if (!XSendEvent(display, window, False, NoEventMask, &event)) return Fail("XSendEvent failed");
    XSync(display, False);
    return 0;
}

bool HasTitle(Display* display, Window window, const char* title) {
    char* name = nullptr;
    if (!XFetchName(display, window, &name) || !name) return false;
    bool same = std::strcmp(name, title) == 0;
    XFree(name);
    return same;
}

pid_t Spawn(char** argv) {
    pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv);
        _exit(127);
    }
    return pid;
}

// Waits for the map of a top-level window named title; false after the time-out.
bool WaitForMap(Display* display, const char* title, Clock::time_point deadline) {
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) return true;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        poll(&fd, 1, static_cast<int>(std::max<long long>(1, left.count())));
    }
    return false;
}

// User plus system CPU ticks of a process, from /proc/PID/stat.
long CpuTicks(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::size_t end = text.rfind(')');
    if (end == std::string::npos) return -1;
    std::istringstream fields(text.substr(end + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::atol(field.c_str());
        if (i == 15) stime = std::atol(field.c_str());
    }
    return utime + stime;
}

void End(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

pid_t StartAndWait(Display* display, const char* title, char** argv, double& mapMs) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    auto start = Clock::now();
    pid_t pid = Spawn(argv);
    if (pid < 0) return -1;
    if (!WaitForMap(display, title, start + std::chrono::seconds(30))) {
        End(pid);
        return -1;
    }
    mapMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return pid;
}

int Startup(Display* display, const char* title, char** argv) {
    double mapMs = 0;
    pid_t pid = StartAndWait(display, title, argv, mapMs);
    if (pid < 0) return Fail("the window did not map within 30 s");
    std::printf("map_ms %.1f\n", mapMs);
    End(pid);
    return 0;
}

int Idle(Display* display, const char* title, double seconds, char** argv) {
    double mapMs = 0;
    pid_t pid = StartAndWait(display, title, argv, mapMs);
    if (pid < 0) return Fail("the window did not map within 30 s");
    usleep(1000 * 1000);  // let the start-up work settle
    long before = CpuTicks(pid);
    auto start = Clock::now();
    usleep(static_cast<useconds_t>(seconds * 1e6));
    long after = CpuTicks(pid);
    double wall = std::chrono::duration<double>(Clock::now() - start).count();
    End(pid);
    if (before < 0 || after < 0) return Fail("cannot read /proc/PID/stat");
    double cpu = static_cast<double>(after - before) / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::printf("idle_cpu_s %.3f wall_s %.3f percent %.2f\n", cpu, wall, 100.0 * cpu / wall);
    return 0;
}

// The child of the root that holds window (the window manager's frame, or the window itself).
Window TopLevel(Display* display, Window window) {
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) return window;
        if (children) XFree(children);
        if (parent == root || parent == 0) return window;
        window = parent;
    }
}

// A viewable window of the given height in the tree under window, or 0.
Window FindByHeight(Display* display, Window window, int height) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 0;
    if (attributes.map_state != IsViewable) return 0;
    if (attributes.height == height) return window;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = FindByHeight(display, children[i], height);
    if (children) XFree(children);
    return found;
}

// Whether top level a lies above top level b among the root's children.
bool StackedAbove(Display* display, Window a, Window b) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    int indexA = -1, indexB = -1;
    for (unsigned i = 0; i < count; ++i) {
        if (children[i] == a) indexA = static_cast<int>(i);
        if (children[i] == b) indexB = static_cast<int>(i);
    }
    if (children) XFree(children);
    return indexA >= 0 && indexB >= 0 && indexA > indexB;
}

int Catch(Display* display, int height, Window main) {
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.window == TopLevel(display, main)) continue;
            XGrabServer(display);
            Window found = FindByHeight(display, event.xmap.window, height);
            int x = 0, y = 0;
            Window child = 0;
            XWindowAttributes attributes{};
            if (found && XGetWindowAttributes(display, found, &attributes) &&
                XTranslateCoordinates(display, found, root, 0, 0, &x, &y, &child)) {
                bool above = StackedAbove(display, TopLevel(display, found), TopLevel(display, main));
                XUngrabServer(display);
                XSync(display, False);
                std::printf("%d %d %d %d %d\n", x, y, attributes.width, attributes.height,
                            above ? 1 : 0);
                return 0;
            }
            XUngrabServer(display);
            XSync(display, False);
        }
        poll(&fd, 1, 100);
    }
    return Fail("no window of that height mapped within 60 s");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Fail("usage: close WINDOW | startup TITLE PROGRAM... | idle TITLE S PROGRAM... | "
                    "catch HEIGHT MAIN");
    Display* display = XOpenDisplay(nullptr);
    if (!display) return Fail("cannot open the display");
    std::string command = argv[1];
    int status = 1;
    if (command == "close") {
        status = SendClose(display, static_cast<Window>(std::strtoul(argv[2], nullptr, 0)));
    } else if (command == "startup" && argc >= 4) {
        status = Startup(display, argv[2], argv + 3);
    } else if (command == "catch" && argc == 4) {
        status = Catch(display, std::atoi(argv[2]),
                       static_cast<Window>(std::strtoul(argv[3], nullptr, 0)));
    } else if (command == "idle" && argc >= 5) {
        status = Idle(display, argv[2], std::atof(argv[3]), argv + 4);
    } else {
        status = Fail("unknown command");
    }
    XCloseDisplay(display);
    return status;
}
