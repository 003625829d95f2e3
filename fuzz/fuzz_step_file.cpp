// Reads random text as a step file, writes the steps back and reads that again: the second
// reading must give the same steps, and writing them must give the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/step_fields.h"
#include "model/step_file.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    zs::RList list;
    std::string info;
    const zs::LoadResult first = zs::ParseStepFile(content, list, info);
    if (first.outcome != zs::LoadOutcome::Loaded) return 0;
    Require(list.size() >= 1 && list.index() == 0);

    const zs::StepFileText written = zs::WriteStepFileText(list, "user  -  01.01.2026 00:00", info);
    Require(written.unknownTypes.empty());
    zs::RList again;
    std::string infoAgain;
    const zs::LoadResult second = zs::ParseStepFile(written.text, again, infoAgain);
    Require(second.outcome == zs::LoadOutcome::Loaded && second.notices.empty());
    Require(again.size() == list.size() && infoAgain == info);

    // Seconds (delays, time-outs) are rounded to one decimal by the first writing, an infinite
    // one written as the largest float; after that the text is stable.
    const zs::StepFileText rewritten = zs::WriteStepFileText(again, "user  -  01.01.2026 00:00", infoAgain);
    Require(rewritten.text == written.text);
    for (long i = 0; i < list.size(); ++i) {
        zs::Step expected = list.at(i);
        for (const zs::FieldInfo* field : zs::field::kRecord)
            if (field->kind == zs::FieldKind::Seconds)
                expected.*field->seconds = again.at(i).*field->seconds;
        Require(expected == again.at(i));
    }
    return 0;
}
