// The Comport step: "Initialise" records a port's settings for the run; a telegram step opens
// the port with them, writes the telegram once and closes the port again. A Query step opens and
// writes the same way, then waits for the reply.
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

// The port of a telegram, opened with the run's setting for it. The setting is looked for first,
// so a port that was never initialised is reported as such whatever its telegram holds. The
// telegram is encoded before the port is opened: a bad one leaves the device's line untouched.
std::unique_ptr<SerialPort> OpenForTelegram(const Step& step, AppState& state,
                                            SerialPorts& serial, std::vector<std::uint8_t>& bytes,
                                            ComportResult& failure) {
    const std::optional<PortSetting> setting = FindPortSetting(state, step.ComPort);
    if (!setting) {
        failure = Failure(ComportOutcome::NotInitialised, "Port is not initialised!");
        return nullptr;
    }
    std::string error;
    if (!EncodeTelegram(step.ComType, step.Telegram, bytes, error)) {
        failure = Failure(ComportOutcome::BadTelegram, error);
        return nullptr;
    }
    std::unique_ptr<SerialPort> port;
    if (!serial.open(step.ComPort, ToSerialSettings(*setting), port) || port == nullptr) {
        failure = Failure(ComportOutcome::OpenFailed, "Can't open port!");
        return nullptr;
    }
    return port;
}

}  // namespace

ComportResult DoComportStep(const Step& step, AppState& state, SerialPorts& serial,
                            const StopRequested& stopped) {
    if (step.ComType == "Initialise") {
        InitialisePort(step, state);
        return {ComportOutcome::Initialised, {}};
    }
    std::vector<std::uint8_t> bytes;
    ComportResult failure;
    std::unique_ptr<SerialPort> port = OpenForTelegram(step, state, serial, bytes, failure);
    if (!port) return failure;
    // A failed, short or stopped write is not reported: the step counts as sent once the port
    // opened.
    (void)port->write(bytes, stopped);
    port.reset();
    return {ComportOutcome::Sent, {}};
}

std::unique_ptr<QueryExchange> StartQuery(const Step& step, AppState& state, SerialPorts& serial,
                                          const StopRequested& stopped, ComportResult& failure) {
    std::vector<std::uint8_t> telegram, reply;
    std::string error;
    if (!step.ReplyText.empty() && !EncodeTelegram(step.ComType, step.ReplyText, reply, error)) {
        failure = Failure(ComportOutcome::BadTelegram, error);
        return nullptr;
    }
    std::unique_ptr<SerialPort> port = OpenForTelegram(step, state, serial, telegram, failure);
    if (!port) return nullptr;
    // Input that came before the query is no reply to it. A failed write gets no reply, which
    // the wait reports.
    (void)port->discardInput();
    (void)port->write(telegram, stopped);
    return std::make_unique<QueryExchange>(std::move(port), std::move(reply));
}

}  // namespace zs
