// The services of the platform the program is built for, made once by the program's main. Each
// platform has one implementation (src/platform/win32, src/platform/linux).
#pragma once

#include <memory>
#include <string>

#include "platform/recorder.h"
#include "platform/services.h"
#include "platform/status.h"

namespace zs {

class NativeServices {
public:
    virtual ~NativeServices() = default;
    virtual Services& services() = 0;
    // The desktop recorder of Tools > Record; nullptr where the platform has none.
    virtual InputRecorder* recorder() { return nullptr; }
    // What the user must know of where mouse and keyboard steps arrive; "" when they arrive
    // everywhere.
    virtual std::string inputReachNotice() { return {}; }
};

// Call on the thread that will run the event loop: it becomes the UI thread. Returns nullptr
// with the failing call in status when a service cannot start (no display, for example).
std::unique_ptr<NativeServices> OpenNativeServices(Status& status);

// Tells the user that the program could not start, the platform's way.
void ReportStartFailure(const Status& status);

}  // namespace zs
