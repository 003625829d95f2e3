// The ".stp" step file: three header lines, then one CODE line per step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/rlist.h"
#include "platform/system.h"

namespace zs {

enum class LoadOutcome { Loaded, NotOpened, WrongVersion };

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    // One "Unknown recordtype: " + field 1 text per skipped line, in file order.
    std::vector<std::string> notices;
};

// The header line 2: user + "  -  " + "dd.mm.yyyy hh:ii".
std::string UserDateLine(const std::string& userName, const LocalTime& time);

// The text lines of a file, split at LF with a CR before it removed; bytes kept as they are.
std::vector<std::string> SplitLines(std::string_view content);

// Reads the step file at path into list and fileInformationLine. On NotOpened or WrongVersion
// neither is touched. A valid file without steps yields a new program (one Delay step of 0.5 s).
LoadResult LoadStepFile(const std::string& path, RList& list, std::string& fileInformationLine);
// The same over a file's content already in memory.
LoadResult ParseStepFile(std::string_view content, RList& list, std::string& fileInformationLine);

// The CODE line of one step; "" for an unknown RECORDtype.
std::string CodeLine(const Step& step);

struct StepFileText {
    std::string text;                 // the whole file, CR LF line ends
    std::vector<int> unknownTypes;    // RECORDtype of each step written as an empty line
};
StepFileText WriteStepFileText(const RList& list, const std::string& userDateLine,
                               const std::string& fileInformationLine);

// Writes content to path through a temporary file in the same folder renamed over the old file.
// On any failure the old file is untouched and false is returned.
bool WriteFileReplacing(const std::string& path, std::string_view content);

// The Save as rule: ".stp" is appended unless the last four characters are exactly ".stp".
std::string WithStpExtension(const std::string& path);

// The part of a path after its last "/" or "\".
std::string FilePart(const std::string& path);

}  // namespace zs
