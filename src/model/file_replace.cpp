// Replacing a file safely, and the path rules of the file commands.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "model/step_file.h"

namespace fs = std::filesystem;

namespace zs {
namespace {

// A name in the target's folder that no file has yet, e.g. "prog.stp.~3f2a1.tmp".
bool FreeTemporaryPath(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long long tag = (ticks ^ (ticks >> 29)) + counter++;
        temporary = target;
        temporary += ".~" + std::to_string(tag % 1000000007ULL) + ".tmp";
        std::error_code error;
        if (fs::symlink_status(temporary, error).type() == fs::file_type::not_found) return true;
    }
    return false;
}

bool WriteNewFile(const fs::path& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    const bool written = out.good();
    out.close();
    return written && !out.fail();
}

// Saving through a symbolic link replaces the file it points to, not the link.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
    const fs::path resolved = fs::canonical(path, error);
    return error ? path : resolved;
}

// Whether the target may be replaced: a folder never, and an existing file only when it is
// writable, so a file the user made read-only stays as it is.
bool MayReplace(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (!fs::exists(status)) return true;
    if (!fs::is_regular_file(status)) return false;
    return (status.permissions() & fs::perms::owner_write) != fs::perms::none;
}

bool ReplaceThroughTemporary(const fs::path& target, std::string_view content) {
    if (!MayReplace(target)) return false;
    fs::path temporary;
    if (!FreeTemporaryPath(target, temporary)) return false;
    std::error_code error;
    bool done = WriteNewFile(temporary, content);
    if (done && fs::exists(target, error))
        fs::permissions(temporary, fs::status(target, error).permissions(), error);
    if (done) {
        fs::rename(temporary, target, error);
        done = !error;
    }
    if (!done) fs::remove(temporary, error);
    return done;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view content) {
    try {
        return ReplaceThroughTemporary(ResolveTarget(fs::path(path)), content);
    } catch (...) {
        return false;
    }
}

std::string WithStpExtension(const std::string& path) {
    const bool hasExtension = path.size() >= 4 && path.compare(path.size() - 4, 4, ".stp") == 0;
    return hasExtension ? path : path + ".stp";
}

std::string FilePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace zs
