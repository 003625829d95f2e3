// The editor's CODE-line check and the information texts for the line under the cursor.
#include "model/code_lines.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "model/app_state.h"
#include "model/numbers.h"
#include "model/text_fields.h"

namespace zs {
namespace {

// How a CODE line failed, each with its own message.
enum class LineFault { None, Count, Value, Range, UnknownType };

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

// Range check of a coordinate: below 1 is refused, but exactly "0" is accepted.
bool CoordinateFails(std::string_view field) { return ReadInteger(field) < 1 && field != "0"; }

bool NumberBelowOne(std::string_view field) { return ReadInteger(field) < 1; }

// The value checks of a line whose separator count is right; fields[0] is the type number.
LineFault CheckValues(char type, const std::array<std::string_view, 5>& fields) {
    switch (type) {
    case '1':
        if (!IsOneOf(fields[1], {"L_Click", "Ldbl_Click", "R_Click", "M_Click"}))
            return LineFault::Value;
        if (CoordinateFails(fields[2]) || CoordinateFails(fields[3])) return LineFault::Range;
        return LineFault::None;
    case '2':
        return IsOneOf(fields[1], {"String", "Key"}) ? LineFault::None : LineFault::Value;
    case '3':
        // Compared as the delay is stored, so "0.1" passes; "0,1" reads 0 as the loader would.
        return ReadFileDelay(fields[1]) < 0.1f ? LineFault::Range : LineFault::None;
    case '4':
        return NumberBelowOne(fields[1]) || NumberBelowOne(fields[2]) ? LineFault::Range
                                                                      : LineFault::None;
    case '5':
        if (fields[1].substr(0, 3) != "COM") return LineFault::Range;
        if (!IsOneOf(fields[2], {"Initialise", "Hex", "Byte", "String"})) return LineFault::Value;
        return fields[3].empty() ? LineFault::Value : LineFault::None;
    case '6':
        return NumberBelowOne(fields[1]) ? LineFault::Range : LineFault::None;
    case '8':
        return fields[1].empty() ? LineFault::Value : LineFault::None;
    default:  // 7 and 9 take any text
        return LineFault::None;
    }
}

LineFault CheckCodeLine(std::string_view line) {
    const std::string_view first = FirstField(line);
    if (!first.empty() && first[0] == '\'') return LineFault::None;
    if (first.size() != 1) return LineFault::UnknownType;
    const StepTypeInfo* type = FindStepType(first[0] - '0');
    if (type == nullptr) return LineFault::UnknownType;
    const auto separators = std::count(line.begin(), line.end(), ';');
    if (separators != type->fieldCount + 1) return LineFault::Count;
    std::array<std::string_view, 5> fields;
    FieldCursor cursor(line);
    for (auto& field : fields) field = cursor.next();
    return CheckValues(first[0], fields);
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
    if (line.empty()) return info;
    if (const StepTypeInfo* type = FindStepType(line[0] - '0')) {
        info.line2 = type->upperName;
        info.line3 = type->codePattern;
    }
    return info;
}

}  // namespace zs
