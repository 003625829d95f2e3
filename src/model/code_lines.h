// The CODE-line rules of the text editor: the check before writing, and the line information.
#pragma once

#include <string>
#include <vector>

namespace zs {

struct CodeLineCheck {
    bool ok = true;
    std::string message;  // e.g. "Wrong count of values in CODE line 3"; shown titled "Input"
};

// Rewrites lines 1 and 2 (the version line and userDateLine; missing lines are added), then
// checks every line from the 4th on; stops at the first invalid one.
CodeLineCheck CheckCodeLines(std::vector<std::string>& lines, const std::string& userDateLine);

struct LineInformation {
    std::string line1, line2, line3;
};

// The three information texts for the 0-based text line that holds the cursor.
LineInformation LineInfo(const std::vector<std::string>& lines, int cursorLine);

}  // namespace zs
