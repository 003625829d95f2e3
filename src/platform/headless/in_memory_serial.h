// Serial ports for tests: records every open, write, read and close, fails opens or writes of
// the port names a test chooses, and plays the device at the other end: its answers to writes,
// bytes it sends unasked, a flood, an unplugged adapter. Reads and waits never wait: the test's
// virtual clock moves the time. Safe to call from several threads; a port may outlive its maker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/serial.h"

namespace zs {

struct SerialOpenRecord {
    std::string name;
    SerialSettings settings;
    bool operator==(const SerialOpenRecord&) const = default;
};

class InMemorySerialPorts final : public SerialPorts {
public:
    InMemorySerialPorts();

    // Fails like a port that is busy or missing. A second open of a port that is still open
    // fails too, as the ports are opened exclusively.
    Status open(const std::string& name, const SerialSettings& settings,
                std::unique_ptr<SerialPort>& port) override;

    // Opens of `name` fail from now on (or succeed again with fail = false).
    void failOpens(const std::string& name, bool fail = true);
    // Writes to `name` fail from now on (or succeed again with fail = false).
    void failWrites(const std::string& name, bool fail = true);
    // Writes to `name` take nothing from now on and wait until their caller stops them.
    void blockWrites(const std::string& name);

    // The device's answer to the next write to `name` that succeeds (answers queue up, one per
    // write). Each piece is what one read after that write finds: a reply that comes in parts.
    void answer(const std::string& name, std::vector<std::vector<std::uint8_t>> pieces);
    // Bytes arrive at `name` now, for one read, as from a device that speaks unasked. They wait
    // in the port's input whether or not it is open, so an open finds them.
    void arrive(const std::string& name, std::vector<std::uint8_t> bytes);
    // `name` sends `pattern` over and over from now on: once its pieces are read, every read gets
    // as many bytes as it asks for, up to a driver buffer (kFloodBytesPerRead).
    void flood(const std::string& name, std::vector<std::uint8_t> pattern);
    // `name` says nothing from now on: no flood, no queued answers, nothing waiting.
    void silence(const std::string& name);
    // The device of `name` is unplugged (or plugged in again with gone = false): its open port
    // fails every read, write and discard, waits on it return at once, opens fail.
    void vanish(const std::string& name, bool gone = true);

    static constexpr std::size_t kFloodBytesPerRead = 4096;

    // Every successful open, in order.
    std::vector<SerialOpenRecord> opens() const;
    // The byte blocks written to `name`, one per write.
    std::vector<std::vector<std::uint8_t>> writes(const std::string& name) const;
    // What happened, in order: "open COM1", "fail open COM1", "write COM1 3", "close COM1",
    // "blocked write COM1", "stopped write COM1", "discard COM1", "read COM1 5" (a read that
    // found nothing is not logged), "fail read COM1", "fail discard COM1".
    std::vector<std::string> log() const;
    // The ports open now.
    std::set<std::string> openPorts() const;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace zs
