// Reading, writing and clearing a record field by its kind.
#include "model/step_fields.h"

#include <charconv>

#include "model/numbers.h"

namespace zs {

void ReadField(Step& step, const FieldInfo& info, std::string_view text) {
    switch (info.kind) {
        case FieldKind::Text: TextOf(step, info) = text; break;
        case FieldKind::Integer: step.*info.integer = ReadInteger(text); break;
        case FieldKind::Seconds: step.*info.seconds = ReadFileDelay(text); break;
    }
}

void AppendOneLine(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out.append(text);
    for (std::size_t i = start; i < out.size(); ++i)
        if (out[i] == '\n') out[i] = ' ';
}

void AppendField(std::string& out, const Step& step, const FieldInfo& info) {
    switch (info.kind) {
        case FieldKind::Text: AppendOneLine(out, TextOf(step, info)); break;
        case FieldKind::Integer: {
            char buffer[16];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, step.*info.integer);
            out.append(buffer, result.ptr);
            break;
        }
        case FieldKind::Seconds: out += FormatDelay(step.*info.seconds); break;
    }
}

void ClearField(Step& step, const FieldInfo& info) {
    switch (info.kind) {
        case FieldKind::Text: TextOf(step, info).clear(); break;
        case FieldKind::Integer: step.*info.integer = 0; break;
        case FieldKind::Seconds: step.*info.seconds = 0.0f; break;
    }
}

}  // namespace zs
