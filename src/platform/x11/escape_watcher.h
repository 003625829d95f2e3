// Notices the Escape key on the whole desktop, whatever window has the focus.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/status.h"

typedef struct _XDisplay Display;

namespace zs::x11 {

// Listens for raw key presses (XInput2, on the root window) on a connection of its own. A thread
// keeps the event stream drained while nobody asks; each question first makes a round trip to
// the server, so a press the server handled before the question is always counted, however
// short the tap was.
//
// Only the user's Escape counts. The program's own Escape (a step that types it) comes through
// an XTest device, as xdotool's and a remote desktop's do: the input announces each one, and
// that many Escape presses from XTest devices are passed over. Others count.
class EscapeWatcher {
public:
    // Opens the connection and starts the thread; on failure `status` tells why and
    // pressedSinceLastCall() only reports a key that is down at the time of the call.
    EscapeWatcher(const char* displayName, Status& status);
    ~EscapeWatcher();
    EscapeWatcher(const EscapeWatcher&) = delete;
    EscapeWatcher& operator=(const EscapeWatcher&) = delete;

    // Escape is down now, or was pressed since the previous call.
    bool pressedSinceLastCall();
    // The program is about to press Escape through XTest.
    void expectOwnPress();
    int escapeKeycode() const { return escapeKeycode_; }
    Display* display() const { return display_; }

private:
    Status start();
    void watch();
    void drainEvents();  // with mutex_ held
    void handleRawKey(int evtype, const void* rawEvent);  // with mutex_ held
    bool escapeDownNow();  // with mutex_ held

    Display* display_ = nullptr;
    int xiOpcode_ = 0;
    int escapeKeycode_ = 0;
    bool rawEvents_ = false;
    int wakePipe_[2] = {-1, -1};
    std::mutex mutex_;
    bool pressed_ = false;  // guarded by mutex_, as the two below
    int ownPressesExpected_ = 0;
    std::vector<int> xtestDevices_;
    std::thread thread_;
};

}  // namespace zs::x11
