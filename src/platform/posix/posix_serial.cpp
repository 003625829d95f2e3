// Serial ports on termios: exclusive open, raw line settings, a write bounded by a deadline,
// reads that never block and a wait for input on poll.
#include "platform/posix/posix_serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/posix/unique_fd.h"

namespace zs {
namespace {

using posix::UniqueFd;
using SteadyClock = std::chrono::steady_clock;

Status ErrnoFailure(const char* call, int error = errno) {
    return Status::failure(call, std::strerror(error));
}

struct DeviceRange {
    int firstCom, lastCom;
    const char* prefix;
};

constexpr DeviceRange kDeviceRanges[] = {
    {1, 32, "/dev/ttyS"},
    {33, 64, "/dev/ttyUSB"},
    {65, 80, "/dev/ttyACM"},
};

struct BaudConstant {
    std::int32_t baud;
    speed_t constant;
};

constexpr BaudConstant kBauds[] = {
    {50, B50},       {75, B75},       {110, B110},     {150, B150},     {300, B300},
    {600, B600},     {1200, B1200},   {1800, B1800},   {2400, B2400},   {4800, B4800},
    {9600, B9600},   {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

bool BaudToSpeed(std::int32_t baud, speed_t& speed) {
    for (const BaudConstant& entry : kBauds) {
        if (entry.baud == baud) {
            speed = entry.constant;
            return true;
        }
    }
    return false;
}

bool DataBitsToFlag(std::int32_t dataBits, tcflag_t& flag) {
    switch (dataBits) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false;
    }
}

// Raw mode, the given line settings, receiver on, modem lines ignored, no flow control of any kind.
// The termios interface has no one and a half stop bits; two are used instead, the closer setting
// for a receiver, which accepts any stop length from one upwards.
Status ApplySettings(int fd, const SerialSettings& settings) {
    speed_t speed{};
    tcflag_t size{};
    if (!BaudToSpeed(settings.baud, speed)) return ErrnoFailure("cfsetspeed", EINVAL);
    if (!DataBitsToFlag(settings.dataBits, size)) return ErrnoFailure("tcsetattr", EINVAL);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return ErrnoFailure("tcgetattr");
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= size | CLOCAL | CREAD;
    if (settings.parity != Parity::None) tio.c_cflag |= PARENB;
    if (settings.parity == Parity::Odd) tio.c_cflag |= PARODD;
    if (settings.stopBits != StopBits::One) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) {
        return ErrnoFailure("cfsetspeed");
    }
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return ErrnoFailure("tcsetattr");
    // tcsetattr succeeds when any part of the change was taken; a driver that cannot run at the
    // baud rate keeps its old one. (The other bits are not compared: pseudo-terminals, used for
    // testing, force eight data bits and no parity.)
    termios applied{};
    if (::tcgetattr(fd, &applied) != 0) return ErrnoFailure("tcgetattr");
    if (::cfgetospeed(&applied) != speed) return ErrnoFailure("tcsetattr", EINVAL);
    return Status::success();
}

class PosixSerialPort : public SerialPort {
public:
    explicit PosixSerialPort(UniqueFd fd) : fd_(std::move(fd)) {}

    // Bytes that could not be sent in time are discarded, so that closing never waits for them.
    ~PosixSerialPort() override {
        if (unsent_) ::tcflush(fd_.get(), TCOFLUSH);
    }

    Status write(const std::vector<std::uint8_t>& bytes, const StopCheck& stopped) override {
        const auto timeout = std::chrono::milliseconds(100) * bytes.size() +
                             std::chrono::milliseconds(10);
        const Status status = writeUntil(bytes, SteadyClock::now() + timeout, stopped);
        unsent_ = !status.ok;
        return status;
    }

    Status discardInput() override {
        if (::tcflush(fd_.get(), TCIFLUSH) != 0) return ErrnoFailure("tcflush");
        return Status::success();
    }

