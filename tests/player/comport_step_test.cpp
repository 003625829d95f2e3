#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/in_memory_serial.h"
#include "player/actions.h"

namespace zs {
namespace {

Step ComportStep(const std::string& port, const std::string& type, const std::string& telegram) {
    Step step;
    step.RECORDtype = 5;
    step.ComPort = port;
    step.ComType = type;
    step.Telegram = telegram;
    return step;
}

class ComportStepTest : public ::testing::Test {
protected:
    ComportResult run(const std::string& port, const std::string& type, const std::string& text) {
        return DoComportStep(ComportStep(port, type, text), state, serial);
    }

    AppState state;
    InMemorySerialPorts serial;
};

TEST_F(ComportStepTest, InitialiseThenStringOpensWithTheSettingsWritesOnceAndCloses) {
    EXPECT_EQ(run("COM1", "Initialise", "9600 N 8 1").outcome, ComportOutcome::Initialised);
    EXPECT_TRUE(serial.log().empty());  // "Initialise" does not open the port
    const ComportResult result = run("COM1", "String", "ATZ");
    EXPECT_EQ(result.outcome, ComportOutcome::Sent);
    EXPECT_EQ(result.message, "");
    const SerialSettings expected{9600, Parity::None, 8, StopBits::One};
    EXPECT_EQ(serial.opens(), (std::vector<SerialOpenRecord>{{"COM1", expected}}));
    EXPECT_EQ(serial.writes("COM1"), (std::vector<std::vector<std::uint8_t>>{{'A', 'T', 'Z'}}));
    EXPECT_EQ(serial.log(), (std::vector<std::string>{"open COM1", "write COM1 3", "close COM1"}));
    EXPECT_TRUE(serial.openPorts().empty());
}

TEST_F(ComportStepTest, TheFirstInitialiseOfAPortInARunHolds) {
    run("COM1", "Initialise", "9600 N 8 1");
    run("COM1", "Initialise", "19200 E 7 2");
    run("com1", "Initialise", "300 O 5 2");  // another name: names compare exactly
    ASSERT_EQ(state.runtimePorts.size(), 2u);
    EXPECT_EQ(state.runtimePorts[0], (PortSetting{"COM1", 9600, 0, 8, 1}));
    run("COM1", "Hex", "F4 03 28");
    run("com1", "Byte", "1 2");
    const std::vector<SerialOpenRecord> expected = {
        {"COM1", {9600, Parity::None, 8, StopBits::One}},
        {"com1", {300, Parity::Odd, 5, StopBits::Two}}};
    EXPECT_EQ(serial.opens(), expected);
    EXPECT_EQ(serial.writes("COM1"), (std::vector<std::vector<std::uint8_t>>{{0xF4, 0x03, 0x28}}));
}

TEST_F(ComportStepTest, FailuresAreReportedWithTheirMessagesAndNothingIsSent) {
    run("COM1", "Initialise", "9600 N 8 1");
    serial.failOpens("COM4");
    run("COM4", "Initialise", "9600 E 8 2");
    struct Case {
        std::string port, type, telegram;
        ComportOutcome outcome;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"COM2", "String", "ATZ", ComportOutcome::NotInitialised, "Port is not initialised!"},
        // The missing setting is reported before the telegram is looked at.
        {"COM2", "Hex", "ZZ", ComportOutcome::NotInitialised, "Port is not initialised!"},
        {"COM1", "Hex", "F4 XY", ComportOutcome::BadTelegram, "Bad hex value: XY"},
        {"COM1", "Byte", "300", ComportOutcome::BadTelegram, "Bad byte value: 300"},
        {"COM1", "Ascii", "A", ComportOutcome::BadTelegram, "Unknown telegram type: Ascii"},
        {"COM4", "String", "ATZ", ComportOutcome::OpenFailed, "Can't open port!"},
    };
    for (const auto& c : cases) {
        const ComportResult result = run(c.port, c.type, c.telegram);
        EXPECT_EQ(result.outcome, c.outcome) << c.port << " " << c.type << " " << c.telegram;
        EXPECT_EQ(result.message, c.message) << c.port << " " << c.type << " " << c.telegram;
    }
    EXPECT_EQ(serial.log(), (std::vector<std::string>{"fail open COM4"}));
}

TEST_F(ComportStepTest, AFailedWriteStillClosesThePortAndCountsAsSent) {
    run("COM1", "Initialise", "9600 N 8 1");
    serial.failWrites("COM1");
    EXPECT_EQ(run("COM1", "String", "ATZ").outcome, ComportOutcome::Sent);
    EXPECT_EQ(serial.log(),
              (std::vector<std::string>{"open COM1", "fail write COM1", "close COM1"}));
    EXPECT_TRUE(serial.openPorts().empty());
}

TEST_F(ComportStepTest, ANewRunForgetsThePortSettings) {
    run("COM1", "Initialise", "9600 N 8 1");
    state.runtimePorts.clear();  // what starting a run does
    EXPECT_EQ(run("COM1", "String", "A").outcome, ComportOutcome::NotInitialised);
}

}  // namespace
}  // namespace zs
