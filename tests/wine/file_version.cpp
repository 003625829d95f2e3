// Prints the version resource of a Windows program as Windows reads it (version.dll):
//   FileVersion=...  ProductVersion=...  (strings of the first translation)  Fixed=a.b.c.d
// Usage: zs_file_version PROGRAM.exe. Exit code 1 when the program has no version resource.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string StringValue(std::vector<char>& data, const char* name) {
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof *translation)
        return "";
    char path[96];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                  translation->codePage, name);
    char* value = nullptr;
    if (!VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&value), &size)) return "";
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zs_file_version PROGRAM.exe\n");
        return 2;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(argv[1], 0, size, data.data())) {
        std::fprintf(stderr, "no version resource in %s\n", argv[1]);
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize);
    std::printf("FileVersion=%s\n", StringValue(data, "FileVersion").c_str());
    std::printf("ProductVersion=%s\n", StringValue(data, "ProductVersion").c_str());
    if (fixed != nullptr)
        std::printf("Fixed=%u.%u.%u.%u\n", unsigned{HIWORD(fixed->dwFileVersionMS)},
                    unsigned{LOWORD(fixed->dwFileVersionMS)},
                    unsigned{HIWORD(fixed->dwFileVersionLS)},
                    unsigned{LOWORD(fixed->dwFileVersionLS)});
    return 0;
}
