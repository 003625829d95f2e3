// Reading a step file's text into the step list.
#include "model/step_file.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <utility>

#include "model/app_state.h"
#include "model/step_types.h"
#include "model/text_fields.h"

namespace zs {
namespace {

std::string ZeroPadded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

// Fills a new step from a CODE line of a known type: fields by position, missing ones "" or 0.
void AppendStep(RList& list, const StepTypeInfo& type, std::string_view line) {
    FieldCursor fields(line);
    fields.next();  // the type number
    Step& step = list.add();
    step.RECORDtype = type.number;
    for (const FieldInfo* field : type.codeFields) ReadField(step, *field, fields.next());
    step.Description = fields.next();
}

// Reads the CODE lines that follow the header into list, which is emptied first. Nothing is
// reserved ahead: a file of millions of blank or comment lines must not cost a step each.
void ReadCodeLines(LineCursor& lines, RList& list, LoadResult& result) {
    list.clear();
    std::string_view line;
    while (lines.next(line)) {
        if (line.empty()) continue;
        const std::string_view first = FirstField(line);
        if (const StepTypeInfo* type = ParseStepType(first)) {
            AppendStep(list, *type, line);
        } else if (first.empty() || first[0] != '\'') {
            if (result.notices.size() < kMaxShownNotices)
                result.notices.push_back("Unknown recordtype: " + std::string(first));
            ++result.unknownLineCount;
        }
    }
    if (list.empty()) MakeNewProgram(list);
    list.first();
}

// The 1-based number of the first line holding a NUL byte, 0 when there is none.
std::size_t FirstLineWithNul(std::string_view content) {
    if (content.find('\0') == std::string_view::npos) return 0;
    LineCursor lines(content);
    std::string_view line;
    for (std::size_t number = 1; lines.next(line); ++number)
        if (line.find('\0') != std::string_view::npos) return number;
    return 0;
}

LoadResult Failure(LoadOutcome outcome, std::size_t nulByteLine = 0) {
    LoadResult result;
    result.outcome = outcome;
    result.nulByteLine = nulByteLine;
    return result;
}

// Reads a whole file; a folder or an unreadable file gives false. Out of memory throws.
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
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return false;
    }
}

LoadResult ParseNewStepFile(std::string_view content, RList& list,
                            std::string& fileInformationLine) {
    // The version check comes first: a UTF-16 or binary file is a file of another kind, whatever
    // bytes follow. A NUL byte further down refuses a step file that no gadget could show whole.
    LineCursor lines(content);
    std::string_view versionLine, userDateLine, informationLine;
    if (!lines.next(versionLine) || versionLine != kFileVersionLine)
        return Failure(LoadOutcome::WrongVersion);
    if (const std::size_t nulLine = FirstLineWithNul(content))
        return Failure(LoadOutcome::NulByte, nulLine);
    lines.next(userDateLine);
    lines.next(informationLine);
    LoadResult result;
    RList loaded;
    ReadCodeLines(lines, loaded, result);
    fileInformationLine = informationLine;
    list = std::move(loaded);
    return result;
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

std::string LoadFailureReason(const LoadResult& result) {
    switch (result.outcome) {
    case LoadOutcome::NulByte:
        return " (NUL byte in line " + std::to_string(result.nulByteLine) + ")";
    case LoadOutcome::OutOfMemory: return " (not enough memory)";
    default: return "";
    }
}

// A text shorter than three lines is read with the missing header lines empty; only a missing or
// different version line refuses it.
LoadResult ParseStepFile(std::string_view content, RList& list, std::string& fileInformationLine) {
    try {
        return ParseNewStepFile(content, list, fileInformationLine);
    } catch (const std::bad_alloc&) {
        return Failure(LoadOutcome::OutOfMemory);
    }
}

LoadResult LoadStepFile(const std::string& path, RList& list, std::string& fileInformationLine) {
    try {
        std::string content;
        if (!ReadWholeFile(path, content)) return Failure(LoadOutcome::NotOpened);
        return ParseNewStepFile(content, list, fileInformationLine);
    } catch (const std::bad_alloc&) {
        return Failure(LoadOutcome::OutOfMemory);
    }
}

LoadResult ReadFileLines(const std::string& path, std::vector<std::string>& lines) {
    try {
        std::string content;
        if (path.empty() || !ReadWholeFile(path, content)) return Failure(LoadOutcome::NotOpened);
        if (const std::size_t nulLine = FirstLineWithNul(content))
            return Failure(LoadOutcome::NulByte, nulLine);
        lines = SplitLines(content);
        return {};
    } catch (const std::bad_alloc&) {
        return Failure(LoadOutcome::OutOfMemory);
    }
}

}  // namespace zs