    // Bytes that arrived before the port went away are still handed out; the loss is reported
    // by the read after them.
    Status readAvailable(std::vector<std::uint8_t>& bytes, std::size_t limit) override {
        if (!lost_.ok) return lost_;
        std::uint8_t buffer[4096];
        std::size_t taken = 0;
        while (taken < limit) {
            const std::size_t asked = std::min(sizeof buffer, limit - taken);
            const ssize_t n = ::read(fd_.get(), buffer, asked);
            if (n > 0) {
                bytes.insert(bytes.end(), buffer, buffer + n);
                taken += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            // A pty whose other end closed fails with EIO; a hung-up port reads as empty.
            if (n < 0 && errno != EAGAIN) lost_ = ErrnoFailure("read");
            else if (hungUp()) lost_ = ErrnoFailure("read", EIO);
            break;
        }
        return taken > 0 ? Status::success() : lost_;
    }

    bool waitReadable(std::chrono::milliseconds wait) override {
        if (!lost_.ok) return true;
        // Longer waits than poll takes end early, which callers see as the time having passed.
        const std::chrono::milliseconds longest(std::numeric_limits<int>::max());
        const auto deadline =
            SteadyClock::now() + std::clamp(wait, std::chrono::milliseconds(0), longest);
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - SteadyClock::now());
            const int timeout = static_cast<int>(
                std::clamp(left, std::chrono::milliseconds(0), longest).count());
            pollfd pfd{fd_.get(), POLLIN, 0};
            const int ready = ::poll(&pfd, 1, timeout);
            if (ready > 0) return true;  // input, or POLLHUP/POLLERR: the read tells which
            if (ready == 0 && timeout == 0) return false;
            if (ready < 0 && errno != EINTR) {
                lost_ = ErrnoFailure("poll");
                return true;
            }
        }
    }

private:
    bool hungUp() {
        pollfd pfd{fd_.get(), POLLIN, 0};
        return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }

    Status writeUntil(const std::vector<std::uint8_t>& bytes, SteadyClock::time_point deadline,
                      const StopCheck& stopped) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_.get(), bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) return ErrnoFailure("write");
            const Status waited = waitWritable(deadline, stopped);
            if (!waited) return waited;
        }
        return Status::success();
    }

    // Waits in short slices, so that a stop is seen while the port takes nothing.
    Status waitWritable(SteadyClock::time_point deadline, const StopCheck& stopped) {
        constexpr auto kSlice = std::chrono::milliseconds(20);
        for (;;) {
            if (stopped && stopped()) return ErrnoFailure("write", ECANCELED);
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - SteadyClock::now());
            if (left.count() <= 0) return ErrnoFailure("poll", ETIME);
            pollfd pfd{fd_.get(), POLLOUT, 0};
            const int ready = ::poll(&pfd, 1, static_cast<int>(std::min(left, kSlice).count()));
            if (ready > 0 && (pfd.revents & (POLLERR | POLLNVAL))) return ErrnoFailure("poll", EIO);
            if (ready > 0) return Status::success();
            if (ready < 0 && errno != EINTR) return ErrnoFailure("poll");
        }
    }

    UniqueFd fd_;
    bool unsent_ = false;
    Status lost_;  // why the port is gone, once a read or wait found out
};

}  // namespace

std::string ComPortDevice(const std::string& name) {
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0) return {};
    const char* first = name.data() + 3;
    const char* last = name.data() + name.size();
    if (*first < '1' || *first > '9') return {};  // no sign, no leading zero
    int number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) return {};
    for (const DeviceRange& range : kDeviceRanges) {
        if (number >= range.firstCom && number <= range.lastCom) {
            return range.prefix + std::to_string(number - range.firstCom);
        }
    }
    return {};
}

PosixSerialPorts::PosixSerialPorts(DeviceForName deviceForName)
    : deviceForName_(std::move(deviceForName)) {}

Status PosixSerialPorts::open(const std::string& name, const SerialSettings& settings,
                              std::unique_ptr<SerialPort>& port) {
    port.reset();
    const std::string device = deviceForName_(name);
    if (device.empty()) return ErrnoFailure("open", ENOENT);
    UniqueFd fd(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return ErrnoFailure("open");
    if (!::isatty(fd.get())) return ErrnoFailure("isatty", ENOTTY);
    // The lock keeps out other users of the port, including ones with the rights to ignore
    // TIOCEXCL; TIOCEXCL keeps out programs that do not lock.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return ErrnoFailure("flock");
    if (::ioctl(fd.get(), TIOCEXCL) != 0) return ErrnoFailure("ioctl");
    const Status applied = ApplySettings(fd.get(), settings);
    if (!applied) return applied;
    port = std::make_unique<PosixSerialPort>(std::move(fd));
    return Status::success();
}

}  // namespace zs
