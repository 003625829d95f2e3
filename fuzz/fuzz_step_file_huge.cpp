// The reader on huge inputs: the fuzzer's bytes repeated to about 1 MB after a valid header, so
// that millions of lines, NUL bytes and long lines are all seen. Whatever the outcome, at most ten
// notices are kept, the step list never holds more steps than lines were read, and a refused text keeps the
// program as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/app_state.h"
#include "model/step_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string content = std::string(zs::kFileVersionLine) + "\r\nu\r\ni\r\n";
    const std::size_t wanted = std::size_t{1} << 20;
    while (size > 0 && content.size() < wanted) content.append(reinterpret_cast<const char*>(data), size);
    zs::RList list;
    zs::MakeNewProgram(list);
    list.at(0).Description = "kept";
    std::string info = "old";
    const zs::LoadResult result = zs::ParseStepFile(content, list, info);
    Require(result.notices.size() <= zs::kMaxShownNotices);
    Require(result.unknownLineCount >= result.notices.size());
    if (result.outcome != zs::LoadOutcome::Loaded) {
        Require(list.size() == 1 && list.at(0).Description == "kept" && info == "old");
        return 0;
    }
    Require(static_cast<std::size_t>(list.size()) <= content.size());
    return 0;
}
