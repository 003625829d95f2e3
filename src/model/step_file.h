// The ".stp" step file: three header lines, then one CODE line per step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/rlist.h"
#include "platform/file_replace.h"
#include "platform/system.h"

namespace zs {

// NulByte: the text holds a NUL byte, which no text gadget can show and give back whole.
// OutOfMemory: the file is too big for the memory there is.
enum class LoadOutcome { Loaded, NotOpened, WrongVersion, NulByte, OutOfMemory };

// Each notice holds the UI for 600 ms: a file full of foreign lines must not freeze it for minutes.
inline constexpr std::size_t kMaxShownNotices = 10;

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    // "Unknown recordtype: " + field 1 text of the first kMaxShownNotices skipped lines.
    std::vector<std::string> notices;
    std::size_t unknownLineCount = 0;  // every skipped line, shown or not
    std::size_t nulByteLine = 0;       // NulByte: the 1-based number of the first such line
};

// Why a file could not be read, to follow the message: "" for NotOpened and WrongVersion,
// else e.g. " (NUL byte in line 4)".
std::string LoadFailureReason(const LoadResult& result);

// The header line 2: user + "  -  " + "dd.mm.yyyy hh:ii".
std::string UserDateLine(const std::string& userName, const LocalTime& time);

// The text lines of a file, split as LineCursor does; bytes kept as they are.
std::vector<std::string> SplitLines(std::string_view content);

// The lines of the file at path for the text editor. Outcome Loaded, NotOpened (also for a
// folder), NulByte or OutOfMemory; lines is only changed when Loaded.
LoadResult ReadFileLines(const std::string& path, std::vector<std::string>& lines);

// Reads the step file at path into list and fileInformationLine. Unless Loaded, neither is
// touched: the file is read into a new list first, so a failure (memory too) keeps the program. A valid file without steps yields a new program (one Delay step of 0.5 s).
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

// The Save as rule: ".stp" is appended unless the last four characters are exactly ".stp".
std::string WithStpExtension(const std::string& path);

// The part of a path after its last "/" or "\".
std::string FilePart(const std::string& path);

// The folder part of a path up to and including its last "/" or "\"; "" without one.
std::string FolderPart(const std::string& path);

}  // namespace zs
