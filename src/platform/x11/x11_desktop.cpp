// The desktop on X11 through an XCB connection of its own: the window manager's stacking list
// (or the root's children without one), activation as a pager asks for it, origins and pixels.
#include "platform/x11/x11_desktop.h"

#include <poll.h>

#include <chrono>
#include <functional>

#include "platform/x11/own_clients.h"
#include "platform/x11/root_pixels.h"
#include "platform/x11/xcb_replies.h"

namespace zs::x11 {
namespace {

enum AtomIndex {
    kSupportingWmCheck, kClientListStacking, kActiveWindow, kWmName, kUtf8String, kWindowType,
    kTypeNormal, kTypeDialog, kTypeUtility, kTypeDesktop, kWmState, kAtomCount
};

const std::vector<const char*> kAtomNames = {
    "_NET_SUPPORTING_WM_CHECK", "_NET_CLIENT_LIST_STACKING", "_NET_ACTIVE_WINDOW",
    "_NET_WM_NAME", "UTF8_STRING", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_UTILITY", "_NET_WM_WINDOW_TYPE_DESKTOP",
    "WM_STATE"};

constexpr auto kActivationWait = std::chrono::milliseconds(100);
constexpr int kIconicState = 3;  // ICCCM WM_STATE

// What one window says about itself, asked for many windows at once.
struct WindowFacts {
    PropertyRequest netName, name, type;

    WindowFacts(xcb_connection_t* c, const std::vector<xcb_atom_t>& atoms, xcb_window_t window)
        : netName(c, window, atoms[kWmName], atoms[kUtf8String]),
          name(c, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY),
          type(c, window, atoms[kWindowType], XCB_ATOM_ATOM, 32) {}

    // _NET_WM_NAME as it stands (UTF-8), else WM_NAME (Latin-1 for the STRING type).
    std::string title() {
        std::string utf8 = netName.text();
        xcb_atom_t type = XCB_ATOM_NONE;
        std::string legacy = name.text(&type);
        if (!utf8.empty()) return utf8;
        return type == XCB_ATOM_STRING ? Latin1ToUtf8(legacy) : legacy;
    }

    // Normal windows, dialogs and utility windows; docks, desktops, menus, tooltips and
    // notifications are not the application windows a step looks for.
    bool applicationType(const std::vector<xcb_atom_t>& atoms) {
        auto types = type.words();
        if (types.empty()) return true;
        for (std::uint32_t t : types)
            if (t == atoms[kTypeNormal] || t == atoms[kTypeDialog] || t == atoms[kTypeUtility])
                return true;
        return false;
    }
};

}  // namespace

struct DesktopConnection {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    std::vector<xcb_atom_t> atoms;
    std::unique_ptr<OwnClients> own;
    std::unique_ptr<RootPixels> pixels;

    ~DesktopConnection() {
        own.reset();
        if (c != nullptr) xcb_disconnect(c);
    }
    xcb_atom_t atom(AtomIndex index) const { return atoms[index]; }

    // The window manager's check window, when one runs that keeps the EWMH lists.
    bool windowManagerRuns() {
        auto check = PropertyRequest(c, root, atom(kSupportingWmCheck), XCB_ATOM_WINDOW, 1).words();
        if (check.size() != 1) return false;
        // A manager that died leaves its property behind; its check window is gone with it.
        auto self = PropertyRequest(c, check[0], atom(kSupportingWmCheck), XCB_ATOM_WINDOW, 1).words();
        return self.size() == 1 && self[0] == check[0];
    }

    std::vector<xcb_window_t> stackingList() {
        auto list = PropertyRequest(c, root, atom(kClientListStacking), XCB_ATOM_WINDOW, 65536).words();
        return {list.rbegin(), list.rend()};  // the property lists the bottom window first
    }

    // The root's children, topmost first.
    std::vector<xcb_window_t> rootChildren() {
        auto tree = Await<xcb_query_tree_reply_t>(c, xcb_query_tree(c, root), xcb_query_tree_reply);
        if (!tree) return {};
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        return {std::make_reverse_iterator(children + xcb_query_tree_children_length(tree.get())),
                std::make_reverse_iterator(children)};
    }

    std::optional<xcb_window_t> activeWindow() {
        auto active = PropertyRequest(c, root, atom(kActiveWindow), XCB_ATOM_WINDOW, 1).words();
        if (active.size() != 1) return std::nullopt;
        return active[0];
    }

