#include "platform/headless/recording_input.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

namespace zs {
namespace {

constexpr int kShift = 1, kControl = 2;

// Punctuation of the US layout: unshifted and shifted character on one key.
struct PunctuationKey {
    char plain, shifted;
    int vk;
};

constexpr PunctuationKey kPunctuation[] = {
    {';', ':', 0xBA}, {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD},
    {'.', '>', 0xBE}, {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB},
    {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE},
};

// The shifted characters of the digit row, from "1" to "0".
constexpr std::string_view kShiftedDigits = "!@#$%^&*()";

KeyScan Found(int vkCode, int shiftState) { return KeyScan{true, vkCode, shiftState}; }

KeyScan ControlCodeScan(char32_t ch) {
    switch (ch) {
    case 0x08: return Found(vk::Backspace, 0);
    case 0x09: return Found(vk::Tab, 0);
    case 0x0D: return Found(vk::Enter, 0);
    case 0x0A: return Found(vk::Enter, kControl);
    case 0x1B: return Found(vk::Escape, 0);
    case 0x7F: return Found(vk::Backspace, kControl);
    default: break;
    }
    if (ch >= 1 && ch <= 26) return Found('A' + static_cast<int>(ch) - 1, kControl);
    return {};
}

std::string Hex2(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

}  // namespace

KeyScan UsLayoutScan(char32_t ch) {
    if (ch >= 'a' && ch <= 'z') return Found('A' + static_cast<int>(ch - 'a'), 0);
    if (ch >= 'A' && ch <= 'Z') return Found(static_cast<int>(ch), kShift);
    if ((ch >= '0' && ch <= '9') || ch == ' ') return Found(static_cast<int>(ch), 0);
    if (ch < 0x20 || ch == 0x7F) return ControlCodeScan(ch);
    if (ch > 0x7F) return {};
    const auto c = static_cast<char>(ch);
    const std::size_t digit = kShiftedDigits.find(c);
    if (digit != std::string_view::npos) return Found(digit == 9 ? '0' : '1' + int(digit), kShift);
    for (const auto& key : kPunctuation) {
        if (key.plain == c) return Found(key.vk, 0);
        if (key.shifted == c) return Found(key.vk, kShift);
    }
    return {};
}

RecordingInput::RecordingInput(Clock* clock, bool textIsUtf8)
    : clock_(clock), textIsUtf8_(textIsUtf8) {}

void RecordingInput::record(std::string event) {
    if (!closed_) events_.push_back(std::move(event));
}

void RecordingInput::movePointer(int x, int y) {
    std::lock_guard lock(mutex_);
    pointer_ = {x, y};
    std::string event = "P";  // built by appending: GCC 12 at -O3 warns falsely on "P" + string
    event += std::to_string(x);
    event += ',';
    event += std::to_string(y);
    record(std::move(event));
}

void RecordingInput::mouseButton(MouseButton button, bool down) {
    std::lock_guard lock(mutex_);
    const char name = button == MouseButton::Left ? 'L' : button == MouseButton::Right ? 'R' : 'M';
    record(std::string{name, down ? 'd' : 'u'});
}

void RecordingInput::key(int vkCode, bool down) {
    std::function<void(long)> hook;
    long transitions = 0;
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        keyDown_[vkCode] = down;
        record((down ? "Kd" : "Ku") + Hex2(vkCode));
        hook = onKey_;
        transitions = ++keyTransitions_;
    }
    if (hook) hook(transitions);
}

bool RecordingInput::textIsUtf8() const {
    std::lock_guard lock(mutex_);
    return textIsUtf8_;
}

KeyScan RecordingInput::scanChar(char32_t ch) {
    std::lock_guard lock(mutex_);
    const auto scripted = scriptedScans_.find(ch);
    if (scripted != scriptedScans_.end()) return scripted->second;
    return UsLayoutScan(ch);
}

void RecordingInput::typeUnlisted(char32_t ch) {
    std::lock_guard lock(mutex_);
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(ch));
    record(text);
}

bool RecordingInput::escapePressed() {
    std::lock_guard lock(mutex_);
    if (escapeDown_) return true;
    if (clock_ == nullptr || escapePresses_.empty()) return false;
    const Clock::time_point now = clock_->now();
    const auto due = std::remove_if(escapePresses_.begin(), escapePresses_.end(),
                                    [now](Clock::time_point at) { return at <= now; });
    const bool pressed = due != escapePresses_.end();
    escapePresses_.erase(due, escapePresses_.end());
    return pressed;
}

void RecordingInput::releaseForExit() {
    std::lock_guard lock(mutex_);
    for (auto& [code, down] : keyDown_) {
        if (!down) continue;
        record("Ku" + Hex2(code));
        down = false;
    }
    closed_ = true;
}

Point RecordingInput::pointerPosition() {
    std::lock_guard lock(mutex_);
    return pointer_;
}

Point RecordingInput::pointerPositionForCapture() {
    std::lock_guard lock(mutex_);
    return capture_.value_or(pointer_);
}

std::vector<std::string> RecordingInput::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::string RecordingInput::transcript() const {
    std::lock_guard lock(mutex_);
    std::string text;
    for (const auto& event : events_) {
        if (!text.empty()) text += ' ';
        text += event;
    }
    return text;
}

void RecordingInput::clearEvents() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

std::vector<int> RecordingInput::keysDown() const {
    std::lock_guard lock(mutex_);
    std::vector<int> down;
    for (const auto& [code, isDown] : keyDown_)
        if (isDown) down.push_back(code);
    return down;
}

void RecordingInput::setTextIsUtf8(bool utf8) {
    std::lock_guard lock(mutex_);
    textIsUtf8_ = utf8;
}

void RecordingInput::setScan(char32_t ch, KeyScan scan) {
    std::lock_guard lock(mutex_);
    scriptedScans_[ch] = scan;
}

void RecordingInput::setPointerPosition(Point position) {
    std::lock_guard lock(mutex_);
    pointer_ = position;
}

void RecordingInput::setCapturePosition(Point position) {
    std::lock_guard lock(mutex_);
    capture_ = position;
}

void RecordingInput::pressEscapeAt(Clock::time_point at) {
    std::lock_guard lock(mutex_);
    escapePresses_.push_back(at);
}

void RecordingInput::onKey(std::function<void(long)> hook) {
    std::lock_guard lock(mutex_);
    onKey_ = std::move(hook);
}

void RecordingInput::setEscapeDown(bool down) {
    std::lock_guard lock(mutex_);
    escapeDown_ = down;
}

}  // namespace zs
