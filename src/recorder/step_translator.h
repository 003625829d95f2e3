// Turns recorded mouse and keyboard events into the steps that play them back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/step.h"
#include "platform/recorder.h"

namespace zs {

struct TranslationRules {
    DoubleClickRule doubleClick;
    int settleDelayMs = 200;  // what the player waits after each action
    int shortestPauseMs = 500;  // shorter pauses between actions give no Delay step
};

// The text form that playback types as the character itself: ";" and "{" as their tokens, as the
// file format splits fields at ";" and the text sender reads "{" as the start of a token.
std::string TypedForm(const std::string& character);

// Feed events in the order they happened; steps() holds what they gave so far. A text run and a
// single left click stay open (a double click may follow) until the next action or finish().
class StepTranslator {
public:
    explicit StepTranslator(TranslationRules rules) : rules_(rules) {}

    void add(const RecordedEvent& event);
    void finish();
    std::vector<Step>& steps() { return steps_; }

private:
    struct LastClick {
        std::uint32_t timeMs;
        Point position;
        std::size_t stepIndex;
    };

    void keyDown(const RecordedEvent& event);
    void keyUp(const RecordedEvent& event);
    void buttonDown(const RecordedEvent& event);
    Point placeInWindow(const RecordedEvent& event);
    bool foldsIntoDoubleClick(const RecordedEvent& event) const;
    void beginAction(std::uint32_t timeMs);
    void endTextRun();
    void appendCharacter(const std::string& text);
    void addShortcut(const std::string& key);
    std::string heldModifiersDown() const;
    std::string heldModifiersUp() const;

    TranslationRules rules_;
    std::vector<Step> steps_;
    std::string textRun_;
    std::optional<std::uint32_t> lastActionMs_;
    std::optional<LastClick> lastClick_;
    bool shift_ = false, control_ = false, alt_ = false;
    // The title of the window that recorded clicks are relative to; none: screen positions.
    std::optional<std::string> windowTitle_;
};

// The steps of a whole recording.
std::vector<Step> TranslateRecording(const std::vector<RecordedEvent>& events,
                                     const TranslationRules& rules);

}  // namespace zs
