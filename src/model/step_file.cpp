// Reading a step file's text into the step list.
#include "model/step_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "model/app_state.h"
#include "model/numbers.h"
#include "model/text_fields.h"

namespace zs {
namespace {

std::string ZeroPadded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

void AssignField(Step& step, StepField kind, std::string_view text) {
    switch (kind) {
    case StepField::ClickType: step.ClickType = text; break;
    case StepField::MouseX: step.MouseX = ReadInteger(text); break;
    case StepField::MouseY: step.MouseY = ReadInteger(text); break;
    case StepField::KeyboardType: step.KeyboardType = text; break;
    case StepField::KeyText:
        (step.KeyboardType == "String" ? step.TypedText : step.KeyToken) = text;
        break;
    case StepField::DelaySeconds: step.DelaySeconds = ReadFileDelay(text); break;
    case StepField::LoopFromStep: step.LoopFromStep = ReadInteger(text); break;
    case StepField::LoopRepetitions: step.LoopRepetitions = ReadInteger(text); break;
    case StepField::ComPort: step.ComPort = text; break;
    case StepField::ComType: step.ComType = text; break;
    case StepField::Telegram: step.Telegram = text; break;
    case StepField::JumpToStep: step.JumpToStep = ReadInteger(text); break;
    case StepField::StateText: step.StateText = text; break;
    case StepField::ExecuteFile: step.ExecuteFile = text; break;
    case StepField::MessageText: step.MessageText = text; break;
    }
}

// The step type a CODE line's first field names: exactly one digit 1 to 9.
const StepTypeInfo* TypeOfField(std::string_view field) {
    if (field.size() != 1) return nullptr;
    return FindStepType(field[0] - '0');
}

// Fills a new step from a CODE line of a known type: fields by position, missing ones "" or 0.
void AppendStep(RList& list, const StepTypeInfo& type, std::string_view line) {
    FieldCursor fields(line);
    fields.next();  // the type number
    Step& step = list.add();
    step.RECORDtype = type.number;
    for (int i = 0; i < type.fieldCount; ++i) AssignField(step, type.fields[i], fields.next());
    step.Description = fields.next();
}

// Reads the CODE lines that follow the header into list, which is emptied first.
void ReadCodeLines(LineCursor& lines, std::size_t lineCount, RList& list, LoadResult& result) {
    list.clear();
    list.reserve(static_cast<long>(lineCount));
    std::string_view line;
    while (lines.next(line)) {
        if (line.empty()) continue;
        const std::string_view first = FirstField(line);
        if (const StepTypeInfo* type = TypeOfField(first)) {
            AppendStep(list, *type, line);
        } else if (first.empty() || first[0] != '\'') {
            result.notices.push_back("Unknown recordtype: " + std::string(first));
        }
    }
    if (list.empty()) MakeNewProgram(list);
    list.first();
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    try {
        const std::filesystem::path file(path);
        std::error_code error;
        if (std::filesystem::is_directory(file, error)) return false;
        std::ifstream in(file, std::ios::binary);
        if (!in) return false;
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        if (size < 0) return false;
        in.seekg(0, std::ios::beg);
        content.resize(static_cast<std::size_t>(size));
        in.read(content.data(), size);
        content.resize(static_cast<std::size_t>(in.gcount()));
        return !in.bad();
    } catch (...) {
        return false;
    }
}

}  // namespace

std::string UserDateLine(const std::string& userName, const LocalTime& time) {
    return userName + "  -  " + ZeroPadded(time.day, 2) + "." + ZeroPadded(time.month, 2) + "." +
           ZeroPadded(time.year, 4) + " " + ZeroPadded(time.hour, 2) + ":" +
           ZeroPadded(time.minute, 2);
}

std::vector<std::string> SplitLines(std::string_view content) {
    std::vector<std::string> result;
    LineCursor lines(content);
    std::string_view line;
    while (lines.next(line)) result.emplace_back(line);
    return result;
}

// A text shorter than three lines is read with the missing header lines empty; only a missing or
// different version line refuses it.
LoadResult ParseStepFile(std::string_view content, RList& list, std::string& fileInformationLine) {
    LoadResult result;
    LineCursor lines(content);
    std::string_view versionLine, userDateLine, informationLine;
    if (!lines.next(versionLine) || versionLine != kFileVersionLine) {
        result.outcome = LoadOutcome::WrongVersion;
        return result;
    }
    lines.next(userDateLine);
    lines.next(informationLine);
    fileInformationLine = informationLine;
    const auto lineEnds = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
    ReadCodeLines(lines, lineEnds, list, result);
    return result;
}

LoadResult LoadStepFile(const std::string& path, RList& list, std::string& fileInformationLine) {
    std::string content;
    if (!ReadWholeFile(path, content)) {
        LoadResult result;
        result.outcome = LoadOutcome::NotOpened;
        return result;
    }
    return ParseStepFile(content, list, fileInformationLine);
}

}  // namespace zs
