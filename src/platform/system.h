// Facts about the machine and the user: user name, local time, the program's own file, screen density.
#pragma once

#include <string>

namespace zs {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual std::string userName() = 0;           // the logged-on user, "" when unknown
    virtual LocalTime localTime() = 0;
    virtual std::string ownExecutablePath() = 0;  // full path of the running program's file
    virtual int screenPixelsPerInch() = 0;        // horizontal logical pixels per inch
};

// The implementation for the platform the program is built for (POSIX or Win32).
SystemInfo& NativeSystemInfo();

}  // namespace zs
