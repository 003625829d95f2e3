// Writing the step list as step file text: the header lines and one CODE line per step.
#include <charconv>

#include "model/app_state.h"
#include "model/numbers.h"
#include "model/step_file.h"

namespace zs {
namespace {

// A line end inside a text would split the record into two lines, and the second could be read
// back as a step of its own; it is written as a blank instead.
void AppendText(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out.append(text);
    for (std::size_t i = start; i < out.size(); ++i)
        if (out[i] == '\n') out[i] = ' ';
}

void AppendNumber(std::string& out, std::int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendField(std::string& out, const Step& step, StepField kind) {
    switch (kind) {
    case StepField::ClickType: AppendText(out, step.ClickType); break;
    case StepField::MouseX: AppendNumber(out, step.MouseX); break;
    case StepField::MouseY: AppendNumber(out, step.MouseY); break;
    case StepField::KeyboardType: AppendText(out, step.KeyboardType); break;
    case StepField::KeyText:
        AppendText(out, step.KeyboardType == "String" ? step.TypedText : step.KeyToken);
        break;
    case StepField::DelaySeconds: out += FormatDelay(step.DelaySeconds); break;
    case StepField::LoopFromStep: AppendNumber(out, step.LoopFromStep); break;
    case StepField::LoopRepetitions: AppendNumber(out, step.LoopRepetitions); break;
    case StepField::ComPort: AppendText(out, step.ComPort); break;
    case StepField::ComType: AppendText(out, step.ComType); break;
    case StepField::Telegram: AppendText(out, step.Telegram); break;
    case StepField::JumpToStep: AppendNumber(out, step.JumpToStep); break;
    case StepField::StateText: AppendText(out, step.StateText); break;
    case StepField::ExecuteFile: AppendText(out, step.ExecuteFile); break;
    case StepField::MessageText: AppendText(out, step.MessageText); break;
    }
}

// Appends the step's CODE line (without line end); false, appending nothing, for an unknown type.
bool AppendCodeLine(std::string& out, const Step& step) {
    const StepTypeInfo* type = FindStepType(step.RECORDtype);
    if (type == nullptr) return false;
    AppendNumber(out, type->number);
    for (int i = 0; i < type->fieldCount; ++i) {
        out += ';';
        AppendField(out, step, type->fields[i]);
    }
    out += ';';
    AppendText(out, step.Description);
    return true;
}

void AppendLine(std::string& out, std::string_view line) {
    AppendText(out, line);
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
