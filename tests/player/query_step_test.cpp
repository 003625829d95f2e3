// The Query step on in-memory ports and the virtual clock: the reply looked for in everything
// received since the telegram, what the State text shows, and the failure routes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/step_types.h"
#include "support/device_player.h"

namespace zs::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

Step Initialise(const std::string& port = "COM1") {
    Step step = TypedStep(5);
    step.ComPort = port;
    step.ComType = "Initialise";
    step.Telegram = "9600 N 8 1";
    return step;
}

Step Query(const std::string& kind, const std::string& telegram, const std::string& reply,
           float timeout = 2.0f, int onFail = 0) {
    Step step = TypedStep(kQueryStepType);
    step.ComPort = "COM1";
    step.ComType = kind;
    step.Telegram = telegram;
    step.ReplyText = reply;
    step.TimeoutSeconds = timeout;
    step.OnFailStep = onFail;
    return step;
}

struct Result {
    std::vector<std::string> messages;  // "title / text"
    std::vector<std::string> states;    // the State texts, in order
};

Result PlayQueries(DevicePlayer& p, const std::vector<Step>& steps) {
    p.gui.setMessageBoxHook([&](const gui::MessageRecord&) {
        p.gui.runOnUi([&] { p.commands.Play(); });  // resumed from inside the box
    });
    EXPECT_TRUE(p.play(steps));
    Result result;
    for (const auto& m : p.gui.messages()) result.messages.push_back(m.title + " / " + m.text);
    for (const std::string& text : p.gui.textValues(form::kTextStepInfo))
        if (!text.empty()) result.states.push_back(text);
    EXPECT_TRUE(p.serial.openPorts().empty());  // every query closes its port
    return result;
}

TEST(QuerySteps, TheReplyIsFoundInWhatCameSinceTheTelegram) {
    struct Case {
        const char* name;
        Step query;
        std::function<void(DevicePlayer&)> device;
        std::vector<std::string> messages;
        std::vector<std::string> states;
    };
    const Case cases[] = {
        {"answered at once", Query("String", "*IDN?", "ACME"),
         [](DevicePlayer& p) { p.serial.answer("COM1", {Of("ACME,4711,1.2\r\n")}); }, {},
         {"ACME,4711,1.2<0D><0A>", "after"}},
        {"in three pieces after an echo", Query("String", "*IDN?", "ACME,4711"),
         [](DevicePlayer& p) { p.serial.answer("COM1", {Of("*IDN?\rAC"), Of("ME,47"), Of("11")}); },
         {}, {"*IDN?<0D>ACME,4711", "after"}},
        {"bytes from before the telegram are dropped", Query("String", "?", "OK", 0.5f),
         [](DevicePlayer& p) { p.serial.arrive("COM1", Of("OK")); },
         {"COM port / No reply on COM1"}, {"after"}},
        {"hexadecimal reply", Query("Hex", "05", "06"),
         [](DevicePlayer& p) { p.serial.answer("COM1", {Bytes{0x15, 0x06}}); }, {},
         {"<15><06>", "after"}},
        {"an empty reply waits for any byte", Query("Byte", "5", ""),
         [](DevicePlayer& p) { p.serial.answer("COM1", {Bytes{0xFF}}); }, {}, {"<FF>", "after"}},
        {"a reply that never matches", Query("String", "?", "OK", 0.5f),
         [](DevicePlayer& p) { p.serial.answer("COM1", {Of("NO")}); },
         {"COM port / No reply on COM1"}, {"NO", "after"}},
        {"the device is unplugged", Query("String", "?", "OK", 0.5f),
         [](DevicePlayer& p) { p.serial.vanish("COM1"); }, {"COM port / Can't open port!"},
         {"after"}},
        {"unplugged in the middle of its reply", Query("String", "?", "OK", 2.0f),
         [](DevicePlayer& p) {
             p.serial.answer("COM1", {Of("O")});
             p.clock.at(500, [&p] { p.serial.vanish("COM1"); });
         },
         {"COM port / No reply on COM1"}, {"O", "after"}},
        {"the on-fail route", Query("String", "?", "OK", 0.5f, 4),
         [](DevicePlayer&) {}, {}, {"on fail"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DevicePlayer p;
        c.device(p);
        Step skipped = StateStep("after");
        const Result r = PlayQueries(p, {Initialise(), c.query, skipped, StateStep("on fail")});
        EXPECT_EQ(r.messages, c.messages);
        std::vector<std::string> states = c.states;
        if (std::string(c.name) != "the on-fail route") states.push_back("on fail");
        EXPECT_EQ(r.states, states);
    }
}

TEST(QuerySteps, APortWithoutInitialiseFailsAsATelegramDoes) {
    DevicePlayer p;
    const Result r = PlayQueries(p, {Query("String", "?", "OK"), StateStep("after")});
    EXPECT_EQ(r.messages, std::vector<std::string>{"COM port / Port is not initialised!"});
    EXPECT_TRUE(p.serial.opens().empty());
}

TEST(QuerySteps, AFloodShowsTwoHundredBytesAndEndsAtTheTimeOut) {
    DevicePlayer p;
    p.serial.flood("COM1", Of("x\x01"));
    const Result r = PlayQueries(p, {Initialise(), Query("String", "?", "OK", 1.0f), StateStep("after")});
    EXPECT_EQ(r.messages, std::vector<std::string>{"COM port / No reply on COM1"});
    ASSERT_EQ(r.states.size(), 2u);
    EXPECT_EQ(r.states[0].substr(0, 10), "x<01>x<01>");
    EXPECT_EQ(r.states[0].size(), 100u * 5u);  // 200 bytes: x as it is, 0x01 as <01>
}

// Regression: a reply found early in a 100 ms test interval held the next step until the
// interval's end as well as the settle delay.
TEST(QuerySteps, TheNextStepFollowsTheReplyAfterTheSettleDelayAlone) {
    DevicePlayer p;
    p.serial.answer("COM1", {Of("O"), Of("K")});  // the "K" wakes the wait within the interval
    PlayQueries(p, {Initialise(), Query("String", "?", "OK"), StateStep("after")});
    long long replyShown = -1, nextShown = -1;
    for (const gui::TextChange& change : p.gui.textHistory(form::kTextStepInfo)) {
        if (change.text == "OK") replyShown = change.atMs;
        if (change.text == "after") nextShown = change.atMs;
    }
    ASSERT_GE(replyShown, 0);
    EXPECT_EQ(nextShown - replyShown, p.state.actionSettleDelayMs);
}

TEST(QuerySteps, StopEndsTheWaitWithin100MsAndClosesThePort) {
    DevicePlayer p;
    p.clock.at(1250, [&] { p.gui.runOnUi([&] { p.commands.Stop(); }); });
    const Result r = PlayQueries(p, {Initialise(), Query("String", "?", "OK", 60.0f), StateStep("after")});
    EXPECT_LE(p.clock.elapsedMs(), 1350);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_TRUE(r.states.empty() || r.states.back() != "after");
}

}  // namespace
}  // namespace zs::test
