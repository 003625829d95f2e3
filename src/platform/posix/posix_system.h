// Facts about the user and the program on POSIX; the screen density comes from the display layer.
#pragma once

#include <functional>
#include <string>

#include "platform/system.h"

namespace zs {

class PosixSystemInfo : public SystemInfo {
public:
    // pixelsPerInch answers screenPixelsPerInch(); without one the answer is 96.
    explicit PosixSystemInfo(std::function<int()> pixelsPerInch = {});

    std::string userName() override;  // the effective user's login name, else $USER
    LocalTime localTime() override;
    std::string ownExecutablePath() override;  // the target of /proc/self/exe
    int screenPixelsPerInch() override;

private:
    std::function<int()> pixelsPerInch_;
};

}  // namespace zs
