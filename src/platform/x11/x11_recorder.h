// The desktop recorder on X11: XInput2 raw events on the root window, read on a connection of
// its own. Nothing is grabbed: the input goes on to its windows as usual.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/recorder.h"

typedef struct _XDisplay Display;
struct xkb_context;
struct xkb_compose_state;

namespace zs::x11 {

class X11Recorder final : public InputRecorder {
public:
    explicit X11Recorder(const char* displayName);
    ~X11Recorder() override;

    Status start(RecordSink& sink) override;
    void stop() override;
    DoubleClickRule doubleClickRule() override { return {400, 4}; }
    // While `injecting` says so, raw events from the XTEST devices are the program's own and are
    // left out. Input that other clients inject through XTEST at other times is recorded like
    // the user's: XTEST alone does not tell who sent it.
    void setOwnInputTest(std::function<bool()> injecting) override;

private:
    struct Compose;
    struct Windows;

    Status open();
    void close();
    void readLoop(RecordSink& sink);
    bool followState(const void* event);
    void handleRawEvent(RecordSink& sink, int type, const void* raw);
    void handleKey(RecordSink& sink, int keycode, bool down, unsigned long time);
    void handleButton(RecordSink& sink, int button, bool down, unsigned long time);
    std::string typedText(int keycode);
    HeldModifiers heldModifiers() const;
    void findSuperGrabs();
    bool grabbedByAnotherClient(int keycode) const;
    bool focusIsOwn();
    bool isXTestDevice(int deviceId);
    bool programInjects();

    const char* displayName_;
    std::mutex testMutex_;
    std::function<bool()> ownInjection_;  // guarded by testMutex_
    Display* display_ = nullptr;
    int xiOpcode_ = 0;
    int wakePipe_[2] = {-1, -1};
    std::thread thread_;
    int xkbEventBase_ = 0;
    int escapeKeycode_ = 0;
    // The keyboard state as the key events of the moment see it: modifiers and group as a core
    // event's state field holds them, followed through XKB state notifications, which the server
    // sends in order with the raw events.
    unsigned coreState_ = 0;
    unsigned altMask_ = 0, superMask_ = 0;
    std::set<unsigned> superGrabs_;  // keycode << 16 | modifiers of others' grabs with Super
    std::set<int> withheldKeys_;     // pressed keys that went to another client's grab
    std::vector<int> xtestDevices_;
    std::unique_ptr<Compose> compose_;
    std::unique_ptr<Windows> windows_;
};

}  // namespace zs::x11
