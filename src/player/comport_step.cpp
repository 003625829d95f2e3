// The Comport step: "Initialise" records a port's settings for the run; a telegram step opens
// the port with them, writes the telegram once and closes the port again.
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "player/actions.h"

namespace zs {
namespace {

std::optional<PortSetting> FindPortSetting(AppState& state, const std::string& name) {
    std::lock_guard lock(state.portsMutex);
    const auto found = std::find_if(state.runtimePorts.begin(), state.runtimePorts.end(),
                                    [&](const PortSetting& port) { return port.name == name; });
    if (found == state.runtimePorts.end()) return std::nullopt;
    return *found;
}

// The first "Initialise" of a port name in a run holds; later ones change nothing.
void InitialisePort(const Step& step, AppState& state) {
    std::lock_guard lock(state.portsMutex);
    for (const auto& port : state.runtimePorts)
        if (port.name == step.ComPort) return;
    state.runtimePorts.push_back(ParseSettings(step.ComPort, step.Telegram));
}

ComportResult Failure(ComportOutcome outcome, std::string message) {
    return ComportResult{outcome, std::move(message)};
}

}  // namespace

// The port setting is looked for first, so a port that was never initialised is reported as
// such whatever its telegram holds. The telegram is encoded before the port is opened: a bad one
// leaves the device's line untouched.
ComportResult DoComportStep(const Step& step, AppState& state, SerialPorts& serial,
                            const StopRequested& stopped) {
    if (step.ComType == "Initialise") {
        InitialisePort(step, state);
        return {ComportOutcome::Initialised, {}};
    }
    const std::optional<PortSetting> setting = FindPortSetting(state, step.ComPort);
    if (!setting) return Failure(ComportOutcome::NotInitialised, "Port is not initialised!");

    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!EncodeTelegram(step.ComType, step.Telegram, bytes, error))
        return Failure(ComportOutcome::BadTelegram, error);

    std::unique_ptr<SerialPort> port;
    if (!serial.open(step.ComPort, ToSerialSettings(*setting), port) || port == nullptr)
        return Failure(ComportOutcome::OpenFailed, "Can't open port!");
    // A failed, short or stopped write is not reported: the step counts as sent once the port
    // opened.
    (void)port->write(bytes, stopped);
    port.reset();
    return {ComportOutcome::Sent, {}};
}

}  // namespace zs
