// Serial ports on termios device files, opened exclusively, raw, with flow control off.
#pragma once

#include <functional>
#include <string>

#include "platform/serial.h"

namespace zs {

// The device file of a port name: COM1-COM32 are /dev/ttyS0-31, COM33-COM64 /dev/ttyUSB0-31,
// COM65-COM80 /dev/ttyACM0-15. Any other name gives "".
std::string ComPortDevice(const std::string& name);

class PosixSerialPorts : public SerialPorts {
public:
    using DeviceForName = std::function<std::string(const std::string&)>;

    // deviceForName maps a port name to its device file ("" when there is none); tests point it
    // at a pseudo-terminal.
    explicit PosixSerialPorts(DeviceForName deviceForName = ComPortDevice);

    Status open(const std::string& name, const SerialSettings& settings,
                std::unique_ptr<SerialPort>& port) override;

private:
    DeviceForName deviceForName_;
};

}  // namespace zs
