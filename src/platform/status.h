// The one error shape of the platform layer: success, or the failing system call and its message.
#pragma once

#include <string>
#include <utility>

namespace zs {

struct Status {
    bool ok = true;
    std::string call;     // the system call that failed, e.g. "open"
    std::string message;  // the system's text for the failure

    static Status success() { return {}; }
    static Status failure(std::string failedCall, std::string text) {
        return {false, std::move(failedCall), std::move(text)};
    }
    explicit operator bool() const { return ok; }
};

}  // namespace zs
