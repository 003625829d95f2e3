// Starting files: programs, other files through the opener, odd paths, no zombies left.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/posix/posix_process.h"

namespace zs {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
}

// Waits (at most 20 s, so a fault fails instead of hanging) until the file exists and is complete.
bool WaitForFile(const fs::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (fs::exists(path) && ReadFile(path).find("END") != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

int ZombieChildren() {
    int zombies = 0;
    const std::string parent = std::to_string(::getpid());
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // pid (comm) state ppid ...: comm may hold blanks, so read after the last ')'.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        std::string state, ppid;
        rest >> state >> ppid;
        if (ppid == parent && state == "Z") ++zombies;
    }
    return zombies;
}

bool NoZombieChildrenSoon() {
    for (int i = 0; i < 2000; ++i) {
        if (ZombieChildren() == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A private folder with a stub opener first on PATH that records its arguments.
class ProcessStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dirTemplate[] = "/tmp/zs_process_test.XXXXXX";
        ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
        dir_ = dirTemplate;
        fs::create_directory(dir_ / "bin");
        WriteScript(dir_ / "bin" / "xdg-open",
                    "printf '%s\\n' \"$#\" \"$@\" END > '" + (dir_ / "opened").string() + "'\n");
        oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        ::setenv("PATH", ((dir_ / "bin").string() + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", oldPath_.c_str(), 1);
        EXPECT_TRUE(NoZombieChildrenSoon());
        fs::remove_all(dir_);
    }

    fs::path dir_;
    std::string oldPath_;
    PosixProcessStarter starter_;
};

TEST_F(ProcessStartTest, AProgramRunsWithItsPathAndNoArguments) {
    const fs::path program = dir_ / "program.sh";
    WriteScript(program, "printf '%s\\n' \"$0\" \"$#\" END > '" + (dir_ / "ran").string() + "'\n");
    ASSERT_TRUE(starter_.startFile(program.string()));
    ASSERT_TRUE(WaitForFile(dir_ / "ran"));
    EXPECT_EQ(ReadFile(dir_ / "ran"), program.string() + "\n0\nEND\n");
}

// Blanks, quotes, ";", "$(...)" and a leading "-" reach the program as they stand; no shell
// ever sees them, so nothing in the name runs.
TEST_F(ProcessStartTest, ShellCharactersInPathsReachTheProgramUnchanged) {
    const fs::path folder = dir_ / "a b 'c\" ;$(touch pwned) `touch pwned2`";
    fs::create_directory(folder);
    const fs::path program = folder / "-run me;.sh";
    WriteScript(program, "printf '%s\\n' \"$0\" END > '" + (dir_ / "ran").string() + "'\n");
    ASSERT_TRUE(starter_.startFile(program.string()));
    ASSERT_TRUE(WaitForFile(dir_ / "ran"));
    EXPECT_EQ(ReadFile(dir_ / "ran"), program.string() + "\nEND\n");
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(dir_ / "pwned"));
}

TEST_F(ProcessStartTest, OtherFilesAndFoldersGoToTheOpenerAsOneAbsoluteArgument) {
    const fs::path document = dir_ / "-report $(touch pwned); 'x'.txt";
    std::ofstream(document) << "text";
    const fs::path notAProgram = dir_ / "garbage.bin";  // executable bit, but no valid format
    std::ofstream(notAProgram) << "\x01\x02\x03 not a program";
    fs::permissions(notAProgram, fs::perms::owner_all);

    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    const std::string cases[][2] = {
        {"-report $(touch pwned); 'x'.txt", document.string()},  // relative: made absolute
        {document.string(), document.string()},
        {dir_.string(), dir_.string()},
        {notAProgram.string(), notAProgram.string()},
    };
    for (const auto& c : cases) {
        fs::remove(dir_ / "opened");
        ASSERT_TRUE(starter_.startFile(c[0])) << c[0];
        ASSERT_TRUE(WaitForFile(dir_ / "opened")) << c[0];
        EXPECT_EQ(ReadFile(dir_ / "opened"), "1\n" + c[1] + "\nEND\n") << c[0];
    }
    fs::remove(dir_ / "opened");
    ASSERT_TRUE(starter_.openDocument(document.string()));
    ASSERT_TRUE(WaitForFile(dir_ / "opened"));
    EXPECT_EQ(ReadFile(dir_ / "opened"), "1\n" + document.string() + "\nEND\n");
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(dir_ / "pwned"));
}

TEST_F(ProcessStartTest, MissingPathsFail) {
    for (const std::string& path : {std::string(), (dir_ / "missing").string()}) {
        const Status started = starter_.startFile(path);
        EXPECT_FALSE(started) << path;
        EXPECT_EQ(started.call, "stat");
        EXPECT_FALSE(starter_.openDocument(path)) << path;
    }
    EXPECT_FALSE(fs::exists(dir_ / "opened"));
}

TEST_F(ProcessStartTest, AMissingOpenerFails) {
    std::ofstream(dir_ / "doc.txt") << "text";
    PosixProcessStarter noOpener("zs-no-such-opener");
    EXPECT_FALSE(noOpener.openDocument((dir_ / "doc.txt").string()));
}

}  // namespace
}  // namespace zs
