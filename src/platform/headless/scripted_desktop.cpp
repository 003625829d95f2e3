#include "platform/headless/scripted_desktop.h"

#include <algorithm>

namespace zs {

void ScriptedDesktop::setWindow(const Window& window) {
    std::lock_guard lock(mutex_);
    if (Window* known = find(window.window.id)) {
        *known = window;
        return;
    }
    stack_.insert(stack_.begin(), window);
}

void ScriptedDesktop::closeWindow(WindowId id) {
    std::lock_guard lock(mutex_);
    std::erase_if(stack_, [id](const Window& w) { return w.window.id == id; });
    if (active_ == id) active_.reset();
}

void ScriptedDesktop::setPixel(Point point, Rgb colour) {
    std::lock_guard lock(mutex_);
    pixels_[{point.x, point.y}] = colour;
}

std::optional<WindowId> ScriptedDesktop::active() {
    std::lock_guard lock(mutex_);
    return active_;
}

std::vector<std::string> ScriptedDesktop::log() {
    std::lock_guard lock(mutex_);
    return log_;
}

ScriptedDesktop::Window* ScriptedDesktop::find(WindowId id) {
    const auto found = std::find_if(stack_.begin(), stack_.end(),
                                    [id](const Window& w) { return w.window.id == id; });
    return found == stack_.end() ? nullptr : &*found;
}

std::vector<DesktopWindow> ScriptedDesktop::windows() {
    std::lock_guard lock(mutex_);
    std::vector<DesktopWindow> result;
    for (const Window& w : stack_) result.push_back(w.window);
    return result;
}

bool ScriptedDesktop::activate(WindowId id) {
    std::lock_guard lock(mutex_);
    log_.push_back("activate " + std::to_string(id));
    Window* window = find(id);
    if (window == nullptr || window->refusesFocus) return false;
    window->minimised = false;
    Window raised = *window;
    closeWindow(id);
    stack_.insert(stack_.begin(), raised);
    active_ = id;
    return true;
}

std::optional<Point> ScriptedDesktop::clientOrigin(WindowId id) {
    std::lock_guard lock(mutex_);
    const Window* window = find(id);
    if (window == nullptr) return std::nullopt;
    return window->origin;
}

std::optional<DesktopWindow> ScriptedDesktop::windowAt(Point point) {
    std::lock_guard lock(mutex_);
    for (const Window& w : stack_) {
        if (w.minimised) continue;
        if (point.x >= w.origin.x && point.x < w.origin.x + w.width && point.y >= w.origin.y &&
            point.y < w.origin.y + w.height)
            return w.window;
    }
    return std::nullopt;
}

std::optional<Rgb> ScriptedDesktop::pixel(Point point) {
    std::lock_guard lock(mutex_);
    if (point.x < 0 || point.y < 0 || point.x >= 1000 || point.y >= 1000) return std::nullopt;
    const auto found = pixels_.find({point.x, point.y});
    return found == pixels_.end() ? Rgb{} : found->second;
}

}  // namespace zs
