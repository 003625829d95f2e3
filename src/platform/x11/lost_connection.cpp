#include "platform/x11/lost_connection.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/exit_action.h"

namespace zs::x11 {
namespace {

std::vector<Display*> gInputDisplays;
std::atomic<bool> gEnding{false};

int EndOnLostConnection(Display* display) {
    // A second lost connection while the first is handled (the server went away) ends at once.
    if (gEnding.exchange(true)) std::_Exit(1);
    bool inputLost = false;
    for (Display* input : gInputDisplays) inputLost = inputLost || input == display;
    if (!inputLost) RunExitAction();
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace

void EndProcessOnLostConnection(Display* const* inputDisplays, int count) {
    gInputDisplays.assign(inputDisplays, inputDisplays + count);
    XSetIOErrorHandler(EndOnLostConnection);
}

}  // namespace zs::x11
