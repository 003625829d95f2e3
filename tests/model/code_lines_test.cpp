#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/app_state.h"
#include "model/code_lines.h"

namespace zs {
namespace {

// Checks a text whose 4th line is codeLine and returns the message ("" when accepted).
std::string CheckOne(const std::string& codeLine) {
    std::vector<std::string> lines = {kFileVersionLine, "u", "", codeLine};
    const CodeLineCheck check = CheckCodeLines(lines, "u");
    EXPECT_EQ(check.ok, check.message.empty()) << codeLine;
    return check.message;
}

const std::string kCount = "Wrong count of values in CODE line 1";
const std::string kValue = "Wrong recordvalues in CODE line 1";
const std::string kRange = "Wrong Recordvalues in CODE line 1";
const std::string kUnknown = "Unknown Recordtype in CODE line 1";

TEST(CodeLines, CheckTable) {
    const std::pair<std::string, std::string> cases[] = {
        {"1;L_Click;50;50;", ""},
        {"1;M_Click;1;1;desc", ""},
        {"1;L_Click;0;50;", ""},          // exactly "0" passes
        {"1;L_Click;00;50;", kRange},     // "00" reads 0 and is not exactly "0"
        {"1;L_Click;-5;50;", kRange},
        {"1;L_Click;50;x;", kRange},
        {"1;L_Click;50;;", kRange},
        {"1;l_click;50;50;", kValue},
        {"1;L_Click;-5;50;extra;", kCount},
        {"1;L_Click;50;50", kCount},
        {"1;", kCount},
        {"2;String;Hello;", ""},
        {"2;Key;{F2};save", ""},
        {"2;string;x;", kValue},
        {"2;Key;{F2}", kCount},
        {"3;0.1;", ""},
        {"3;0.05;", kRange},
        {"3;0,1;", kRange},               // reads 0, as the loader would
        {"3;abc;", kRange},
        {"3;2;", ""},
        {"3;0.5", kCount},
        {"4;1;10;", ""},
        {"4;0;10;", kRange},
        {"4;1;0;", kRange},
        {"4;1;4294967296;", ""},          // regression: wrapped to 0; the nearest value in range
        {"6;-2147483649;", kRange},       // regression: wrapped to 2147483647
        {"4;$1;%1;", ""},
        {"5;COM1;Initialise;9600 N 8 1;", ""},
        {"5;COMX;Byte;1;", ""},
        {"5;CO;Hex;1;", kRange},
        {"5;com1;Hex;1;", kRange},
        {"5;COM1;hex;1;", kValue},
        {"5;COM1;Hex;;", kValue},
        {"5;LPT1;hex;;", kRange},         // the range check comes first
        {"6;1;", ""},
        {"6;0;", kRange},
        {"7;;", ""},
        {"7;any text;", ""},
        {"8;prog.exe;", ""},
        {"8;;", kValue},
        {"9;;", ""},
        {"9;a;b;", kCount},
        {"' comment; with ; any ; count", ""},
        {"'", ""},
        {"", kUnknown},
        {";", kUnknown},
        {" 1;L_Click;50;50;", kUnknown},
        {"01;L_Click;50;50;", kUnknown},
        {"0;;", kUnknown},
        {"13;;", kUnknown},
        {"010;Screen;;0;0;", kUnknown},
        {"10 ;Screen;;0;0;", kUnknown},
        {"10;Activate;Untitled - Notepad;5.0;0;", ""},
        {"10;Screen;;0.0;0;", ""},  // only a Screen step may leave the title empty
        {"10;Wait;;5.0;0;", kValue},
        {"10;Raise;x;5.0;0;", kValue},
        {"10;WaitClose;x;86400.0;7;", ""},
        {"10;WaitClose;x;86400.5;7;", kRange},
        {"10;Activate;x;-1;0;", kRange},
        {"10;Activate;x;1;-1;", kRange},
        {"10;Activate;x;1;0", kCount},
        {"11;Color;120;45;#33AA00;8;30.0;0;green lamp", ""},
        {"11;NotColor;0;0;#33aa00;255;0;2;", ""},
        {"11;Colour;0;0;#33AA00;8;1;0;", kValue},
        {"11;Color;-1;0;#33AA00;8;1;0;", kRange},
        {"11;Color;0;0;33AA00;8;1;0;", kValue},
        {"11;Color;0;0;#33AA0G;8;1;0;", kValue},
        {"11;Color;0;0;#33AA00;256;1;0;", kRange},
        {"11;Color;0;0;#33AA00;8;1;-3;", kRange},
        {std::string("\0;;", 3), kUnknown},
        {"\xff;;", kUnknown},
    };
    for (const auto& [line, message] : cases) EXPECT_EQ(CheckOne(line), message) << '"' << line << '"';
}

TEST(CodeLines, HeaderLinesRewrittenAndLineThreeNeverChecked) {
    std::vector<std::string> lines = {"old version", "old user", "1;garbage"};
    EXPECT_TRUE(CheckCodeLines(lines, "anna  -  07.12.2026 08:47").ok);
    EXPECT_EQ(lines, (std::vector<std::string>{kFileVersionLine, "anna  -  07.12.2026 08:47", "1;garbage"}));
    std::vector<std::string> empty;
    EXPECT_TRUE(CheckCodeLines(empty, "u").ok);
    EXPECT_EQ(empty, (std::vector<std::string>{kFileVersionLine, "u"}));
}

TEST(CodeLines, StopsAtTheFirstInvalidLineAndCountsCodeLinesFromTheFourthLine) {
    std::vector<std::string> lines = {"v", "u", "i", "1;L_Click;50;50;", "", "9;;x;y"};
    const CodeLineCheck check = CheckCodeLines(lines, "u");
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.message, "Unknown Recordtype in CODE line 2");
    EXPECT_EQ(lines[0], kFileVersionLine);  // the header is refreshed even when the check fails
}

TEST(CodeLines, LineInformationTable) {
    const std::vector<std::string> lines = {
        "v", "u", "i", "1;x", "2", "3", "4", "5", "6", "7", "8", "9", "", "x", "0", "'c",
        "10;Activate", "11;", "13;", "1x;"};
    const std::vector<LineInformation> expected = {
        {"File-Version", "", ""},
        {"User  -  Date (dd.mm.yyyy hh:mm)", "", ""},
        {"File-Information", "", ""},
        {"CODE Line: 1", "MOUSE", "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks"},
        {"CODE Line: 2", "KEYBOARD", "2;String/Key;MyString/{F2};Rermarks"},
        {"CODE Line: 3", "DELAY", "3;Time;Remarks"},
        {"CODE Line: 4", "LOOP", "4;FromStepNo;Repetitions;Remarks"},
        {"CODE Line: 5", "COMPORT", "5;COM1;Initialise;9600 N 8 1;Remarks"},
        {"CODE Line: 6", "JUMP", "6;ToStepNo;Remarks"},
        {"CODE Line: 7", "STATE", "7;MyStateText;Remarks"},
        {"CODE Line: 8", "EXECUTE", "8;Filepath;Remarks"},
        {"CODE Line: 9", "MESSAGE", "9;MyMessageText;Remarks"},
        {"CODE Line: 10", "UNKNOWN", ""},
        {"CODE Line: 11", "UNKNOWN", ""},
        {"CODE Line: 12", "UNKNOWN", ""},
        {"CODE Line: 13", "UNKNOWN", ""},
        {"CODE Line: 14", "WINDOW", "10;Activate/Wait/WaitClose/Screen;Title;Timeout;OnFailStep;Remarks"},
        {"CODE Line: 15", "WAIT", "11;Color/NotColor;X;Y;#RRGGBB;Tolerance;Timeout;OnFailStep;Remarks"},
        {"CODE Line: 16", "MOUSE", "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks"},  // "1..."
        {"CODE Line: 17", "MOUSE", "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks"},
        {"CODE Line: 18", "UNKNOWN", ""},  // a cursor past the last line reads as an empty line
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const LineInformation info = LineInfo(lines, static_cast<int>(i));
        EXPECT_EQ(info.line1, expected[i].line1);
        EXPECT_EQ(info.line2, expected[i].line2) << i;
        EXPECT_EQ(info.line3, expected[i].line3) << i;
    }
    const LineInformation none = LineInfo(lines, -1);
    EXPECT_EQ(none.line1 + none.line2 + none.line3, "");
}

}  // namespace
}  // namespace zs
