// WriteFileReplacing on Windows: the write-through replace that the system documents.
#ifdef _WIN32

#include <windows.h>

#include <atomic>
#include <string>

#include "platform/file_replace.h"

namespace zs {
namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    void reset(HANDLE handle) {
        close();
        handle_ = handle;
    }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk = content.size() > 0x40000000u ? 0x40000000u
                                                         : static_cast<DWORD>(content.size());
        DWORD written = 0;
        if (!WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0) return false;
        content.remove_prefix(written);
    }
    return true;
}

// The existing file opened for writing as the user could open it: a read-only file, an access
// list that denies writing or a folder all refuse the save.
struct ExistingTarget {
    bool exists = false;
    Handle file{INVALID_HANDLE_VALUE};
    DWORD links = 1;
};

bool OpenExisting(const std::string& target, ExistingTarget& existing) {
    existing.file.reset(CreateFileA(target.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing.file.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;  // a new file
    existing.exists = true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(existing.file.get(), &info)) return false;
    // Windows never opens a read-only file for writing; a server that still does (Wine run by
    // an administrator) must not make the save replace it either.
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
    existing.links = info.nNumberOfLinks;
    return true;
}

// A symbolic link is followed: the file it leads to is the one replaced, the link stays.
std::string ResolvedTarget(const std::string& path, const ExistingTarget& existing) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (!existing.exists || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    char final[MAX_PATH];
    const DWORD length = GetFinalPathNameByHandleA(existing.file.get(), final, MAX_PATH, 0);
    if (length == 0 || length >= MAX_PATH) return path;
    return final;
}

// The full content flushed to disk in a new file next to the target; removed again on failure.
bool WriteTemporary(const std::string& target, std::string_view content, std::string& temporary) {
    static std::atomic<unsigned long> counter{0};
    const unsigned long seed = GetCurrentProcessId() * 7919UL;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + ".~" + std::to_string((seed + counter++) % 1000000007UL) + ".tmp";
        Handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return false;
        }
        bool written = WriteAll(file.get(), content) && FlushFileBuffers(file.get());
        written = file.close() && written;
        if (!written) DeleteFileA(temporary.c_str());
        return written;
    }
    return false;
}

// A file with other hard links is overwritten through its handle, so every name keeps the same
// file; should that fail, the complete temporary copy replaces it instead.
bool WriteInPlace(const ExistingTarget& existing, std::string_view content) {
    HANDLE file = existing.file.get();
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && WriteAll(file, content) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view content) {
    if (path.empty() || path.back() == '\\' || path.back() == '/') return false;
    ExistingTarget existing;
    if (!OpenExisting(path, existing)) return false;
    const std::string target = ResolvedTarget(path, existing);
    std::string temporary;
    if (!WriteTemporary(target, content, temporary)) return false;
    if (existing.exists && existing.links > 1 && WriteInPlace(existing, content)) {
        DeleteFileA(temporary.c_str());
        return true;
    }
    existing.file.close();  // the replace needs the old file closed
    if (!MoveFileExA(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace zs

#endif  // _WIN32
