// Input for tests: records every transition in order, scans characters like a US keyboard layout
// and reports Escape presses scripted at virtual times. Safe to call from several threads.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/input.h"

namespace zs {

// What a US layout gives for a character code 0-255, as the Windows layout scan does: letters,
// digits, punctuation (with Shift where needed), space, tab, backspace, escape, enter for "\r",
// Ctrl+Enter for "\n", Ctrl+letter for the other control codes 1-26; not found for the rest.
KeyScan UsLayoutScan(char32_t ch);

class RecordingInput final : public Input {
public:
    // Escape presses are scripted against `clock`; without a clock only setEscapeDown() counts.
    explicit RecordingInput(Clock* clock = nullptr, bool textIsUtf8 = true);

    void movePointer(int x, int y) override;
    void mouseButton(MouseButton button, bool down) override;
    void key(int vkCode, bool down) override;
    bool textIsUtf8() const override;
    KeyScan scanChar(char32_t ch) override;
    void typeUnlisted(char32_t ch) override;
    bool escapePressed() override;
    // Drops the presses due by now; a key held down (setEscapeDown) counts again only after
    // setEscapeDown(false) and a new press.
    Point pointerPosition() override;
    Point pointerPositionForCapture() override;
    // Records a key up for every key still down, then records nothing more.
    void releaseForExit() override;

    // The events so far, one word each: "Kd41"/"Ku41" key down/up (hex key code), "Ld"/"Lu",
    // "Rd"/"Ru", "Md"/"Mu" buttons, "P100,200" pointer move, "U+00E9" a character typed unlisted.
    std::vector<std::string> events() const;
    // The events joined by blanks, e.g. "Kd10 Kd41 Ku41 Ku10".
    std::string transcript() const;
    void clearEvents();
    // The keys whose last transition was a key down.
    std::vector<int> keysDown() const;

    void setTextIsUtf8(bool utf8);
    // Replaces the layout's scan of one character, e.g. with an AltGr combination.
    void setScan(char32_t ch, KeyScan scan);
    void setPointerPosition(Point position);
    // What pointerPositionForCapture() tells from now on, where it differs from the position.
    void setCapturePosition(Point position);
    // Escape counts as pressed once the clock reaches `at`; reported by one escapePressed() call.
    void pressEscapeAt(Clock::time_point at);
    // Escape held down: escapePressed() stays true until released.
    void setEscapeDown(bool down);
    // Called after every key transition with the number of transitions so far, on the typing
    // thread: how a test lets time pass while typing, or stops a run in the middle of a text.
    void onKey(std::function<void(long transitions)> hook);

private:
    void record(std::string event);

    mutable std::mutex mutex_;
    Clock* clock_;
    bool textIsUtf8_;
    std::vector<std::string> events_;
    std::function<void(long)> onKey_;
    long keyTransitions_ = 0;
    std::map<int, bool> keyDown_;
    std::map<char32_t, KeyScan> scriptedScans_;
    std::vector<Clock::time_point> escapePresses_;
    bool escapeDown_ = false;
    bool closed_ = false;
    Point pointer_;
    std::optional<Point> capture_;
};

}  // namespace zs
