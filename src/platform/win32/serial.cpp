// COM ports on Windows: "\\.\" + name, fixed queue sizes, explicit line settings, no flow control.
#include <windows.h>

#include "platform/win32/win32_services.h"

namespace zs {
namespace {

constexpr std::size_t kMaxNameLength = 59;
constexpr DWORD kQueueBytes = 1024;

Status LastError(const char* call) {
    return Status::failure(call, Win32ErrorText(GetLastError()));
}

BYTE ParityCode(Parity parity) {
    switch (parity) {
    case Parity::Odd: return ODDPARITY;
    case Parity::Even: return EVENPARITY;
    case Parity::None: break;
    }
    return NOPARITY;
}

BYTE StopBitsCode(StopBits stopBits) {
    switch (stopBits) {
    case StopBits::Two: return TWOSTOPBITS;
    case StopBits::OneAndHalf: return ONE5STOPBITS;
    case StopBits::One: break;
    }
    return ONESTOPBIT;
}

// Every line value is written each time: a driver may report other values than the port has.
Status ApplyLineSettings(HANDLE handle, const SerialSettings& settings) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) return LastError("GetCommState");
    dcb.BaudRate = static_cast<DWORD>(settings.baud);
    dcb.Parity = ParityCode(settings.parity);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.StopBits = StopBitsCode(settings.stopBits);
    dcb.fOutxCtsFlow = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    if (!SetCommState(handle, &dcb)) return LastError("SetCommState");
    return Status::success();
}

Status Configure(HANDLE handle, const SerialSettings& settings) {
    if (!SetupComm(handle, kQueueBytes, kQueueBytes)) return LastError("SetupComm");
    if (Status s = ApplyLineSettings(handle, settings); !s) return s;
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutMultiplier = 100;
    timeouts.WriteTotalTimeoutConstant = 10;
    if (!SetCommTimeouts(handle, &timeouts)) return LastError("SetCommTimeouts");
    return Status::success();
}

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}
    ~Win32SerialPort() override { CloseHandle(handle_); }
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    Status write(const std::vector<std::uint8_t>& bytes) override {
        if (bytes.empty()) return Status::success();
        DWORD written = 0;
        if (!WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return LastError("WriteFile");
        if (written != bytes.size())
            return Status::failure("WriteFile", "write time-out: " + std::to_string(written) +
                                                    " of " + std::to_string(bytes.size()) +
                                                    " bytes written");
        return Status::success();
    }

private:
    HANDLE handle_;
};

}  // namespace

Status Win32SerialPorts::open(const std::string& name, const SerialSettings& settings,
                              std::unique_ptr<SerialPort>& port) {
    port.reset();
    const std::string device = "\\\\.\\" + name.substr(0, kMaxNameLength);
    HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError("CreateFileA");
    if (Status s = Configure(handle, settings); !s) {
        CloseHandle(handle);
        return s;
    }
    port = std::make_unique<Win32SerialPort>(handle);
    return Status::success();
}

}  // namespace zs
