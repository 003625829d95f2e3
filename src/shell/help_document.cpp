#include "shell/help_document.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "shell/shell.h"

namespace zs {

HelpWrite WriteHelpDocumentIfMissing(const std::string& path, std::string_view data) {
    if (FileExists(path)) return HelpWrite::AlreadyThere;
    bool ok = false;
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
        if (!out) return HelpWrite::Failed;
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.close();
        ok = !out.fail();
    }
    if (ok) return HelpWrite::Written;
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(path), ignored);
    return HelpWrite::Failed;
}

}  // namespace zs
