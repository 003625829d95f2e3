// The step types as one table: a row per type with its number, its names, the fields of its CODE
// line, the fields it uses and the value check of the text editor. The reader, writer, checker,
// editor and player all walk this table; each of their own per-type tables has one row per row
// here, in the same order, which the compiler checks against kStepTypeCount.
#pragma once

#include <span>
#include <string_view>

#include "model/step.h"
#include "model/step_fields.h"

namespace zs {

// How a CODE line failed the check, each with its own message.
enum class LineFault { None, Count, Value, Range, UnknownType };

// The value check of a CODE line whose field count is right: its fields between the type number
// and Description.
using CodeCheck = LineFault (*)(std::span<const std::string_view> fields);

struct StepTypeInfo {
    int number;                    // RECORDtype and the CODE line's first field
    std::string_view displayName;  // text of the step-type combo, e.g. "1 Mouse"
    std::string_view upperName;    // name in the editor's line information, e.g. "MOUSE"
    std::span<const FieldInfo* const> codeFields;  // between the type number and Description
    std::span<const FieldInfo* const> usedFields;  // every field the type uses, in record order
    std::string_view codePattern;  // the CODE-line pattern of the line information
    CodeCheck check;
};

inline constexpr int kStepTypeCount = 12;
// The types that other steps or the editor look for by their number.
inline constexpr int kMouseStepType = 1, kWindowStepType = 10, kWaitStepType = 11,
                     kQueryStepType = 12;
// The most fields a type's CODE line holds between its number and Description.
inline constexpr std::size_t kMostCodeFields = 7;

// The rows, in RECORDtype order 1 to kStepTypeCount.
std::span<const StepTypeInfo, kStepTypeCount> StepTypes();

// The row of a step type, or nullptr for a number that is no type.
const StepTypeInfo* FindStepType(int number);
// The row whose display name is exactly `name`, or nullptr.
const StepTypeInfo* FindStepTypeByDisplayName(std::string_view name);
// The row whose number is exactly the decimal text `text` ("1", "10"; not "01" or "1 "), or
// nullptr. Every reader of a type number in a text goes through here.
const StepTypeInfo* ParseStepType(std::string_view text);

// The position of a type's row in every per-type table.
inline std::size_t RowOf(const StepTypeInfo& type) {
    return static_cast<std::size_t>(type.number - 1);
}

}  // namespace zs
