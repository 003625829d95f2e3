#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace zs {
namespace {

TEST(CommandLineTest, ArgumentsGiveTheStartCommand) {
    using enum StartCommand;
    struct Row {
        std::vector<std::string> arguments;
        CommandLine expected;
    };
    const Row rows[] = {
        {{}, {Window, ""}},
        {{"prog.stp"}, {OpenFile, "prog.stp"}},
        {{"/home/anna/my programs/prog.stp"}, {OpenFile, "/home/anna/my programs/prog.stp"}},
        {{"C:\\Steps\\prog.stp"}, {OpenFile, "C:\\Steps\\prog.stp"}},
        {{"./-odd.stp"}, {OpenFile, "./-odd.stp"}},
        {{"--play", "prog.stp"}, {PlayFile, "prog.stp"}},
        {{"--help"}, {Help, ""}},
        // Usage errors: unknown options, options without or with a wrong operand, counts.
        {{"-h"}, {UsageError, ""}},
        {{"--HELP"}, {UsageError, ""}},
        {{"--open"}, {UsageError, ""}},
        {{"-"}, {UsageError, ""}},
        {{""}, {UsageError, ""}},
        {{"--play"}, {UsageError, ""}},
        {{"--play", "--help"}, {UsageError, ""}},
        {{"--play", ""}, {UsageError, ""}},
        {{"prog.stp", "--play"}, {UsageError, ""}},
        {{"--help", "prog.stp"}, {UsageError, ""}},
        {{"one.stp", "two.stp"}, {UsageError, ""}},
        {{"--play", "one.stp", "two.stp"}, {UsageError, ""}},
    };
    for (const Row& row : rows) {
        std::string shown;
        for (const std::string& argument : row.arguments) shown += " [" + argument + "]";
        EXPECT_EQ(ParseCommandLine(row.arguments), row.expected) << shown;
    }
}

TEST(CommandLineTest, UsageNamesTheProgramAsCalledAndEndsWithALineEnd) {
    const std::string usage = UsageText("zelvorin-step");
    EXPECT_EQ(usage.rfind("Usage: zelvorin-step [FILE]\n       zelvorin-step --play FILE\n"
                          "       zelvorin-step --help\n", 0),
              0u);
    EXPECT_EQ(usage.back(), '\n');
    EXPECT_EQ(UsageText("").rfind("Usage: Zelvorin-Step [FILE]\n", 0), 0u);
}

}  // namespace
}  // namespace zs