    bool hasFocus(xcb_window_t window) {
        auto focus = Await<xcb_get_input_focus_reply_t>(c, xcb_get_input_focus(c),
                                                        xcb_get_input_focus_reply);
        for (xcb_window_t at = focus ? focus->focus : xcb_window_t{XCB_WINDOW_NONE};
             at != XCB_WINDOW_NONE && at != XCB_INPUT_FOCUS_POINTER_ROOT && at != root;) {
            if (at == window) return true;  // a client may focus a window inside its own
            auto tree = Await<xcb_query_tree_reply_t>(c, xcb_query_tree(c, at), xcb_query_tree_reply);
            at = tree ? tree->parent : xcb_window_t{XCB_WINDOW_NONE};
        }
        return false;
    }
};

// Internal linkage; defined below where their callers read them.
static std::vector<DesktopWindow> ManagedWindows(DesktopConnection& x);
static std::vector<DesktopWindow> UnmanagedWindows(DesktopConnection& x);
static void AskManagerToActivate(DesktopConnection& x, xcb_window_t window);
static void ActivateDirectly(DesktopConnection& x, xcb_window_t window);
static bool WaitFor(DesktopConnection& x, const std::function<bool()>& done);
static xcb_window_t ClientWithin(DesktopConnection& x, xcb_window_t frame);

X11Desktop::X11Desktop(const char* displayName) : displayName_(displayName ? displayName : "") {}
X11Desktop::~X11Desktop() = default;

DesktopConnection* X11Desktop::connection() {
    if (connection_ && !xcb_connection_has_error(connection_->c)) return connection_.get();
    connection_.reset();
    auto opened = std::make_unique<DesktopConnection>();
    int screenNumber = 0;
    opened->c = xcb_connect(displayName_.empty() ? nullptr : displayName_.c_str(), &screenNumber);
    if (xcb_connection_has_error(opened->c)) return nullptr;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(opened->c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
    if (screens.rem == 0) return nullptr;
    opened->root = screens.data->root;
    opened->atoms = InternAtoms(opened->c, kAtomNames);
    opened->own = std::make_unique<OwnClients>(opened->c);
    opened->pixels = std::make_unique<RootPixels>(opened->c, screens.data);
    connection_ = std::move(opened);
    return connection_.get();
}

std::vector<DesktopWindow> X11Desktop::windows() {
    std::lock_guard lock(mutex_);
    DesktopConnection* x = connection();
    if (x == nullptr) return {};
    return x->windowManagerRuns() ? ManagedWindows(*x) : UnmanagedWindows(*x);
}

// The manager's clients, topmost first; minimised ones too, as activating restores them.
std::vector<DesktopWindow> ManagedWindows(DesktopConnection& x) {
    const std::vector<xcb_window_t> clients = x.stackingList();
    std::vector<WindowFacts> facts;
    facts.reserve(clients.size());
    for (xcb_window_t client : clients) facts.emplace_back(x.c, x.atoms, client);
    std::vector<DesktopWindow> result;
    for (std::size_t i = 0; i < clients.size(); ++i) {
        const std::string title = facts[i].title();
        if (facts[i].applicationType(x.atoms)) result.push_back({clients[i], title, x.own->owns(clients[i])});
    }
    return result;
}

// Without a window manager: the mapped, titled top-level windows that are no pop-ups.
std::vector<DesktopWindow> UnmanagedWindows(DesktopConnection& x) {
    const std::vector<xcb_window_t> children = x.rootChildren();
    std::vector<WindowFacts> facts;
    std::vector<xcb_get_window_attributes_cookie_t> attributeCookies;
    facts.reserve(children.size());
    for (xcb_window_t child : children) {
        facts.emplace_back(x.c, x.atoms, child);
        attributeCookies.push_back(xcb_get_window_attributes(x.c, child));
    }
    std::vector<DesktopWindow> result;
    for (std::size_t i = 0; i < children.size(); ++i) {
        auto attributes = Await<xcb_get_window_attributes_reply_t>(
            x.c, attributeCookies[i], xcb_get_window_attributes_reply);
        const std::string title = facts[i].title();
        const bool application = facts[i].applicationType(x.atoms);
        if (!attributes || attributes->override_redirect ||
            attributes->map_state != XCB_MAP_STATE_VIEWABLE || title.empty() || !application)
            continue;
        result.push_back({children[i], title, x.own->owns(children[i])});
    }
    return result;
}

bool X11Desktop::activate(WindowId id) {
    std::lock_guard lock(mutex_);
    DesktopConnection* x = connection();
    if (x == nullptr) return false;
    const auto window = static_cast<xcb_window_t>(id);
    auto attributes = Await<xcb_get_window_attributes_reply_t>(
        x->c, xcb_get_window_attributes(x->c, window), xcb_get_window_attributes_reply);
    if (!attributes) return false;
    const bool managed = x->windowManagerRuns();
    // Until the answer is in, this connection hears of the active window and focus changing.
    const std::uint32_t rootEvents = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(x->c, x->root, XCB_CW_EVENT_MASK, &rootEvents);
    const std::uint32_t windowEvents = XCB_EVENT_MASK_FOCUS_CHANGE;
    if (!managed) xcb_change_window_attributes(x->c, window, XCB_CW_EVENT_MASK, &windowEvents);
    if (managed)
        AskManagerToActivate(*x, window);
    else
        ActivateDirectly(*x, window);
    const bool active = WaitFor(*x, [&] {
        return managed ? x->activeWindow() == window : x->hasFocus(window);
    });
    const std::uint32_t none = 0;
    xcb_change_window_attributes(x->c, x->root, XCB_CW_EVENT_MASK, &none);
    if (!managed) xcb_change_window_attributes(x->c, window, XCB_CW_EVENT_MASK, &none);
    // The event masks are off once this reply is in: nothing more arrives for the queue.
    std::free(xcb_get_input_focus_reply(x->c, xcb_get_input_focus(x->c), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(x->c)) std::free(event);
    return active;
}

// As a pager does (source indication 2), which managers honour without focus-stealing rules.
// A map request is how ICCCM has an iconic window restored; managers also restore a window
// they are asked to activate.
void AskManagerToActivate(DesktopConnection& x, xcb_window_t window) {
    auto state = PropertyRequest(x.c, window, x.atom(kWmState), x.atom(kWmState), 2).words();
    if (!state.empty() && state[0] == kIconicState) xcb_map_window(x.c, window);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x.atom(kActiveWindow);
    message.data.data32[0] = 2;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(x.c, 0, x.root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(x.c);
}

void ActivateDirectly(DesktopConnection& x, xcb_window_t window) {
    xcb_map_window(x.c, window);
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(x.c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_set_input_focus(x.c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(x.c);
}

// Tests `done` now and after each event that arrives, until it holds or the activation wait is
// over; the thread sleeps in poll() in between.
bool WaitFor(DesktopConnection& x, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kActivationWait;
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x.c)) std::free(event);
        if (done()) return true;
        if (xcb_generic_event_t* event = xcb_poll_for_queued_event(x.c)) {
            std::free(event);  // arrived while `done` asked: ask again
            continue;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(x.c)) return false;
        pollfd fd{xcb_get_file_descriptor(x.c), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left.count()) + 1);
    }
}

std::optional<Point> X11Desktop::clientOrigin(WindowId id) {
    std::lock_guard lock(mutex_);
    DesktopConnection* x = connection();
    if (x == nullptr) return std::nullopt;
    auto origin = Await<xcb_translate_coordinates_reply_t>(
        x->c, xcb_translate_coordinates(x->c, static_cast<xcb_window_t>(id), x->root, 0, 0),
        xcb_translate_coordinates_reply);
    if (!origin) return std::nullopt;
    return Point{origin->dst_x, origin->dst_y};
}

std::optional<DesktopWindow> X11Desktop::windowAt(Point point) {
    std::lock_guard lock(mutex_);
    DesktopConnection* x = connection();
    if (x == nullptr || !x->pixels->onScreen(point)) return std::nullopt;
    auto under = Await<xcb_translate_coordinates_reply_t>(
        x->c, xcb_translate_coordinates(x->c, x->root, x->root, static_cast<std::int16_t>(point.x),
                                        static_cast<std::int16_t>(point.y)),
        xcb_translate_coordinates_reply);
    if (!under || under->child == XCB_WINDOW_NONE) return std::nullopt;
    const xcb_window_t client = ClientWithin(*x, under->child);
    WindowFacts facts(x->c, x->atoms, client);
    const std::string title = facts.title();
    const auto types = facts.type.words();
    // A desktop window (the icons on the background) is the background to a user.
    for (std::uint32_t type : types)
        if (type == x->atom(kTypeDesktop)) return std::nullopt;
    return DesktopWindow{client, title, x->own->owns(client)};
}

// The application's window inside a manager's frame: the first one that carries WM_STATE,
// looked for below the frame; the frame itself without a manager.
xcb_window_t ClientWithin(DesktopConnection& x, xcb_window_t frame) {
    std::vector<xcb_window_t> level{frame};
    for (int depth = 0; depth < 4 && !level.empty(); ++depth) {
        std::vector<PropertyRequest> states;
        for (xcb_window_t w : level) states.emplace_back(x.c, w, x.atom(kWmState), x.atom(kWmState), 2);
        for (std::size_t i = 0; i < level.size(); ++i)
            if (!states[i].words().empty()) return level[i];
        std::vector<xcb_window_t> next;
        for (xcb_window_t w : level) {
            auto tree = Await<xcb_query_tree_reply_t>(x.c, xcb_query_tree(x.c, w), xcb_query_tree_reply);
            if (!tree) continue;
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            next.insert(next.end(), children, children + xcb_query_tree_children_length(tree.get()));
        }
        level = std::move(next);
    }
    return frame;
}

std::optional<Rgb> X11Desktop::pixel(Point point) {
    std::lock_guard lock(mutex_);
    DesktopConnection* x = connection();
    if (x == nullptr) return std::nullopt;
    return x->pixels->at(point);
}

}  // namespace zs::x11
