// Recorded events to steps: clicks, double clicks, text runs, keys, shortcuts and pauses.
#include "recorder/step_translator.h"

#include <cstdlib>

#include "model/step_types.h"
#include "player/key_tokens.h"

namespace zs {
namespace {

Step MouseClickStep(const char* clickType, Point at) {
    Step step;
    step.RECORDtype = 1;
    step.ClickType = clickType;
    step.MouseX = at.x;
    step.MouseY = at.y;
    return step;
}

Step KeyboardStep(const char* keyboardType, std::string text) {
    Step step;
    step.RECORDtype = 2;
    step.KeyboardType = keyboardType;
    (step.KeyboardType == "String" ? step.TypedText : step.KeyToken) = std::move(text);
    return step;
}

// A Window step as the recorder writes it: found within 10 s, else the run pauses.
Step WindowStep(const char* action, const std::string& title) {
    Step step;
    step.RECORDtype = kWindowStepType;
    step.WindowAction = action;
    step.WindowTitle = title;
    step.TimeoutSeconds = action == std::string("Activate") ? 10.0f : 0.0f;
    return step;
}

Step PauseStep(long tenths) {
    Step step;
    step.RECORDtype = 3;
    step.DelaySeconds = static_cast<float>(tenths) / 10.0f;
    return step;
}

const char* ClickTypeOf(MouseButton button) {
    switch (button) {
    case MouseButton::Left: return "L_Click";
    case MouseButton::Right: return "R_Click";
    case MouseButton::Middle: return "M_Click";
    }
    return "L_Click";
}

// The first token that presses and releases the key; holds are modifiers, not keys.
const KeyTokenInfo* PressTokenFor(int vkCode) {
    for (const auto& token : kKeyTokens)
        if (token.vk == vkCode && token.effect == KeyTokenEffect::PressAndRelease) return &token;
    return nullptr;
}

// Control characters and DEL type nothing visible; their keys come as tokens or not at all.
bool IsPrintable(const std::string& text) {
    if (text.empty()) return false;
    const auto first = static_cast<unsigned char>(text[0]);
    return first >= 0x20 && first != 0x7F;
}

// The hold tokens that press the modifiers (Control, Alt, Shift) or release them in reverse.
std::string HoldTokens(const HeldModifiers& held, bool down) {
    if (down)
        return std::string(held.control ? "{CONTROLDOWN}" : "") + (held.alt ? "{ALTDOWN}" : "") +
               (held.shift ? "{SHIFTDOWN}" : "");
    return std::string(held.shift ? "{SHIFTUP}" : "") + (held.alt ? "{ALTUP}" : "") +
           (held.control ? "{CONTROLUP}" : "");
}

bool IsModifier(int vkCode) {
    return vkCode == vk::Shift || vkCode == vk::Control || vkCode == vk::Alt;
}

}  // namespace

std::string TypedForm(const std::string& character) {
    for (const auto& token : kCharacterTokens)
        if (character.size() == 1 && character[0] == token.ch) return std::string(token.item);
    return character;
}

void StepTranslator::add(const RecordedEvent& event) {
    switch (event.kind) {
    case RecordedKind::KeyDown: keyDown(event); break;
    case RecordedKind::KeyUp: keyUp(event); break;
    case RecordedKind::ButtonDown: buttonDown(event); break;
    case RecordedKind::ButtonUp: break;  // a click is placed where its button went down
    }
}

void StepTranslator::finish() { endTextRun(); }

// Modifiers are followed wherever the keys went, so that a shortcut typed into another program
// after a press on the program's own window still knows them.
void StepTranslator::keyUp(const RecordedEvent& event) {
    if (event.vk == vk::Shift) shift_ = false;
    if (event.vk == vk::Control) control_ = false;
    if (event.vk == vk::Alt) alt_ = false;
}

void StepTranslator::keyDown(const RecordedEvent& event) {
    if (event.vk == vk::Shift) shift_ = true;
    if (event.vk == vk::Control) control_ = true;
    if (event.vk == vk::Alt) alt_ = true;
    if (IsModifier(event.vk) || event.ownWindow) return;
    const KeyTokenInfo* token = PressTokenFor(event.vk);
    const bool shortcut = (control_ || alt_) && !event.altGr;
    if (!shortcut && IsPrintable(event.text)) {
        beginAction(event.timeMs);
        appendCharacter(event.text);
    } else if (token != nullptr || IsPrintable(event.text)) {
        beginAction(event.timeMs);
        endTextRun();
        const std::string key = token != nullptr ? std::string(token->item) : TypedForm(event.text);
        if (token != nullptr && !shift_ && !shortcut)
            steps_.push_back(KeyboardStep("Key", key));
        else
            addShortcut(key);
    }
    lastClick_.reset();
}

// A click with modifiers held (Ctrl+click) is played between steps that hold them down.
void StepTranslator::buttonDown(const RecordedEvent& event) {
    if (event.ownWindow) return;
    const bool held = event.held.any();
    if (event.button == MouseButton::Left && !held && foldsIntoDoubleClick(event)) {
        steps_[lastClick_->stepIndex].ClickType = "Ldbl_Click";
        lastClick_.reset();
        lastActionMs_ = event.timeMs;
        return;
    }
    beginAction(event.timeMs);
    endTextRun();
    const Point at = placeInWindow(event);
    if (held) steps_.push_back(KeyboardStep("String", HoldTokens(event.held, true)));
    steps_.push_back(MouseClickStep(ClickTypeOf(event.button), at));
    if (held) steps_.push_back(KeyboardStep("String", HoldTokens(event.held, false)));
    if (event.button == MouseButton::Left && !held)
        lastClick_ = LastClick{event.timeMs, event.position, steps_.size() - 1};
    else
        lastClick_.reset();
}

// A click into a titled window other than the one of the click before first activates it, and
// is placed relative to its client area; a click on the desktop or an untitled window goes back
// to screen positions.
Point StepTranslator::placeInWindow(const RecordedEvent& event) {
    if (event.windowTitle.empty()) {
        if (windowTitle_) steps_.push_back(WindowStep("Screen", ""));
        windowTitle_.reset();
        return event.position;
    }
    if (windowTitle_ != event.windowTitle) {
        steps_.push_back(WindowStep("Activate", event.windowTitle));
        windowTitle_ = event.windowTitle;
    }
    return {event.position.x - event.windowOrigin.x, event.position.y - event.windowOrigin.y};
}

bool StepTranslator::foldsIntoDoubleClick(const RecordedEvent& event) const {
    if (!lastClick_ || lastClick_->stepIndex + 1 != steps_.size()) return false;
    const std::uint32_t gap = event.timeMs - lastClick_->timeMs;
    const DoubleClickRule& rule = rules_.doubleClick;
    return gap <= rule.timeMs && std::abs(event.position.x - lastClick_->position.x) <= rule.distance &&
           std::abs(event.position.y - lastClick_->position.y) <= rule.distance;
}

// A pause since the previous action becomes a Delay step, less what the player waits after
// each action anyway, so that playback keeps the user's pace.
void StepTranslator::beginAction(std::uint32_t timeMs) {
    if (lastActionMs_) {
        const std::uint32_t gap = timeMs - *lastActionMs_;  // unsigned: survives the wrap-around
        if (gap >= static_cast<std::uint32_t>(rules_.shortestPauseMs)) {
            endTextRun();
            const long waitMs = static_cast<long>(gap) - rules_.settleDelayMs;
            const long tenths = (waitMs + 50) / 100;
            steps_.push_back(PauseStep(tenths < 1 ? 1 : tenths));
            lastClick_.reset();
        }
    }
    lastActionMs_ = timeMs;
}

void StepTranslator::endTextRun() {
    if (textRun_.empty()) return;
    steps_.push_back(KeyboardStep("String", std::move(textRun_)));
    textRun_.clear();
}

void StepTranslator::appendCharacter(const std::string& text) { textRun_ += TypedForm(text); }

// The held modifiers around the key: pressed Control, Alt, Shift, released in reverse.
void StepTranslator::addShortcut(const std::string& key) {
    steps_.push_back(KeyboardStep("String", heldModifiersDown() + key + heldModifiersUp()));
}

std::string StepTranslator::heldModifiersDown() const {
    return HoldTokens({shift_, control_, alt_}, true);
}

std::string StepTranslator::heldModifiersUp() const {
    return HoldTokens({shift_, control_, alt_}, false);
}

std::vector<Step> TranslateRecording(const std::vector<RecordedEvent>& events,
                                     const TranslationRules& rules) {
    StepTranslator translator(rules);
    for (const RecordedEvent& event : events) translator.add(event);
    translator.finish();
    return std::move(translator.steps());
}

}  // namespace zs
