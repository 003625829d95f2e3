// COM ports on Windows: "\\.\" + name, fixed queue sizes, explicit line settings, no flow control.
// The handle is not overlapped: each read or write sets the time-outs it needs before it starts.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

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
    // The driver keeps what the port's last user set. Any of these would swallow reply bytes
    // (XON/XOFF, NUL, bytes while DSR is low) or stop reading after a line error.
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fAbortOnError = FALSE;
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

COMMTIMEOUTS WriteSliceTimeouts(DWORD sliceMs) {
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = sliceMs;
    return timeouts;
}

// ReadFile returns at once with what the driver holds, even nothing.
COMMTIMEOUTS ImmediateReadTimeouts() {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    return timeouts;
}

// A one-byte ReadFile returns when that byte arrives or after `ms` (at least 1: all zero would
// wait for ever).
COMMTIMEOUTS FirstByteTimeouts(DWORD ms) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadTotalTimeoutConstant = std::max<DWORD>(ms, 1);
    return timeouts;
}

bool SameTimeouts(const COMMTIMEOUTS& a, const COMMTIMEOUTS& b) {
    return a.ReadIntervalTimeout == b.ReadIntervalTimeout &&
           a.ReadTotalTimeoutMultiplier == b.ReadTotalTimeoutMultiplier &&
           a.ReadTotalTimeoutConstant == b.ReadTotalTimeoutConstant &&
           a.WriteTotalTimeoutMultiplier == b.WriteTotalTimeoutMultiplier &&
           a.WriteTotalTimeoutConstant == b.WriteTotalTimeoutConstant;
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
        if (Status s = useTimeouts(WriteSliceTimeouts(kSliceMs)); !s) return s;
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

    Status discardInput() override {
        early_.clear();
        if (!PurgeComm(handle_, PURGE_RXCLEAR)) return LastError("PurgeComm");
        return Status::success();
    }

    // Bytes that arrived before the port went away are still handed out; the loss is reported
    // by the read after them.
    Status readAvailable(std::vector<std::uint8_t>& bytes, std::size_t limit) override {
        const std::size_t early = std::min(limit, early_.size());
        bytes.insert(bytes.end(), early_.begin(), early_.begin() + early);
        early_.erase(early_.begin(), early_.begin() + early);
        std::size_t taken = early;
        while (taken < limit) {
            const DWORD queued = bytesQueued();
            if (queued == 0) break;
            const std::size_t got = readNow(bytes, std::min<std::size_t>(queued, limit - taken));
            if (got == 0) break;
            taken += got;
        }
        return taken > 0 ? Status::success() : lost_;
    }

    // A one-byte read with a total time-out is the wait: it needs no overlapped handle and no
    // second thread, and it wakes on the first byte. That byte is kept for the next read.
    bool waitReadable(std::chrono::milliseconds wait) override {
        if (!early_.empty() || !lost_.ok) return true;
        if (wait.count() <= 0) return bytesQueued() > 0 || !lost_.ok;
        const DWORD ms = static_cast<DWORD>(std::min<std::int64_t>(wait.count(), MAXLONG));
        if (Status s = useTimeouts(FirstByteTimeouts(ms)); !s) {
            lost_ = s;
            return true;
        }
        std::uint8_t byte = 0;
        DWORD got = 0;
        if (!ReadFile(handle_, &byte, 1, &got, nullptr) && GetLastError() != ERROR_TIMEOUT) {
            lost_ = LastError("ReadFile");
            return true;
        }
        if (got == 1) early_.push_back(byte);
        return got == 1;
    }

private:
    static constexpr DWORD kSliceMs = 50;

    // The bytes the driver holds now; 0 when the port is gone (lost_ says so), which this call
    // is the first to notice.
    DWORD bytesQueued() {
        if (!lost_.ok) return 0;
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(handle_, &errors, &status)) {
            lost_ = LastError("ClearCommError");
            return 0;
        }
        return status.cbInQue;
    }

    std::size_t readNow(std::vector<std::uint8_t>& bytes, std::size_t most) {
        if (Status s = useTimeouts(ImmediateReadTimeouts()); !s) {
            lost_ = s;
            return 0;
        }
        std::uint8_t buffer[kQueueBytes];
        DWORD got = 0;
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(most, sizeof buffer));
        if (!ReadFile(handle_, buffer, asked, &got, nullptr)) {
            lost_ = LastError("ReadFile");
            return 0;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
        return got;
    }

    Status useTimeouts(const COMMTIMEOUTS& timeouts) {
        if (timeoutsSet_ && SameTimeouts(timeouts, timeouts_)) return Status::success();
        COMMTIMEOUTS copy = timeouts;
        if (!SetCommTimeouts(handle_, &copy)) return LastError("SetCommTimeouts");
        timeouts_ = timeouts;
        timeoutsSet_ = true;
        return Status::success();
    }

    // The bytes still queued are thrown away, so that closing the port never waits for them.
    Status dropUnsent(const char* why, std::size_t done, std::size_t total) {
        PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR);
        return Status::failure("WriteFile", std::string(why) + ": " + std::to_string(done) +
                                                " of " + std::to_string(total) + " bytes written");
    }

    HANDLE handle_;
    std::vector<std::uint8_t> early_;  // read by a wait, not yet handed out
    COMMTIMEOUTS timeouts_{};
    bool timeoutsSet_ = false;
    Status lost_;  // why the port is gone, once a read or wait found out
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
