// Serial ports: open by name with line settings, write, read what arrives, close.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"

namespace zs {

enum class Parity { None = 0, Odd = 1, Even = 2 };
enum class StopBits { One, OneAndHalf, Two };

struct SerialSettings {
    std::int32_t baud = 9600;
    Parity parity = Parity::None;
    std::int32_t dataBits = 8;
    StopBits stopBits = StopBits::One;
    bool operator==(const SerialSettings&) const = default;
};

// An open port; destroying it closes the port.
class SerialPort {
public:
    virtual ~SerialPort() = default;
    // True when the caller gives up waiting (the run was stopped).
    using StopCheck = std::function<bool()>;

    // One write of all bytes within the write time-out (100 ms per byte plus 10 ms). While the
    // port does not take the bytes, `stopped` is asked every few tens of milliseconds; once it
    // says so the write fails and the bytes not yet sent are dropped when the port closes.
    virtual Status write(const std::vector<std::uint8_t>& bytes, const StopCheck& stopped) = 0;
    Status write(const std::vector<std::uint8_t>& bytes) { return write(bytes, {}); }

    // Drops the bytes that arrived before now: a reply is looked for only after the query.
    virtual Status discardInput() = 0;
    // Appends the bytes that have arrived, at most `limit` of them, without waiting. Fails when
    // the port is gone (the device or its adapter was unplugged).
    virtual Status readAvailable(std::vector<std::uint8_t>& bytes, std::size_t limit) = 0;
    // Waits at most `wait` for bytes to arrive, without spinning; true when there are some to
    // read, or the port is gone (which the next read reports); false when the time passed.
    virtual bool waitReadable(std::chrono::milliseconds wait) = 0;
};

class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    // Opens the port named like "COM1" exclusively with the given settings, flow control off.
    virtual Status open(const std::string& name, const SerialSettings& settings,
                        std::unique_ptr<SerialPort>& port) = 0;
};

}  // namespace zs
