// Which input devices of the X server carry XTest input: the slave devices through which XTest
// clients (this program, but also xdotool or a remote-desktop server) inject keys and buttons.
#pragma once

#include <vector>

typedef struct _XDisplay Display;

namespace zs::x11 {

// The ids of the XTest slave devices (keyboards and pointers) of every master device.
std::vector<int> XTestDeviceIds(Display* display);

// Whether an XInput2 event's source device (XIRawEvent::sourceid, XIDeviceEvent::sourceid) is
// one of `xtestIds`: the event was injected, not typed on a keyboard or made with a mouse.
bool IsFromXTestDevice(int sourceId, const std::vector<int>& xtestIds);

}  // namespace zs::x11
