// Serial ports for tests: records every open, write and close, and fails opens or writes of
// the port names a test chooses. Safe to call from several threads; a port may outlive its maker.
#pragma once

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

    // Every successful open, in order.
    std::vector<SerialOpenRecord> opens() const;
    // The byte blocks written to `name`, one per write.
    std::vector<std::vector<std::uint8_t>> writes(const std::string& name) const;
    // What happened, in order: "open COM1", "fail open COM1", "write COM1 3", "close COM1",
    // "blocked write COM1", "stopped write COM1".
    std::vector<std::string> log() const;
    // The ports open now.
    std::set<std::string> openPorts() const;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace zs
