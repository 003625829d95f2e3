// Writing the step list as step file text: the header lines and one CODE line per step.
#include "model/app_state.h"
#include "model/step_file.h"
#include "model/step_types.h"

namespace zs {
namespace {

// Appends the step's CODE line (without line end); false, appending nothing, for an unknown type.
bool AppendCodeLine(std::string& out, const Step& step) {
    const StepTypeInfo* type = FindStepType(step.RECORDtype);
    if (type == nullptr) return false;
    out += std::to_string(type->number);
    for (const FieldInfo* field : type->codeFields) {
        out += ';';
        AppendField(out, step, *field);
    }
    out += ';';
    AppendField(out, step, field::kDescription);
    return true;
}

void AppendLine(std::string& out, std::string_view line) {
    AppendOneLine(out, line);
    out += "\r\n";
}

}  // namespace

std::string CodeLine(const Step& step) {
    std::string line;
    AppendCodeLine(line, step);
    return line;
}

StepFileText WriteStepFileText(const RList& list, const std::string& userDateLine,
                               const std::string& fileInformationLine) {
    StepFileText file;
    file.text.reserve(64 + static_cast<std::size_t>(list.size()) * 40);
    AppendLine(file.text, kFileVersionLine);
    AppendLine(file.text, userDateLine);
    AppendLine(file.text, fileInformationLine);
    for (const Step& step : list.steps()) {
        if (!AppendCodeLine(file.text, step)) file.unknownTypes.push_back(step.RECORDtype);
        file.text += "\r\n";
    }
    return file;
}

}  // namespace zs
