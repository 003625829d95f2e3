// Runs the editor's CODE-line check and line information over random text lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/app_state.h"
#include "model/code_lines.h"
#include "model/step_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines = zs::SplitLines(content);
    const std::size_t count = lines.size();
    const zs::CodeLineCheck check = zs::CheckCodeLines(lines, "user  -  01.01.2026 00:00");
    if (lines.size() != (count < 2 ? 2 : count) || lines[0] != zs::kFileVersionLine) std::abort();
    if (check.ok != check.message.empty()) std::abort();
    for (int i = -1; i <= static_cast<int>(lines.size()); ++i) {
        const zs::LineInformation info = zs::LineInfo(lines, i);
        if (i >= 3 && info.line1.rfind("CODE Line: ", 0) != 0) std::abort();
    }
    return 0;
}
