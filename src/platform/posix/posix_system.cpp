// User name, local time and the program's own file from the POSIX and /proc interfaces.
#include "platform/posix/posix_system.h"

#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

namespace zs {

PosixSystemInfo::PosixSystemInfo(std::function<int()> pixelsPerInch)
    : pixelsPerInch_(std::move(pixelsPerInch)) {}

std::string PosixSystemInfo::userName() {
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
    for (int attempt = 0; attempt < 8; ++attempt) {
        passwd entry{};
        passwd* found = nullptr;
        const int error = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == 0 && found != nullptr && found->pw_name != nullptr) return found->pw_name;
        if (error != ERANGE) break;
        buffer.resize(buffer.size() * 2);
    }
    const char* fromEnvironment = std::getenv("USER");
    return fromEnvironment != nullptr ? fromEnvironment : "";
}

LocalTime PosixSystemInfo::localTime() {
    const time_t now = ::time(nullptr);
    tm parts{};
    if (::localtime_r(&now, &parts) == nullptr) return {};
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string PosixSystemInfo::ownExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        if (buffer.size() >= 65536) return {};
        buffer.resize(buffer.size() * 2);
    }
}

int PosixSystemInfo::screenPixelsPerInch() {
    return pixelsPerInch_ ? pixelsPerInch_() : 96;
}

}  // namespace zs
