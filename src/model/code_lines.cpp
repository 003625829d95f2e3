// The editor's CODE-line check and the information texts for the line under the cursor.
#include "model/code_lines.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "model/app_state.h"
#include "model/step_types.h"
#include "model/text_fields.h"

namespace zs {
namespace {

LineFault CheckCodeLine(std::string_view line) {
    const std::string_view first = FirstField(line);
    if (!first.empty() && first[0] == '\'') return LineFault::None;
    const StepTypeInfo* type = ParseStepType(first);
    if (type == nullptr) return LineFault::UnknownType;
    const auto separators = std::count(line.begin(), line.end(), ';');
    if (separators != static_cast<long>(type->codeFields.size()) + 1) return LineFault::Count;
    std::array<std::string_view, kMostCodeFields> fields;
    FieldCursor cursor(line);
    cursor.next();  // the type number
    for (std::size_t i = 0; i < type->codeFields.size(); ++i) fields[i] = cursor.next();
    return type->check(std::span(fields.data(), type->codeFields.size()));
}

std::string FaultMessage(LineFault fault, std::size_t codeLineNumber) {
    const char* text = "";
    switch (fault) {
    case LineFault::Count: text = "Wrong count of values in CODE line "; break;
    case LineFault::Value: text = "Wrong recordvalues in CODE line "; break;
    case LineFault::Range: text = "Wrong Recordvalues in CODE line "; break;
    case LineFault::UnknownType: text = "Unknown Recordtype in CODE line "; break;
    case LineFault::None: break;
    }
    return text + std::to_string(codeLineNumber);
}

}  // namespace

CodeLineCheck CheckCodeLines(std::vector<std::string>& lines, const std::string& userDateLine) {
    if (lines.size() < 2) lines.resize(2);
    lines[0] = kFileVersionLine;
    lines[1] = userDateLine;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const LineFault fault = CheckCodeLine(lines[i]);
        if (fault != LineFault::None) return {false, FaultMessage(fault, i - 2)};
    }
    return {};
}

LineInformation LineInfo(const std::vector<std::string>& lines, int cursorLine) {
    switch (cursorLine) {
    case 0: return {"File-Version", "", ""};
    case 1: return {"User  -  Date (dd.mm.yyyy hh:mm)", "", ""};
    case 2: return {"File-Information", "", ""};
    default: break;
    }
    if (cursorLine < 0) return {};
    LineInformation info{"CODE Line: " + std::to_string(cursorLine - 2), "UNKNOWN", ""};
    const auto index = static_cast<std::size_t>(cursorLine);
    const std::string_view line = index < lines.size() ? lines[index] : std::string_view();
    // The type the line's first field names; a line that names none is shown by its first
    // character, as a line being typed is.
    const StepTypeInfo* type = ParseStepType(FirstField(line));
    if (type == nullptr && !line.empty()) type = ParseStepType(line.substr(0, 1));
    if (type != nullptr) {
        info.line2 = type->upperName;
        info.line3 = type->codePattern;
    }
    return info;
}

}  // namespace zs
