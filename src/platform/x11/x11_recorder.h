// The desktop recorder on X11: XInput2 raw events on the root window, read on a connection of
// its own. Nothing is grabbed: the input goes on to its windows as usual.
#pragma once

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/recorder.h"

typedef struct _XDisplay Display;

namespace zs::x11 {

class X11Recorder final : public InputRecorder {
public:
    explicit X11Recorder(const char* displayName) : displayName_(displayName) {}
    ~X11Recorder() override;

    Status start(RecordSink& sink) override;
    void stop() override;
    DoubleClickRule doubleClickRule() override { return {400, 4}; }
    // While `injecting` says so, raw events from the XTEST devices are the program's own and are
    // left out. Input that other clients inject through XTEST at other times is recorded like
    // the user's: XTEST alone does not tell who sent it.
    void setOwnInputTest(std::function<bool()> injecting) override;

private:
    struct KeyState {
        bool shift = false, level3 = false;
    };

    Status open();
    void readLoop(RecordSink& sink);
    void handleRawEvent(RecordSink& sink, int type, const void* raw);
    void handleKey(RecordSink& sink, int keycode, bool down, unsigned long time);
    void handleButton(RecordSink& sink, int button, bool down, unsigned long time);
    void loadKeyboardMap();
    unsigned long keysymAt(int keycode, int column) const;
    bool isXTestDevice(int deviceId);
    bool programInjects();
    bool isOwnWindow(unsigned long window);
    unsigned long deepestWindowAt(int& x, int& y);

    const char* displayName_;
    std::mutex testMutex_;
    std::function<bool()> ownInjection_;  // guarded by testMutex_
    Display* display_ = nullptr;
    int xiOpcode_ = 0;
    int wakePipe_[2] = {-1, -1};
    std::thread thread_;
    int escapeKeycode_ = 0;
    int firstKeycode_ = 0, keysymsPerKeycode_ = 0;
    std::vector<unsigned long> keyboardMap_;
    std::vector<int> xtestDevices_;
    KeyState keys_;
};

}  // namespace zs::x11
