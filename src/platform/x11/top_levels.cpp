#include "platform/x11/top_levels.h"

#include <X11/Xlib-xcb.h>

#include <algorithm>

#include "platform/x11/xcb_replies.h"

namespace zs::x11 {

void TopLevels::start(Display* display, OwnClients& own) {
    display_ = display;
    own_ = &own;
    root_ = DefaultRootWindow(display);
    stack_.clear();
    // Selected before the children are read: a change in between is applied twice, harmlessly.
    XWindowAttributes rootAttributes{};
    XGetWindowAttributes(display, root_, &rootAttributes);
    XSelectInput(display, root_, rootAttributes.your_event_mask | SubstructureNotifyMask);
    XSync(display, False);
    xcb_connection_t* c = XGetXCBConnection(display);
    auto tree = Await<xcb_query_tree_reply_t>(c, xcb_query_tree(c, static_cast<xcb_window_t>(root_)),
                                              xcb_query_tree_reply);
    if (!tree) return;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    std::vector<xcb_get_geometry_cookie_t> geometries;
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    for (int i = 0; i < count; ++i) {
        geometries.push_back(xcb_get_geometry(c, children[i]));
        attributes.push_back(xcb_get_window_attributes(c, children[i]));
    }
    for (int i = 0; i < count; ++i) {
        auto geometry = Await<xcb_get_geometry_reply_t>(c, geometries[i], xcb_get_geometry_reply);
        auto attribute = Await<xcb_get_window_attributes_reply_t>(c, attributes[i],
                                                                  xcb_get_window_attributes_reply);
        if (!geometry || !attribute) continue;  // gone meanwhile
        const int border = 2 * geometry->border_width;
        stack_.push_back({children[i], geometry->x, geometry->y, geometry->width + border,
                          geometry->height + border,
                          attribute->map_state != XCB_MAP_STATE_UNMAPPED, own.owns(children[i])});
    }
    markFramesOfOwnClients();
}

void TopLevels::apply(const XEvent& event) {
    switch (event.type) {
    case CreateNotify: {
        const XCreateWindowEvent& e = event.xcreatewindow;
        if (e.parent != root_ || find(e.window) != nullptr) break;
        add({e.window, e.x, e.y, e.width + 2 * e.border_width, e.height + 2 * e.border_width,
             false, own_->owns(static_cast<xcb_window_t>(e.window))});
        break;
    }
    case DestroyNotify: remove(event.xdestroywindow.window); break;
    case MapNotify:
        if (TopLevel* w = find(event.xmap.window)) w->mapped = true;
        break;
    case UnmapNotify:
        if (TopLevel* w = find(event.xunmap.window)) w->mapped = false;
        break;
    case ConfigureNotify: {
        const XConfigureEvent& e = event.xconfigure;
        TopLevel* w = find(e.window);
        if (w == nullptr) break;
        *w = {w->id, e.x, e.y, e.width + 2 * e.border_width, e.height + 2 * e.border_width,
              w->mapped, w->own};
        restack(e.window, e.above);
        break;
    }
    case CirculateNotify: {
        const XCirculateEvent& e = event.xcirculate;
        if (TopLevel* w = find(e.window)) {
            const TopLevel moved = *w;
            remove(e.window);
            if (e.place == PlaceOnTop)
                stack_.push_back(moved);
            else
                stack_.insert(stack_.begin(), moved);
        }
        break;
    }
    case GravityNotify:
        if (TopLevel* w = find(event.xgravity.window)) {
            w->x = event.xgravity.x;
            w->y = event.xgravity.y;
        }
        break;
    case ReparentNotify: reparented(event.xreparent); break;
    default: break;
    }
}

bool TopLevels::ownAt(Point point) const {
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        if (it->mapped && point.x >= it->x && point.y >= it->y && point.x < it->x + it->width &&
            point.y < it->y + it->height)
            return it->own;
    }
    return false;
}

TopLevels::TopLevel* TopLevels::find(Window id) {
    for (TopLevel& w : stack_)
        if (w.id == id) return &w;
    return nullptr;
}

void TopLevels::add(const TopLevel& window) { stack_.push_back(window); }  // new windows go on top

void TopLevels::remove(Window id) {
    stack_.erase(std::remove_if(stack_.begin(), stack_.end(),
                                [id](const TopLevel& w) { return w.id == id; }),
                 stack_.end());
}

// Places the window right above `above`, or at the bottom for None.
void TopLevels::restack(Window id, Window above) {
    TopLevel* w = find(id);
    if (w == nullptr) return;
    const TopLevel moved = *w;
    remove(id);
    auto at = stack_.begin();
    if (above != None) {
        at = std::find_if(stack_.begin(), stack_.end(), [above](const TopLevel& t) { return t.id == above; });
        if (at != stack_.end()) ++at;
    }
    stack_.insert(at, moved);
}

// A window leaves the root for a manager's frame (the frame is then as much the program's as the
// window is), or comes back to the root.
void TopLevels::reparented(const XReparentEvent& event) {
    if (event.parent != root_) {
        remove(event.window);
        if (own_->owns(static_cast<xcb_window_t>(event.window))) markFrameOf(event.window);
        return;
    }
    if (find(event.window) != nullptr) return;
    xcb_connection_t* c = XGetXCBConnection(display_);
    const auto window = static_cast<xcb_window_t>(event.window);
    auto geometry = Await<xcb_get_geometry_reply_t>(c, xcb_get_geometry(c, window), xcb_get_geometry_reply);
    auto attribute = Await<xcb_get_window_attributes_reply_t>(c, xcb_get_window_attributes(c, window),
                                                              xcb_get_window_attributes_reply);
    if (!geometry || !attribute) return;
    const int border = 2 * geometry->border_width;
    add({event.window, event.x, event.y, geometry->width + border, geometry->height + border,
         attribute->map_state != XCB_MAP_STATE_UNMAPPED, own_->owns(window)});
}

// Marks the root child that holds the client; the frame is alive while it holds a window.
void TopLevels::markFrameOf(Window client) {
    xcb_connection_t* c = XGetXCBConnection(display_);
    auto at = static_cast<xcb_window_t>(client);
    for (int depth = 0; depth < 16; ++depth) {
        auto tree = Await<xcb_query_tree_reply_t>(c, xcb_query_tree(c, at), xcb_query_tree_reply);
        if (!tree) return;
        if (tree->parent == root_) break;
        at = tree->parent;
    }
    if (TopLevel* frame = find(at)) frame->own = true;
}

// The managed windows the process had before the recording began.
void TopLevels::markFramesOfOwnClients() {
    xcb_connection_t* c = XGetXCBConnection(display_);
    const auto atoms = InternAtoms(c, {"_NET_CLIENT_LIST"});
    for (std::uint32_t client :
         PropertyRequest(c, static_cast<xcb_window_t>(root_), atoms[0], XCB_ATOM_WINDOW, 65536).words()) {
        if (own_->owns(client)) markFrameOf(client);
    }
}

}  // namespace zs::x11
