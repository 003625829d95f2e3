// Drives zs_x11_test_client from tests and benchmarks: start it, wait until it has the focus,
// and collect what it received up to a sync point.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display, without its macros

namespace zs::testing {

struct ClientKey {
    unsigned long keysym = 0;
    unsigned state = 0;
    std::string text;  // UTF-8 as the client decoded it
};

struct ClientButton {
    int button = 0, x = 0, y = 0;
};

struct ClientInput {
    std::vector<ClientKey> keys;
    std::vector<ClientButton> buttons;
    std::string text() const;  // the texts of all keys, in order
};

class TestClient {
public:
    // Starts the client (path from ZS_X11_TEST_CLIENT) with the extra arguments and waits until
    // it has the focus; nullptr with the reason in `error` when it does not come up in time.
    static std::unique_ptr<TestClient> Start(const std::vector<std::string>& arguments,
                                             std::string& error);
    ~TestClient();

    // Everything the client received since the previous call. Sends a sync request after all
    // input that the server has already handled and waits (up to `timeout`) until the client
    // reports it; `complete` is false when it did not.
    ClientInput receivedSinceLastSync(bool& complete,
                                      std::chrono::seconds timeout = std::chrono::seconds(20));

private:
    TestClient() = default;
    bool waitForLine(const std::string& prefix, std::chrono::seconds timeout);
    std::vector<std::string> newLines();

    int pid_ = -1;
    unsigned long window_ = 0;
    std::string logPath_;
    std::size_t readOffset_ = 0;
    std::string pending_;                // read but not yet complete line
    std::vector<std::string> unclaimed_;  // complete lines not yet returned
    long syncNumber_ = 0;
};

// A window manager that keeps the EWMH lists runs on the display.
bool WindowManagerRuns(::_XDisplay* display);

}  // namespace zs::testing
