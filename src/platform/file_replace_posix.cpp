// WriteFileReplacing on POSIX systems.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <string>

#include "platform/file_replace.h"
#include "platform/posix/unique_fd.h"

namespace zs {
namespace {

using posix::UniqueFd;

// The file a save replaces: the path itself, or the file that its symbolic links lead to.
// False for a link that leads nowhere, which must not be replaced by a plain file.
bool ResolveTarget(const std::string& path, std::string& target) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        target = path;
        return true;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return false;
    target = resolved;
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new file next to the target that no file had, e.g. "prog.stp.~3f2a1.tmp", opened for
// writing; -1 when none could be made.
int CreateTemporary(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned long> counter{0};
    const auto seed = static_cast<unsigned long>(::getpid()) * 7919UL;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + ".~" + std::to_string((seed + counter++) % 1000000007UL) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The existing file as the user may use it: opened for writing, as the user could open it, which
// checks permissions, access lists and read-only mounts alike. A file without any write
// permission bit is refused even where the user could still write it (root).
struct ExistingTarget {
    bool exists = false;
    UniqueFd fd;
    struct stat info {};
};

bool OpenExisting(const std::string& target, ExistingTarget& existing) {
    // Non-blocking, so that a named pipe without a reader fails at once instead of hanging.
    existing.fd = UniqueFd(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!existing.fd.valid()) return errno == ENOENT;  // a new file
    existing.exists = true;
    if (::fstat(existing.fd.get(), &existing.info) != 0 || !S_ISREG(existing.info.st_mode))
        return false;
    return (existing.info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// The replaced file's owner, group and permissions go to its successor. Changing the owner takes
// privileges most users lack, and then the group alone is tried; neither failure stops the save.
void TakeOverAttributes(int fd, const struct stat& old) {
    const bool ownerAndGroup = ::fchown(fd, old.st_uid, old.st_gid) == 0;
    const bool group = ownerAndGroup || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
    static_cast<void>(group);  // without the privilege the new file stays the user's own
    ::fchmod(fd, old.st_mode & 07777);
}

// The full content on disk in a new temporary file; false (and the file removed) on any failure.
bool WriteTemporary(const std::string& target, const ExistingTarget& existing,
                    std::string_view content, std::string& temporary) {
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) return false;
    if (existing.exists) TakeOverAttributes(fd, existing.info);
    bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written) ::unlink(temporary.c_str());
    return written;
}

// A file with other hard links is overwritten through its open descriptor, so that the other names
// see the new content too. The complete temporary copy stays on disk until then: should the write
// in place fail, that copy is renamed over the file instead, breaking the link rather than the
// content.
bool WriteInPlace(const ExistingTarget& existing, std::string_view content) {
    const int fd = existing.fd.get();
    if (::lseek(fd, 0, SEEK_SET) != 0) return false;
    return WriteAll(fd, content) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
           ::fsync(fd) == 0;
}

// Makes the rename itself durable. A failure here cannot leave a partial file (the folder holds
// either the old or the new complete file), so it does not fail the save.
void SyncFolder(const std::string& folder) {
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view content) {
    std::string target;
    if (path.empty() || path.back() == '/' || !ResolveTarget(path, target)) return false;
    ExistingTarget existing;
    if (!OpenExisting(target, existing)) return false;
    std::string temporary;
    if (!WriteTemporary(target, existing, content, temporary)) return false;
    if (existing.exists && existing.info.st_nlink > 1 && WriteInPlace(existing, content)) {
        ::unlink(temporary.c_str());
        return true;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

}  // namespace zs

#endif  // _WIN32
