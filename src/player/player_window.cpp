// The Window and Wait steps: finding windows by title, the window that positions are relative
// to, and waiting for a pixel's colour.
#include <cstdlib>
#include <string>

#include "model/step_values.h"
#include "player/player.h"

namespace zs {
namespace {

// Whether a colour lies within the tolerance of the one wanted, in each of R, G and B.
bool Near(Rgb found, PixelColor wanted, int tolerance) {
    return std::abs(found.r - wanted.r) <= tolerance && std::abs(found.g - wanted.g) <= tolerance &&
           std::abs(found.b - wanted.b) <= tolerance;
}

}  // namespace

std::optional<Point> Player::OnScreen(Point position) {
    if (!origin_) return position;
    const std::optional<Point> client = services_.desktop.clientOrigin(origin_->window);
    if (!client) return std::nullopt;
    return Point{client->x + position.x, client->y + position.y};
}

std::optional<long> Player::WindowGone() {
    return FailStep("Error", "Window gone: " + origin_->title, 0, true);
}

std::optional<long> Player::WindowStep(const Step& step, long) {
    const std::string& action = step.WindowAction;
    if (action == "Screen") origin_.reset();
    if (action != "Activate" && action != "Wait" && action != "WaitClose") {
        SettleDelay();
        return std::nullopt;
    }
    Desktop& desktop = services_.desktop;
    std::optional<DesktopWindow> found;
    const auto holds = [&] {
        found = FindWindowByTitle(desktop, step.WindowTitle);
        if (action == "WaitClose") return !found;
        if (!found) return false;
        return action == "Wait" || desktop.activate(found->id);
    };
    switch (WaitFor(step.TimeoutSeconds, holds)) {
        case WaitOutcome::Stopped: return std::nullopt;
        case WaitOutcome::Held:
            if (action == "Activate") origin_ = WindowOrigin{found->id, step.WindowTitle};
            SettleDelay();
            return std::nullopt;
        case WaitOutcome::TimedOut: break;
    }
    const char* reason = action == "WaitClose" ? "Window still open: "
                         : found               ? "Window not activated: "
                                               : "Window not found: ";
    return FailStep("Error", reason + step.WindowTitle, step.OnFailStep, true);
}

std::optional<long> Player::WaitStep(const Step& step, long) {
    const std::optional<Point> at = OnScreen({step.MouseX, step.MouseY});
    if (!at) return WindowGone();
    const std::optional<PixelColor> wanted = ReadPixelColor(step.PixelColor);
    std::optional<Rgb> last;
    const auto holds = [&] {
        last = services_.desktop.pixel(*at);
        if (!last) return false;
        const bool near = wanted && Near(*last, *wanted, step.ColorTolerance);
        return step.WaitCondition == "NotColor" ? !near : step.WaitCondition == "Color" && near;
    };
    switch (WaitFor(step.TimeoutSeconds, holds)) {
        case WaitOutcome::Stopped: return std::nullopt;
        case WaitOutcome::Held: SettleDelay(); return std::nullopt;
        case WaitOutcome::TimedOut: break;
    }
    const std::string found =
        last ? PixelColorText({last->r, last->g, last->b}) : std::string("no pixel there");
    return FailStep("Error",
                    "Wait timed out at " + std::to_string(step.MouseX) + ", " +
                        std::to_string(step.MouseY) + ": found " + found,
                    step.OnFailStep, true);
}

}  // namespace zs
