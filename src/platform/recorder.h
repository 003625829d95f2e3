// Recording what the user does with mouse and keyboard on the whole desktop, without taking the
// input away from the windows it is meant for.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/input.h"
#include "platform/status.h"

namespace zs {

enum class RecordedKind { ButtonDown, ButtonUp, KeyDown, KeyUp };

// The modifier keys that a step can hold down, as they were at the moment of an event.
struct HeldModifiers {
    bool shift = false, control = false, alt = false;
    bool any() const { return shift || control || alt; }
    bool operator==(const HeldModifiers&) const = default;
};

// One user action as the platform saw it.
struct RecordedEvent {
    RecordedKind kind = RecordedKind::KeyDown;
    std::uint32_t timeMs = 0;  // the platform's millisecond clock; may wrap around
    // Buttons: which one, the pointer's screen position, and the modifiers held with the click
    // (Ctrl+click, Shift+click), whenever and wherever those were pressed.
    MouseButton button = MouseButton::Left;
    Point position;
    HeldModifiers held;
    // Buttons: the title of the top-level window under the pointer ("" over the desktop or an
    // untitled window) and the screen position of its client area, as the desktop tells them
    // when the event arrives.
    std::string windowTitle;
    Point windowOrigin;
    // Keys: the virtual-key code (0 when no code stands for the key; Shift, Control and Alt are
    // reported as 0x10, 0x11, 0x12 whichever side), and the character the key typed with the
    // Shift and AltGr state of that moment, in the encoding of step texts ("" for none).
    int vk = 0;
    std::string text;
    // The character needed AltGr (Control and Alt together on Windows): those two keys are part
    // of the character, not a shortcut.
    bool altGr = false;
    // The action went to one of the program's own windows.
    bool ownWindow = false;
};

// What the recording backend reports to. Both calls come from the backend's own context (its
// thread, or the hook procedure) and must return at once.
class RecordSink {
public:
    virtual ~RecordSink() = default;
    virtual void recorded(const RecordedEvent& event) = 0;
    // Escape was pressed: the user wants the recording to end. The Escape itself is not recorded.
    virtual void escapePressed() = 0;
};

// The desktop's double-click rule, which decides when two left clicks are one double click.
struct DoubleClickRule {
    std::uint32_t timeMs = 500;
    int distance = 4;  // pixels in x and in y
};

class InputRecorder {
public:
    virtual ~InputRecorder() = default;
    // Starts reporting to sink until stop(). Called on the UI thread.
    virtual Status start(RecordSink& sink) = 0;
    // After it returns the sink is called no more. Called on the UI thread; idempotent.
    virtual void stop() = 0;
    virtual DoubleClickRule doubleClickRule() = 0;
    // Tells whether the program itself injects input at the moment (its player runs), where the
    // platform cannot tell injected input apart by itself. May be called from any thread.
    virtual void setOwnInputTest(std::function<bool()> injecting) { (void)injecting; }
};

}  // namespace zs
