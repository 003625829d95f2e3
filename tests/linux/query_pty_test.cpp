// The Query step end to end: the player on the real serial ports, a pseudo-terminal for the
// device and the real clock. The device end is a thread that answers, stays silent, vanishes or
// floods the line.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "linux/pty_player.h"

namespace zs::pty {
namespace {

const Bytes kQuery = Of("*IDN?");

// Descriptors of this process open on `device`, the device end's own slave included (once the
// master is closed, the link reads "DEVICE (deleted)").
int DescriptorsOn(const std::string& device) {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(dir)) {
            char target[256] = {};
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
            const std::string opened(target, n > 0 ? std::size_t(n) : 0);
            if (opened == device || opened == device + " (deleted)") ++count;
        }
        ::closedir(dir);
    }
    return count;
}

struct Outcome {
    std::vector<std::string> messages;  // "title / text"
    std::vector<std::string> states;    // non-empty State texts, in order
};

Outcome Collect(PtyPlayer& p) {
    Outcome outcome;
    for (const auto& m : p.gui.messages()) outcome.messages.push_back(m.title + " / " + m.text);
    for (const std::string& text : p.gui.textValues(form::kTextStepInfo))
        if (!text.empty()) outcome.states.push_back(text);
    return outcome;
}

// A failure box that pauses the run is answered with Stop, as a user would end it.
void StopAtTheBox(PtyPlayer& p) {
    p.gui.setMessageBoxHook([&p](const gui::MessageRecord&) {
        p.gui.runOnUi([&p] { p.commands.Stop(); });
    });
}

TEST(QueryOnAPseudoTerminal, TheDeviceAnswersLateInPiecesOrNever) {
    struct Case {
        const char* name;
        Step query;
        std::function<void(PtyDevice&)> device;  // runs once the query has arrived
        std::vector<std::string> messages, states;
    };
    const auto pieces = [](std::vector<std::string> parts) {
        return [parts](PtyDevice& d) {
            for (const std::string& part : parts) {
                d.write(Of(part));
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        };
    };
    const Case cases[] = {
        {"answers after 300 ms", Query("ACME", 5.0f),
         [](PtyDevice& d) {
             std::this_thread::sleep_for(std::chrono::milliseconds(300));
             d.write(Of("ACME,4711\r\n"));
         },
         {}, {"ACME,4711<0D><0A>", "after"}},
        {"echo, then the reply in three pieces", Query("ACME,4711", 5.0f),
         pieces({"*IDN?\r", "AC", "ME,4", "711"}), {}, {"*IDN?<0D>ACME,4711", "after"}},
        {"silent, on fail to step 4", Query("ACME", 0.5f, 4), [](PtyDevice&) {}, {},
         {"recovered"}},
        {"silent, on fail Pause", Query("ACME", 0.5f), [](PtyDevice&) {},
         {"COM port / No reply on COM1"}, {}},
        {"unplugged mid-reply", Query("ACME", 1.0f),
         [](PtyDevice& d) {
             d.write(Of("AC"));
             d.closeMaster();
         },
         // Whether "AC" was read before the line went depends on the scheduler: not compared.
         {"COM port / No reply on COM1"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PtyDevice device;
        ASSERT_FALSE(device.slaveName.empty());
        PtyPlayer p(device.slaveName);
        StopAtTheBox(p);
        std::thread answering([&] {
            if (device.readUntil(kQuery)) c.device(device);
        });
        const long before = p.start({Initialise(), c.query, State("after"), State("recovered")});
        const bool ended = p.waitForEnd(before);
        answering.join();
        ASSERT_TRUE(ended);
        const Outcome outcome = Collect(p);
        EXPECT_EQ(outcome.messages, c.messages);
        // Only the first expected State texts are compared: a run that went on shows more.
        std::vector<std::string> states = outcome.states;
        if (states.size() > c.states.size()) states.resize(c.states.size());
        EXPECT_EQ(states, c.states);
        EXPECT_EQ(DescriptorsOn(device.slaveName), 1);  // the port is closed again
    }
}

// A device that never stops sending and never sends the reply: the step still ends at its
// time-out, and what it keeps (the State text) stays at its limit however much came.
TEST(QueryOnAPseudoTerminal, AFloodedLineDoesNotHoldTheRunBeyondItsTimeOut) {
    PtyDevice device;
    PtyPlayer p(device.slaveName);
    StopAtTheBox(p);
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> flooded{0};
    std::thread flooding([&] {
        if (!device.readUntil(kQuery)) return;
        const Bytes chunk(64 * 1024, 'x');
        while (!stop) {
            const ssize_t n = ::write(device.master, chunk.data(), chunk.size());
            if (n > 0) flooded += std::size_t(n);
            pollfd pfd{device.master, POLLOUT, 0};
            ::poll(&pfd, 1, 20);
        }
    });
    const long before = p.start({Initialise(), Query("ACME", 1.0f), State("after")});
    const bool ended = p.waitForEnd(before);
    stop = true;
    flooding.join();
    ASSERT_TRUE(ended);
    const Outcome outcome = Collect(p);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{"COM port / No reply on COM1"});
    ASSERT_EQ(outcome.states.size(), 1u);
    EXPECT_EQ(outcome.states[0], std::string(200, 'x'));
    EXPECT_GT(flooded.load(), 8u * 64u * 1024u);  // the line was flooded, not merely busy
    EXPECT_EQ(p.gui.textValues(form::kTextCountdown).back(), "0.0");
    EXPECT_EQ(DescriptorsOn(device.slaveName), 1);
}

// Stop and Escape end a wait of a minute at the next 100 ms tick: at most one more countdown
// text shows after the command, and the port is closed when the run has ended.
TEST(QueryOnAPseudoTerminal, StopAndEscapeEndAWaitingQuery) {
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Stop");
        PtyDevice device;
        PtyPlayer p(device.slaveName);
        std::atomic<bool> queried{false};
        std::thread listening([&] { queried = device.readUntil(kQuery); });
        const long before = p.start({Initialise(), Query("ACME", 60.0f), State("after")});
        listening.join();
        ASSERT_TRUE(queried);
        // The countdown shows: the step waits.
        while (p.gui.textValues(form::kTextCountdown).empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::size_t ticksAtCommand = 0;
        p.gui.runOnUi([&] {
            ticksAtCommand = p.gui.textValues(form::kTextCountdown).size();
            if (escape)
                p.input.pressEscape();
            else
                p.commands.Stop();
        });
        ASSERT_TRUE(p.waitForEnd(before));
        EXPECT_LE(p.gui.textValues(form::kTextCountdown).size(), ticksAtCommand + 1);
        EXPECT_TRUE(p.gui.messages().empty());
        EXPECT_TRUE(Collect(p).states.empty());  // neither a reply shown nor the next step run
        EXPECT_EQ(DescriptorsOn(device.slaveName), 1);
        EXPECT_EQ(p.state.playing, 0);
    }
}

}  // namespace
}  // namespace zs::pty
