// Settings texts and telegrams of any content: parsing never fails, an encoding either gives all
// bytes of the telegram or none with a message, and the Comport step never leaves a port open.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/in_memory_serial.h"
#include "player/actions.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

constexpr std::string_view kComTypes[] = {"String", "Hex", "Byte", "Initialise", "hex", ""};

void CheckEncoding(std::string_view comType, std::string_view telegram) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    const bool ok = zs::EncodeTelegram(comType, telegram, bytes, error);
    Require(ok == error.empty());
    if (!ok) Require(bytes.empty());
    if (ok && comType == "String") Require(bytes.size() == telegram.size());
    if (ok && comType != "String") Require(!bytes.empty() && bytes.size() <= telegram.size());
}

void CheckComportSteps(std::string_view comType, const std::string& text) {
    zs::AppState state;
    zs::InMemorySerialPorts serial;
    zs::Step step;
    step.ComPort = "COM1";
    step.ComType = "Initialise";
    step.Telegram = text;
    Require(zs::DoComportStep(step, state, serial).outcome == zs::ComportOutcome::Initialised);
    step.ComType = std::string(comType);
    const zs::ComportResult result = zs::DoComportStep(step, state, serial);
    Require(comType == "Initialise" || result.outcome == zs::ComportOutcome::Sent ||
            result.outcome == zs::ComportOutcome::BadTelegram);
    Require(serial.openPorts().empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view comType = kComTypes[data[0] % std::size(kComTypes)];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const zs::PortSetting setting = zs::ParseSettings("COM1", text);
    const zs::SerialSettings serial = zs::ToSerialSettings(setting);
    Require(setting.parity >= 0 && setting.parity <= 2);
    Require(static_cast<int>(serial.parity) == setting.parity);
    CheckEncoding(comType, text);
    CheckComportSteps(comType, text);
    return 0;
}
