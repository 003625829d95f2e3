// COM ports on Windows: "\\.\" + name, fixed queue sizes, explicit line settings, no flow control.
#include <windows.h>

#include <algorithm>
#include <chrono>

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

    // The bytes go out in writes that each wait at most one slice, so that a stop is seen while
    // the port takes nothing; the write time-out of the whole telegram is kept as a deadline.
    Status write(const std::vector<std::uint8_t>& bytes, const StopCheck& stopped) override {
        if (bytes.empty()) return Status::success();
        COMMTIMEOUTS slice{};
        slice.WriteTotalTimeoutConstant = kSliceMs;
        if (!SetCommTimeouts(handle_, &slice)) return LastError("SetCommTimeouts");
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(100) * bytes.size() +
                              std::chrono::milliseconds(10);
        std::size_t done = 0;
        while (done < bytes.size()) {
            if (stopped && stopped()) return dropUnsent("stopped", done, bytes.size());
            if (std::chrono::steady_clock::now() >= deadline)
                return dropUnsent("write time-out", done, bytes.size());
            DWORD written = 0;
            const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done,
                                                                        kQueueBytes));
            if (!WriteFile(handle_, bytes.data() + done, size, &written, nullptr) &&
                GetLastError() != ERROR_TIMEOUT)
                return LastError("WriteFile");
            done += written;
        }
        return Status::success();
    }

private:
    static constexpr DWORD kSliceMs = 50;

    // The bytes still queued are thrown away, so that closing the port never waits for them.
    Status dropUnsent(const char* why, std::size_t done, std::size_t total) {
        PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR);
        return Status::failure("WriteFile", std::string(why) + ": " + std::to_string(done) +
                                                " of " + std::to_string(total) + " bytes written");
    }

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
