// Serial ports on pseudo-terminals: bytes both ways, line settings, exclusive use, time-outs,
// waits for input, a vanished other end, no fd leaks.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/posix_serial.h"

namespace zs {
namespace {

int OpenDescriptorCount() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir) != nullptr) ++count;
        ::closedir(dir);
    }
    return count;
}

// A pseudo-terminal whose slave stands in for every port name.
class PtySerialTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[128] = {};
        ASSERT_EQ(::openpty(&master_, &slave_, name, nullptr, nullptr), 0);
        slaveName_ = name;
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
    }
    void TearDown() override {
        if (master_ >= 0) ::close(master_);
        ::close(slave_);
    }

    void writeMaster(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    // Reads from the port until `until` holds or nothing comes for a long time.
    static std::vector<std::uint8_t> readPort(
        SerialPort& port, const std::function<bool(const std::vector<std::uint8_t>&)>& until) {
        std::vector<std::uint8_t> got;
        while (!until(got) && port.waitReadable(std::chrono::seconds(10))) {
            if (!port.readAvailable(got, 4096)) break;
        }
        return got;
    }

    PosixSerialPorts ports() {
        return PosixSerialPorts([this](const std::string&) { return slaveName_; });
    }

    std::vector<std::uint8_t> readMaster(std::size_t expected) {
        std::vector<std::uint8_t> got;
        std::uint8_t buffer[4096];
        while (got.size() < expected) {
            pollfd pfd{master_, POLLIN, 0};
            if (::poll(&pfd, 1, 5000) <= 0) break;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    int master_ = -1, slave_ = -1;
    std::string slaveName_;
};

TEST_F(PtySerialTest, EveryByteArrivesUnchanged) {
    std::vector<std::uint8_t> bytes = {'A', 'T', 'Z', '\r', '\n'};
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<std::uint8_t>(b));
    std::unique_ptr<SerialPort> port;
    PosixSerialPorts serial = ports();
    ASSERT_TRUE(serial.open("COM1", {}, port));
    EXPECT_TRUE(port->write(bytes));
    port.reset();
    EXPECT_EQ(readMaster(bytes.size()), bytes);
}

// A pty keeps the baud rate, CSTOPB and PARODD (it forces CS8 and clears PARENB).
TEST_F(PtySerialTest, TheLineSettingsAreApplied) {
    struct Case {
        SerialSettings settings;
        speed_t speed;
        bool twoStopBits, odd;
    } cases[] = {
        {{9600, Parity::None, 8, StopBits::One}, B9600, false, false},
        {{50, Parity::Odd, 7, StopBits::Two}, B50, true, true},
        {{115200, Parity::Even, 5, StopBits::OneAndHalf}, B115200, true, false},
        {{1800, Parity::Odd, 6, StopBits::One}, B1800, false, true},
    };
    PosixSerialPorts serial = ports();
    for (const Case& c : cases) {
        std::unique_ptr<SerialPort> port;
        ASSERT_TRUE(serial.open("COM3", c.settings, port)) << c.settings.baud;
        termios tio{};
        ASSERT_EQ(::tcgetattr(master_, &tio), 0);
        EXPECT_EQ(::cfgetospeed(&tio), c.speed) << c.settings.baud;
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits) << c.settings.baud;
        EXPECT_EQ((tio.c_cflag & PARODD) != 0, c.odd) << c.settings.baud;
        EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
    }
}

TEST_F(PtySerialTest, APortInUseCannotBeOpenedTwice) {
    PosixSerialPorts serial = ports();
    std::unique_ptr<SerialPort> first, second;
    ASSERT_TRUE(serial.open("COM1", {}, first));
    const int before = OpenDescriptorCount();
    const Status status = serial.open("COM1", {}, second);
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.call.empty());
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(OpenDescriptorCount(), before);
    first.reset();
    EXPECT_TRUE(serial.open("COM1", {}, second));  // free again once closed
}

TEST_F(PtySerialTest, BadSettingsAndNamesFailWithoutLeakingADescriptor) {
    const int before = OpenDescriptorCount();
    PosixSerialPorts serial = ports();
    for (const SerialSettings& bad : {SerialSettings{12345, Parity::None, 8, StopBits::One},
                                      SerialSettings{0, Parity::None, 8, StopBits::One},
                                      SerialSettings{9600, Parity::None, 9, StopBits::One},
                                      SerialSettings{9600, Parity::None, 4, StopBits::One}}) {
        std::unique_ptr<SerialPort> port;
        EXPECT_FALSE(serial.open("COM1", bad, port)) << bad.baud << " " << bad.dataBits;
        EXPECT_EQ(port, nullptr);
    }
    PosixSerialPorts real;  // the fixed device mapping
    std::unique_ptr<SerialPort> port;
    for (const char* name : {"", "COM0", "COM81", "LPT1", "/dev/null"}) {
        const Status status = real.open(name, {}, port);
        EXPECT_FALSE(status) << name;
        EXPECT_EQ(status.call, "open") << name;
    }
    PosixSerialPorts notATerminal([](const std::string&) { return std::string("/dev/null"); });
    EXPECT_FALSE(notATerminal.open("COM1", {}, port));
    EXPECT_EQ(OpenDescriptorCount(), before);
}

