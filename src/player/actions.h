// The steps that act on the desktop and on serial ports: mouse, keyboard and Comport steps.
// The player calls them on its own thread and adds the between-steps delay itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/app_state.h"
#include "model/step.h"
#include "platform/input.h"
#include "platform/serial.h"

namespace zs {

// Moves the pointer to MouseX, MouseY and clicks as ClickType says (no click for other texts).
void DoMouseStep(const Step& step, Input& input);

// Asked between two typed characters and while a telegram waits for the port: true once the run
// was stopped (Stop, Escape), and the step ends at once.
using StopRequested = std::function<bool()>;

// Types text with its {TOKEN}s and ends with key-ups of Alt, Control and Shift. Returns 1.
// When `stopped` says so, the characters not yet typed are dropped; the key-ups still follow.
int SendKeyText(Input& input, std::string_view text, const StopRequested& stopped = {});

// Sends TypedText for KeyboardType "String", else KeyToken.
void DoKeyboardStep(const Step& step, Input& input, const StopRequested& stopped = {});

// The settings text "9600 N 8 1" read into a port setting named name.
PortSetting ParseSettings(const std::string& name, std::string_view settingsText);
SerialSettings ToSerialSettings(const PortSetting& setting);

// The bytes of a telegram of ComType "String", "Hex" or "Byte"; false with a message naming the
// bad value when the text is not such a list.
bool EncodeTelegram(std::string_view comType, std::string_view telegram,
                    std::vector<std::uint8_t>& bytes, std::string& error);

enum class ComportOutcome {
    Initialised,     // "Initialise": setting recorded (or an earlier one kept)
    Sent,            // telegram written and port closed
    NotInitialised,  // no setting for the port in this run: "Port is not initialised!", no delay
    OpenFailed,      // "Can't open port!", delay after the message
    BadTelegram,     // the text is no list of values: message names the value, nothing sent
};

struct ComportResult {
    ComportOutcome outcome = ComportOutcome::Sent;
    std::string message;  // text of the "COM port" message for the failures
};

// A write that `stopped` ends drops the bytes not yet sent and closes the port.
ComportResult DoComportStep(const Step& step, AppState& state, SerialPorts& serial,
                            const StopRequested& stopped = {});

}  // namespace zs
