// The steps that act on the desktop and on serial ports: mouse, keyboard and Comport steps.
// The player calls them on its own thread and adds the between-steps delay itself.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// A Query step's exchange with its device, once the port is open with the run's setting, its
// input dropped and the telegram written: the bytes received since, searched for the reply.
// Destroying it closes the port.
class QueryExchange {
public:
    QueryExchange(std::unique_ptr<SerialPort> port, std::vector<std::uint8_t> reply)
        : port_(std::move(port)), reply_(std::move(reply)) {}

    // Reads what has arrived; true once the reply is among the bytes received since the write,
    // or, for an empty reply, once any byte came. A port that is gone never replies.
    bool ReplyReceived();
    // Waits at most `wait` for bytes, without spinning; true when some (or the port's end) came.
    bool WaitForBytes(std::chrono::milliseconds wait);
    // What came back, for the State text: its first kShownBytes bytes, printable ASCII as it
    // stands and every other byte as "<" + two hexadecimal digits + ">".
    std::string Shown() const;

    static constexpr std::size_t kShownBytes = 200;

private:
    std::unique_ptr<SerialPort> port_;
    std::vector<std::uint8_t> reply_;
    std::vector<std::uint8_t> shown_;  // the first bytes received
    std::vector<std::uint8_t> tail_;   // the last bytes, as many as a reply split over reads needs
    bool replied_ = false, gone_ = false;
};

// Opens the port of a Query step as a telegram would, drops what waits in its input and writes
// the telegram; nullptr with the failure (as a Comport step's) when it cannot.
std::unique_ptr<QueryExchange> StartQuery(const Step& step, AppState& state, SerialPorts& serial,
                                          const StopRequested& stopped, ComportResult& failure);

}  // namespace zs