// Nobody reads the other end: the write gives up after its time-out instead of hanging.
TEST_F(PtySerialTest, AWriteToAFullPortFails) {
    PosixSerialPorts serial = ports();
    std::unique_ptr<SerialPort> port;
    ASSERT_TRUE(serial.open("COM1", {}, port));
    ::fcntl(slave_, F_SETFL, O_NONBLOCK);
    // The pty moves data to the other end in the background, later on a loaded machine: fill it
    // until it stays full, and fill again whenever a write still found room.
    Status status;
    for (int attempt = 0; attempt < 20 && status; ++attempt) {
        for (int quietRounds = 0; quietRounds < 3;) {
            bool wrote = false;
            for (std::size_t size : {4096, 256, 1}) {
                const std::vector<std::uint8_t> chunk(size, 'x');
                while (::write(slave_, chunk.data(), chunk.size()) > 0) wrote = true;
            }
            quietRounds = wrote ? 0 : quietRounds + 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        status = port->write({1, 2, 3});
    }
    EXPECT_FALSE(status);
    EXPECT_EQ(status.call, "poll");
}

// 200 KB to a port whose other end never reads would hold the write for hours; a stop ends it,
// the unsent bytes are dropped and the port can be opened again at once.
TEST_F(PtySerialTest, AStopEndsAWriteThePortNeverTakes) {
    PosixSerialPorts serial = ports();
    std::unique_ptr<SerialPort> port;
    ASSERT_TRUE(serial.open("COM1", {}, port));
    std::atomic<bool> stop{false};
    std::atomic<int> asked{0};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop = true;
    });
    const Status status = port->write(std::vector<std::uint8_t>(200000, 'x'), [&] {
        ++asked;
        return stop.load();
    });
    stopper.join();
    EXPECT_FALSE(status);
    EXPECT_EQ(status.call, "write");
    EXPECT_GT(asked.load(), 1);  // asked again while waiting, not only once
    port.reset();
    EXPECT_TRUE(serial.open("COM1", {}, port));
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

bool EndsWith(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& tail) {
    return got.size() >= tail.size() && std::equal(tail.rbegin(), tail.rend(), got.rbegin());
}

TEST_F(PtySerialTest, BytesThatArrivedBeforeADiscardAreDropped) {
    PosixSerialPorts serial = ports();
    std::unique_ptr<SerialPort> port;
    ASSERT_TRUE(serial.open("COM1", {}, port));
    writeMaster(Bytes("stale\r\n"));
    ASSERT_TRUE(port->waitReadable(std::chrono::seconds(10)));
    EXPECT_TRUE(port->discardInput());
    writeMaster(Bytes("new"));
    EXPECT_EQ(readPort(*port, [](const auto& got) { return got.size() >= 3; }), Bytes("new"));
}

