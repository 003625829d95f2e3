// XTest devices: marked by the server's "XTEST Device" property, else known by their name.
#include "platform/x11/xtest_devices.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <string_view>

namespace zs::x11 {
namespace {

bool HasXTestProperty(Display* display, int deviceId, Atom property) {
    if (property == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XIGetProperty(display, deviceId, property, 0, 1, False, AnyPropertyType,
                                     &type, &format, &items, &after, &data);
    const bool marked = status == Success && format == 8 && items == 1 && data[0] != 0;
    if (data != nullptr) XFree(data);
    return marked;
}

bool HasXTestName(std::string_view name) {
    constexpr std::string_view kKeyboard = " XTEST keyboard", kPointer = " XTEST pointer";
    return name.ends_with(kKeyboard) || name.ends_with(kPointer);
}

}  // namespace

std::vector<int> XTestDeviceIds(Display* display) {
    std::vector<int> ids;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    if (devices == nullptr) return ids;
    const Atom property = XInternAtom(display, "XTEST Device", True);
    for (int i = 0; i < count; ++i) {
        const XIDeviceInfo& device = devices[i];
        if (device.use != XISlaveKeyboard && device.use != XISlavePointer) continue;
        if (HasXTestProperty(display, device.deviceid, property) || HasXTestName(device.name))
            ids.push_back(device.deviceid);
    }
    XIFreeDeviceInfo(devices);
    return ids;
}

bool IsFromXTestDevice(int sourceId, const std::vector<int>& xtestIds) {
    return std::find(xtestIds.begin(), xtestIds.end(), sourceId) != xtestIds.end();
}

}  // namespace zs::x11
