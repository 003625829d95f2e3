#include "platform/posix/exit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/exit_action.h"

namespace zs::posix {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int gSignalPipe[2] = {-1, -1};

extern "C" void WriteSignalNumber(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    (void)!::write(gSignalPipe[1], &number, 1);
    errno = savedErrno;
}

[[noreturn]] void EndOnSignal() {
    unsigned char number = 0;
    while (::read(gSignalPipe[0], &number, 1) != 1) {
        if (errno != EINTR) std::_Exit(1);
    }
    RunExitAction();
    std::fflush(nullptr);
    std::_Exit(128 + number);
}

}  // namespace

Status EndProcessOnSignals() {
    if (gSignalPipe[0] >= 0) return Status::success();
    if (::pipe2(gSignalPipe, O_CLOEXEC) != 0) return Status::failure("pipe2", std::strerror(errno));
    std::thread(EndOnSignal).detach();
    struct sigaction action {};
    action.sa_handler = WriteSignalNumber;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) {
        // A signal ignored from the start stays ignored (nohup, a background job's SIGINT).
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        if (::sigaction(signal, &action, nullptr) != 0)
            return Status::failure("sigaction", std::strerror(errno));
    }
    return Status::success();
}

}  // namespace zs::posix