// The device echoes the query, then answers in three parts; the bytes come raw (no CR or
// XON/XOFF handling).
TEST_F(PtySerialTest, AnEchoAndAReplyInThreePiecesAreReadWhole) {
    PosixSerialPorts serial = ports();
    std::unique_ptr<SerialPort> port;
    ASSERT_TRUE(serial.open("COM1", {}, port));
    const std::vector<std::uint8_t> query = Bytes("*IDN?\r");
    const std::vector<std::vector<std::uint8_t>> pieces = {
        query, Bytes("AC"), {'M', 'E', 0x00, 0x11, 0x13}, Bytes("\r\n")};
    ASSERT_TRUE(port->discardInput());
    ASSERT_TRUE(port->write(query));
    std::thread device([&] {
        if (readMaster(query.size()) != query) return;
        for (const auto& piece : pieces) {
            writeMaster(piece);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const auto got = readPort(*port, [](const auto& got) { return EndsWith(got, Bytes("\r\n")); });
    device.join();
    std::vector<std::uint8_t> expected;
    for (const auto& piece : pieces) expected.insert(expected.end(), piece.begin(), piece.end());
    EXPECT_EQ(got, expected);
}

// A wait that did not wake on input would run its full minute and report nothing.
TEST_F(PtySerialTest, AWaitEndsWithTheFirstByteOrWhenTheTimePassed) {
    PosixSerialPorts serial = ports();
    std::unique_ptr<SerialPort> port;
    ASSERT_TRUE(serial.open("COM1", {}, port));
    EXPECT_FALSE(port->waitReadable(std::chrono::milliseconds(0)));
    EXPECT_FALSE(port->waitReadable(std::chrono::milliseconds(30)));
    std::vector<std::uint8_t> got;
    EXPECT_TRUE(port->readAvailable(got, 10));
    EXPECT_TRUE(got.empty());
    std::thread device([&] { writeMaster({'!'}); });
    EXPECT_TRUE(port->waitReadable(std::chrono::minutes(1)));
    device.join();
    EXPECT_TRUE(port->readAvailable(got, 10));
    EXPECT_EQ(got, Bytes("!"));
}

// The adapter is pulled: a wait returns at once and every read fails, whichever comes first.
TEST_F(PtySerialTest, AClosedOtherEndIsReportedAsGone) {
    for (const bool waitFirst : {true, false}) {
        if (!waitFirst) {  // a fresh pty
            ::close(slave_);
            SetUp();
        }
        PosixSerialPorts serial = ports();
        std::unique_ptr<SerialPort> port;
        ASSERT_TRUE(serial.open("COM1", {}, port));
        ::close(master_);
        master_ = -1;
        if (waitFirst) {
            EXPECT_TRUE(port->waitReadable(std::chrono::minutes(1)));
        }
        std::vector<std::uint8_t> got;
        for (int read = 0; read < 2; ++read) {
            const Status status = port->readAvailable(got, 10);
            EXPECT_FALSE(status) << waitFirst;
            EXPECT_EQ(status.call, "read") << waitFirst;
        }
        EXPECT_TRUE(port->waitReadable(std::chrono::minutes(1))) << waitFirst;
        EXPECT_TRUE(got.empty());
    }
}

// A device that never stops sending: each read takes at most its limit, and no byte of the
// stream is lost or repeated between reads.
TEST_F(PtySerialTest, AFloodYieldsAtMostTheLimitPerReadAndLosesNothing) {
    PosixSerialPorts serial = ports();
    std::unique_ptr<SerialPort> port;
    ASSERT_TRUE(serial.open("COM1", {}, port));
    std::atomic<bool> stop{false};
    std::thread device([&] {
        std::vector<std::uint8_t> stream(251 * 64);
        for (std::size_t i = 0; i < stream.size(); ++i) stream[i] = std::uint8_t(i % 251);
        std::size_t at = 0;
        while (!stop) {
            const ssize_t n = ::write(master_, stream.data() + at, stream.size() - at);
            if (n > 0) at = (at + std::size_t(n)) % 251;
            pollfd pfd{master_, POLLOUT, 0};
            ::poll(&pfd, 1, 20);
        }
    });
    int next = -1;  // the byte the stream holds next, once known
    for (const std::size_t limit : {1, 100, 0, 5000, 70000, 1, 4096}) {
        ASSERT_TRUE(port->waitReadable(std::chrono::minutes(1)));
        std::vector<std::uint8_t> got = {0xAA};
        ASSERT_TRUE(port->readAvailable(got, limit)) << limit;
        EXPECT_LE(got.size(), limit + 1) << limit;
        EXPECT_EQ(got.size() > 1, limit > 0) << limit;
        EXPECT_EQ(got[0], 0xAA);
        for (std::size_t i = 1; i < got.size(); ++i) {
            if (next >= 0) {
                EXPECT_EQ(got[i], next) << limit << " at " << i;
            }
            next = (got[i] + 1) % 251;
        }
    }
    stop = true;
    device.join();
}

TEST(ComPortDevice, MapsComNumbersOntoDeviceFiles) {
    struct Case {
        const char* name;
        const char* device;
    } cases[] = {
        {"COM1", "/dev/ttyS0"},     {"COM32", "/dev/ttyS31"},   {"COM33", "/dev/ttyUSB0"},
        {"COM64", "/dev/ttyUSB31"}, {"COM65", "/dev/ttyACM0"},  {"COM80", "/dev/ttyACM15"},
        {"COM0", ""},               {"COM81", ""},              {"COM01", ""},
        {"COM+1", ""},              {"com1", ""},               {"COM1 ", ""},
        {"COM", ""},                {"COM99999999999", ""},     {"LPT1", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ComPortDevice(c.name), c.device) << c.name;
}

}  // namespace
}  // namespace zs
