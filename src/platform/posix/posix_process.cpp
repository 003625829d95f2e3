// Starting files: posix_spawn of the program itself or of the opener, never through a shell.
#include "platform/posix/posix_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace zs {
namespace {

Status ErrnoFailure(const char* call, int error) {
    return Status::failure(call, std::strerror(error));
}

// Waits for the one child in the background so that it leaves no zombie.
void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

// Spawn attributes: own session, no blocked signals, default dispositions for the signals a
// program expects at their defaults (the parent may ignore SIGPIPE, for example).
class SpawnAttributes {
public:
    SpawnAttributes() {
        ok_ = ::posix_spawnattr_init(&attr_) == 0;
        if (!ok_) return;
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2}) {
            sigaddset(&defaults, sig);
        }
        ::posix_spawnattr_setsigmask(&attr_, &none);
        ::posix_spawnattr_setsigdefault(&attr_, &defaults);
        ::posix_spawnattr_setflags(
            &attr_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() {
        if (ok_) ::posix_spawnattr_destroy(&attr_);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    bool ok() const { return ok_; }
    const posix_spawnattr_t* get() const { return &attr_; }

private:
    posix_spawnattr_t attr_{};
    bool ok_ = false;
};

// Runs argv[0] (searched on PATH when searchPath) with the arguments as they stand.
Status Spawn(const std::vector<std::string>& args, bool searchPath) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    SpawnAttributes attributes;
    if (!attributes.ok()) return ErrnoFailure("posix_spawnattr_init", ENOMEM);
    pid_t pid = 0;
    const int error = searchPath
        ? ::posix_spawnp(&pid, argv[0], nullptr, attributes.get(), argv.data(), environ)
        : ::posix_spawn(&pid, argv[0], nullptr, attributes.get(), argv.data(), environ);
    if (error != 0) return ErrnoFailure(searchPath ? "posix_spawnp" : "posix_spawn", error);
    ReapInBackground(pid);
    return Status::success();
}

// An absolute path: it cannot be taken for an option ("-x") and does not depend on the
// current folder of the started program.
Status AbsolutePath(const std::string& path, std::string& absolute) {
    std::error_code error;
    absolute = std::filesystem::absolute(path, error).string();
    if (error) return Status::failure("getcwd", error.message());
    return Status::success();
}

bool IsExecutableFile(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The absolute form of a path that names an existing file or folder.
Status ExistingAbsolutePath(const std::string& path, std::string& absolute) {
    if (path.empty()) return ErrnoFailure("stat", ENOENT);
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return ErrnoFailure("stat", errno);
    return AbsolutePath(path, absolute);
}

}  // namespace

PosixProcessStarter::PosixProcessStarter(std::string opener) : opener_(std::move(opener)) {}

Status PosixProcessStarter::startFile(const std::string& path) {
    std::string absolute;
    const Status found = ExistingAbsolutePath(path, absolute);
    if (!found) return found;
    if (IsExecutableFile(absolute) && Spawn({absolute}, false)) return Status::success();
    return openDocument(absolute);
}

Status PosixProcessStarter::openDocument(const std::string& path) {
    std::string absolute;
    const Status found = ExistingAbsolutePath(path, absolute);
    if (!found) return found;
    return Spawn({opener_, absolute}, true);
}

}  // namespace zs
