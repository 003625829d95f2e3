#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/step_types.h"
#include "model/app_state.h"
#include "model/step_file.h"
#include "support/allocation_limit.h"

namespace zs {
namespace {

const std::string kHeader = std::string(kFileVersionLine) + "\r\nanna  -  07.12.2026 08:47\r\ninfo\r\n";

struct Parsed {
    LoadResult result;
    RList list;
    std::string info;
};

Parsed Parse(const std::string& content) {
    Parsed parsed;
    parsed.result = ParseStepFile(content, parsed.list, parsed.info);
    return parsed;
}

Step Make(int type) {
    Step step;
    step.RECORDtype = type;
    return step;
}

// One step of every type, every used field set to something other than its default.
std::vector<Step> EveryStepType() {
    std::vector<Step> steps;
    Step s = Make(1); s.ClickType = "Ldbl_Click"; s.MouseX = -5; s.MouseY = 1080; s.Description = "click";
    steps.push_back(s);
    s = Make(2); s.KeyboardType = "String"; s.TypedText = "Hello, world! \xe4\xf6"; s.Description = "type";
    steps.push_back(s);
    s = Make(2); s.KeyboardType = "Key"; s.KeyToken = "{F2}"; s.Description = "save";
    steps.push_back(s);
    s = Make(3); s.DelaySeconds = 2.5f;
    steps.push_back(s);
    s = Make(4); s.LoopFromStep = 1; s.LoopRepetitions = 10; s.Description = "again";
    steps.push_back(s);
    s = Make(5); s.ComPort = "COM1"; s.ComType = "Initialise"; s.Telegram = "9600 N 8 1";
    steps.push_back(s);
    s = Make(6); s.JumpToStep = 3; s.Description = "jump";
    steps.push_back(s);
    s = Make(7); s.StateText = "running"; s.Description = "state";
    steps.push_back(s);
    s = Make(8); s.ExecuteFile = "C:\\Tools\\run me.bat";
    steps.push_back(s);
    s = Make(9); s.MessageText = "Done"; s.Description = "end";
    steps.push_back(s);
    return steps;
}

TEST(StepFile, EveryStepTypeSurvivesWriteAndRead) {
    RList list;
    for (const Step& step : EveryStepType()) list.add() = step;
    const StepFileText file = WriteStepFileText(list, "anna  -  07.12.2026 08:47", "my info");
    EXPECT_TRUE(file.unknownTypes.empty());
    const Parsed parsed = Parse(file.text);
    ASSERT_EQ(parsed.result.outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(parsed.result.notices.empty());
    EXPECT_EQ(parsed.info, "my info");
    EXPECT_EQ(parsed.list.steps(), list.steps());
    EXPECT_EQ(parsed.list.index(), 0);  // the first step is current after a load
}

TEST(StepFile, CodeLinesAsWritten) {
    const std::vector<std::string> expected = {
        "1;Ldbl_Click;-5;1080;click",
        "2;String;Hello, world! \xe4\xf6;type",
        "2;Key;{F2};save",
        "3;2.5;",
        "4;1;10;again",
        "5;COM1;Initialise;9600 N 8 1;",
        "6;3;jump",
        "7;running;state",
        "8;C:\\Tools\\run me.bat;",
        "9;Done;end",
    };
    const std::vector<Step> steps = EveryStepType();
    for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(CodeLine(steps[i]), expected[i]);
    EXPECT_EQ(CodeLine(Make(0)), "");
    EXPECT_EQ(CodeLine(Make(kStepTypeCount + 1)), "");
}

TEST(StepFile, WrittenTextHasThreeHeaderLinesAndCrLfAfterEveryLine) {
    RList list;
    list.add() = Make(3);
    list.add() = Make(42);  // unknown: an empty line in its place
    list.add() = Make(7);
    const StepFileText file = WriteStepFileText(list, "bob  -  01.02.2026 03:04", "");
    EXPECT_EQ(file.text, std::string(kFileVersionLine) +
                             "\r\nbob  -  01.02.2026 03:04\r\n\r\n3;0.0;\r\n\r\n7;;\r\n");
    EXPECT_EQ(file.unknownTypes, std::vector<int>{42});
}

// Regression: a line end inside a text field split the record, and the rest of the text could
// be read back as a step of its own.
TEST(StepFile, LineEndInsideATextCannotMakeAStep) {
    RList list;
    Step step = Make(9);
    step.MessageText = "a\n1;L_Click;5;5;";
    list.add() = step;
    const StepFileText file = WriteStepFileText(list, "u", "info\n6;1;");
    const Parsed parsed = Parse(file.text);
    ASSERT_EQ(parsed.list.size(), 1);
    EXPECT_EQ(parsed.list.at(0).MessageText, "a 1");
    EXPECT_EQ(parsed.info, "info 6;1;");
}

TEST(StepFile, ReadingFillsFieldsByPosition) {
    struct Case {
        std::string line;
        Step step;
    };
    Step key = Make(2); key.KeyboardType = "Key"; key.KeyToken = "{F2}"; key.Description = "save";
    Step lower = Make(2); lower.KeyboardType = "string"; lower.KeyToken = "abc";  // not exactly "String"
    Step delay = Make(3); delay.DelaySeconds = 0.5f;
    Step comma = Make(3);  // "0,5" reads 0
    Step shortMouse = Make(1); shortMouse.ClickType = "L_Click"; shortMouse.MouseX = 7;
    Step extra = Make(6); extra.JumpToStep = 2; extra.Description = "d";
    Step bare = Make(7);
    Step hex = Make(4); hex.LoopFromStep = 16; hex.LoopRepetitions = 5;
    Step wrongValues = Make(1); wrongValues.ClickType = "Nonsense"; wrongValues.MouseX = 0;
    Step endless = Make(4); endless.LoopFromStep = 1; endless.LoopRepetitions = INT32_MAX;
    Step farJump = Make(6); farJump.JumpToStep = INT32_MIN;
    const Case cases[] = {
        {"2;Key;{F2};save", key},
        {"2;string;abc;", lower},
        {"3;0.5;", delay},
        {"3;0,5;", comma},
        {"1;L_Click;7", shortMouse},        // missing fields read as "" or 0
        {"6;2;d;e;f", extra},               // further fields ignored
        {"7", bare},
        {"4;$10;%101;", hex},
        {"1;Nonsense;x;;", wrongValues},    // no value is checked
        {"4;1;2147483648;", endless},       // regression: out of range wrapped around
        {"6;-2147483649;", farJump},
    };
    for (const auto& c : cases) {
        const Parsed parsed = Parse(kHeader + c.line + "\r\n");
        ASSERT_EQ(parsed.list.size(), 1) << c.line;
        EXPECT_EQ(parsed.list.at(0), c.step) << c.line;
    }
}

TEST(StepFile, LinesThatMakeNoStep) {
    struct Case {
        std::string line;
        std::vector<std::string> notices;
    };
    const Case cases[] = {
        {"' my comment", {}},
        {"'", {}},
        {"'1;L_Click;1;1;", {}},
        {"01;x", {"Unknown recordtype: 01"}},
        {"0;x", {"Unknown recordtype: 0"}},
        {"13;x", {"Unknown recordtype: 13"}},
        {"010;x", {"Unknown recordtype: 010"}},
        {" 1;L_Click;1;1;", {"Unknown recordtype:  1"}},
        {";abc", {"Unknown recordtype: "}},
        {";", {"Unknown recordtype: "}},
        {"Mouse", {"Unknown recordtype: Mouse"}},
        {"\xff;\x80", {"Unknown recordtype: \xff"}},
    };
    for (const auto& c : cases) {
        const Parsed parsed = Parse(kHeader + c.line + "\r\n7;kept;\r\n");
        ASSERT_EQ(parsed.list.size(), 1) << c.line;
        EXPECT_EQ(parsed.list.at(0).StateText, "kept");
        EXPECT_EQ(parsed.result.notices, c.notices) << c.line;
    }
}

TEST(StepFile, KeepsBytesAndLongLines) {
    const std::string longText(200000, 'x');
    const std::string controls("a\x01\x7f\x1b" "b");
    const Parsed parsed = Parse(kHeader + "9;" + longText + ";\r\n7;" + controls + ";\xe9\r\n");
    ASSERT_EQ(parsed.list.size(), 2);
    EXPECT_EQ(parsed.list.at(0).MessageText, longText);
    EXPECT_EQ(parsed.list.at(1).StateText, controls);
    EXPECT_EQ(parsed.list.at(1).Description, "\xe9");
}

TEST(StepFile, VersionLineMustMatchExactly) {
    for (const std::string& first : {std::string(kFileVersionLine) + " ", std::string("zelvorin-step 2.5"),
                                    std::string("\xef\xbb") + kFileVersionLine, std::string()}) {
        RList list;
        MakeNewProgram(list);
        list.at(0).Description = "mine";
        std::string info = "old";
        const LoadResult result = ParseStepFile(first + "\r\nu\r\ni\r\n9;m;\r\n", list, info);
        EXPECT_EQ(result.outcome, LoadOutcome::WrongVersion) << first;
        ASSERT_EQ(list.size(), 1);
        EXPECT_EQ(list.at(0).Description, "mine");  // the program in memory stays as it was
        EXPECT_EQ(info, "old");
    }
    EXPECT_EQ(Parse("").result.outcome, LoadOutcome::WrongVersion);
}

TEST(StepFile, HeaderOnlyOrShortFileGivesANewProgram) {
    const std::string version = kFileVersionLine;
    const std::string texts[] = {version, version + "\r\n", version + "\r\nuser\r\n",
                                 version + "\r\nuser\r\ninfo", kHeader, kHeader + "\r\n' only a comment\r\n"};
    for (const std::string& text : texts) {
        const Parsed parsed = Parse(text);
        EXPECT_EQ(parsed.result.outcome, LoadOutcome::Loaded);
        ASSERT_EQ(parsed.list.size(), 1);
        EXPECT_EQ(parsed.list.at(0), NewDelayStep());
        EXPECT_EQ(parsed.list.index(), 0);
    }
    EXPECT_EQ(Parse(version + "\r\nuser\r\ninfo").info, "info");
    EXPECT_EQ(Parse(version + "\r\nuser").info, "");
}

TEST(StepFile, LineEnds) {
    // LF alone, CR LF, a last line without line end, and a lone CR at the very end.
    const std::string version = kFileVersionLine;
    for (const std::string& text : {version + "\nu\ni\n9;a;\n9;b;", version + "\r\nu\r\ni\r\n9;a;\r\n9;b;\r",
                                   version + "\r\nu\ni\r\n9;a;\n\n\r\n9;b;\r\n"}) {
        const Parsed parsed = Parse(text);
        ASSERT_EQ(parsed.list.size(), 2);
        EXPECT_EQ(parsed.list.at(0).Description, "");
        EXPECT_EQ(parsed.list.at(1).MessageText, "b");
        EXPECT_EQ(parsed.info, "i");
    }
    // A CR that is not before an LF is a byte of the line.
    EXPECT_EQ(Parse(kHeader + "9;a\rb;c\r\r\n").list.at(0).Description, "c\r");
    EXPECT_EQ(SplitLines("a\r\nb\n\nc\rd\r"), (std::vector<std::string>{"a", "b", "", "c\rd"}));
    EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitLines("\n"), std::vector<std::string>{""});
}

// Regression: a file with CR-only line ends or a UTF-8 byte-order mark was refused as the wrong
// version. It is read as its lines and written back as CR LF lines without the mark.
TEST(StepFile, FilesOfOtherEditorsAreReadAsTheirLines) {
    const std::string version = kFileVersionLine;
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string& text : {version + "\ru\ri\r9;a;\r\r9;b;\r", bom + version + "\r\nu\r\ni\r\n9;a;\r\n9;b;",
                                   bom + version + "\ru\ri\r9;a;\r9;b;", bom + version + "\nu\ni\n9;a;\n9;b;\n"}) {
        const Parsed parsed = Parse(text);
        ASSERT_EQ(parsed.result.outcome, LoadOutcome::Loaded) << text;
        ASSERT_EQ(parsed.list.size(), 2);
        EXPECT_EQ(parsed.list.at(1).MessageText, "b");
        EXPECT_EQ(parsed.info, "i");
        EXPECT_EQ(WriteStepFileText(parsed.list, "u", parsed.info).text,
                  version + "\r\nu\r\ni\r\n9;a;\r\n9;b;\r\n");
        EXPECT_EQ(SplitLines(text).front(), version);  // the text editor's view of the file
    }
    EXPECT_EQ(SplitLines("a\rb\r"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitLines(bom), std::vector<std::string>{});
}

// Regression: NUL bytes were kept, but no text gadget can hold them: the editor cut the line and
// every later one, and a save then wrote the shortened file. Such a file is refused whole; one
// whose first line is not the version line (UTF-16, binary) is a file of another kind.
TEST(StepFile, ANulByteRefusesTheFileAndKeepsTheProgram) {
    const std::string nul(1, '\0');
    const std::string version = kFileVersionLine;
    const struct {
        std::string text;
        LoadOutcome outcome;
        std::size_t line;
    } cases[] = {
        {kHeader + "7;a" + nul + "b;c\r\n3;0.5;\r\n", LoadOutcome::NulByte, 4},
        {kHeader + "3;0.5;\r\n" + nul + ";1\r\n", LoadOutcome::NulByte, 5},
        {version + "\ru" + nul + "\r", LoadOutcome::NulByte, 2},  // CR-only line ends
        {version + nul + "\r\n", LoadOutcome::WrongVersion, 0},
        {nul, LoadOutcome::WrongVersion, 0},
        {"\xFF\xFEZ" + nul + "e" + nul + "l" + nul, LoadOutcome::WrongVersion, 0},  // UTF-16
    };
    for (const auto& c : cases) {
        RList list;
        MakeNewProgram(list);
        list.at(0).Description = "mine";
        std::string info = "old";
        const LoadResult result = ParseStepFile(c.text, list, info);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.nulByteLine, c.line);
        if (c.line != 0) {
            EXPECT_EQ(LoadFailureReason(result),
                      " (NUL byte in line " + std::to_string(c.line) + ")");
        }
        ASSERT_EQ(list.size(), 1);
        EXPECT_EQ(list.at(0).Description, "mine");
        EXPECT_EQ(info, "old");
    }
}

// Regression: one step was reserved per line end of the whole file, so a file of a few million
// blank lines took gigabytes and aborted the program; and every unknown line kept its notice.
TEST(StepFile, MemoryFollowsWhatIsReadNotTheLineCount) {
    const Parsed blank = Parse(kHeader + "3;0.5;\r\n" + std::string(1000000, '\n'));
    ASSERT_EQ(blank.list.size(), 1);
    std::string foreign = kHeader;
    for (int i = 0; i < 100000; ++i) foreign += "x;\n";
    const Parsed unknown = Parse(foreign);
    EXPECT_EQ(unknown.result.notices.size(), kMaxShownNotices);
    EXPECT_EQ(unknown.result.unknownLineCount, 100000u);
}

// Running out of memory while reading keeps the program and the information line as they were.
TEST(StepFile, OutOfMemoryKeepsTheProgram) {
    std::string text = kHeader;
    for (int i = 0; i < 20000; ++i) text += "3;0.5;\r\n";
    RList list;
    MakeNewProgram(list);
    std::string info = "old";
    LoadResult result;
    {
        test::AllocationLimit limit(1 << 20);
        result = ParseStepFile(text, list, info);
    }
    EXPECT_EQ(result.outcome, LoadOutcome::OutOfMemory);
    EXPECT_EQ(LoadFailureReason(result), " (not enough memory)");
    EXPECT_EQ(list.size(), 1);
    EXPECT_EQ(info, "old");
}

TEST(StepFile, SemicolonInsideATextDoesNotSurvive) {
    RList list;
    Step step = Make(7);
    step.StateText = "a;b";
    step.Description = "c";
    list.add() = step;
    const Parsed parsed = Parse(WriteStepFileText(list, "u", "").text);
    EXPECT_EQ(parsed.list.at(0).StateText, "a");
    EXPECT_EQ(parsed.list.at(0).Description, "b");
}

TEST(StepFile, DelayWrittenWithOneDecimal) {
    const std::pair<std::string, std::string> cases[] = {
        {"3;0.5;", "3;0.5;"}, {"3;2;", "3;2.0;"}, {"3;1.25;x", "3;1.2;x"}, {"3;abc;", "3;0.0;"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(CodeLine(Parse(kHeader + in).list.at(0)), out);
}

TEST(StepFile, UserDateLinePadsEveryPart) {
    EXPECT_EQ(UserDateLine("anna", {2026, 12, 7, 8, 47, 13}), "anna  -  07.12.2026 08:47");
    EXPECT_EQ(UserDateLine("", {999, 1, 2, 0, 5, 0}), "  -  02.01.0999 00:05");
}

TEST(StepFile, PathRules) {
    const std::pair<std::string, std::string> extensions[] = {
        {"prog", "prog.stp"}, {"prog.stp", "prog.stp"}, {"PROG.STP", "PROG.STP.stp"},
        {"", ".stp"},         {"stp", "stp.stp"},       {"a.stp.bak", "a.stp.bak.stp"}};
    for (const auto& [in, out] : extensions) EXPECT_EQ(WithStpExtension(in), out);
    const std::pair<std::string, std::string> parts[] = {
        {"C:\\dir\\prog.stp", "prog.stp"}, {"/home/u/p.stp", "p.stp"}, {"p.stp", "p.stp"},
        {"a/b\\c", "c"},                   {"dir/", ""},               {"", ""}};
    for (const auto& [in, out] : parts) EXPECT_EQ(FilePart(in), out);
}

}  // namespace
}  // namespace zs
