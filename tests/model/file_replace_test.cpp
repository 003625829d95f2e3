#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "model/app_state.h"
#include "model/step_file.h"

namespace fs = std::filesystem;

namespace zs {
namespace {

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

class FileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / (std::string("zs_replace_") + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code error;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(folder_, error);
    }
    fs::path folder_;
};

TEST_F(FileReplace, WritesANewFileAndReplacesAnOldOne) {
    const fs::path file = folder_ / "prog.stp";
    ASSERT_TRUE(WriteFileReplacing(file.string(), std::string("first\r\n\0\xff", 9)));
    EXPECT_EQ(ReadBytes(file), std::string("first\r\n\0\xff", 9));
    ASSERT_TRUE(WriteFileReplacing(file.string(), "second"));
    EXPECT_EQ(ReadBytes(file), "second");
    ASSERT_TRUE(WriteFileReplacing(file.string(), ""));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(Names(folder_), std::set<std::string>{"prog.stp"});  // no temporary file left
}

// Regression: the old design truncated the file before writing, so a failed save lost the
// program and still reported success. Every failure here must leave the folder as it was.
TEST_F(FileReplace, FailureLeavesOldFileAndNoTemporaryFile) {
    const std::string old = "old program\r\n";
    WriteBytes(folder_ / "keep.stp", old);
    fs::create_directory(folder_ / "adir.stp");
    const fs::path targets[] = {
        folder_ / "missing" / "prog.stp",  // a folder that does not exist
        folder_ / "keep.stp" / "prog.stp", // a parent that is a regular file
        folder_ / "adir.stp",              // the target is a folder
        folder_ / "",                      // the folder itself
    };
    const std::set<std::string> before = Names(folder_);
    for (const fs::path& target : targets) {
        EXPECT_FALSE(WriteFileReplacing(target.string(), "new")) << target;
        EXPECT_EQ(Names(folder_), before) << target;
        EXPECT_EQ(ReadBytes(folder_ / "keep.stp"), old);
        EXPECT_TRUE(fs::is_empty(folder_ / "adir.stp"));
    }
}

TEST_F(FileReplace, ReadOnlyFileIsNotReplaced) {
    const fs::path file = folder_ / "locked.stp";
    WriteBytes(file, "old");
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(WriteFileReplacing(file.string(), "new"));
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(Names(folder_), std::set<std::string>{"locked.stp"});
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(FileReplace, ReadOnlyFolderRefusesAndKeepsTheOldFile) {
    const fs::path file = folder_ / "prog.stp";
    WriteBytes(file, "old");
    fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    {
        std::ofstream probe(folder_ / "probe");
        if (probe) {
            probe.close();
            fs::remove(folder_ / "probe");
            GTEST_SKIP() << "folder permissions are not enforced for this user";
        }
    }
    EXPECT_FALSE(WriteFileReplacing(file.string(), "new"));
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(Names(folder_), std::set<std::string>{"prog.stp"});
}

TEST_F(FileReplace, LoadReadsWhatWasWritten) {
    const fs::path file = folder_ / "prog.stp";
    RList list;
    list.add() = NewDelayStep();
    list.add().RECORDtype = 9;
    list.current().MessageText = "hi";
    ASSERT_TRUE(WriteFileReplacing(file.string(), WriteStepFileText(list, "u", "info").text));
    RList loaded;  // a load replaces whatever program was there
    for (int i = 0; i < 3; ++i) loaded.add().RECORDtype = 7;
    std::string info;
    EXPECT_EQ(LoadStepFile(file.string(), loaded, info).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.steps(), list.steps());
    EXPECT_EQ(info, "info");
}

TEST_F(FileReplace, SavingThroughASymbolicLinkReplacesTheFileItPointsTo) {
    const fs::path file = folder_ / "real.stp";
    const fs::path link = folder_ / "link.stp";
    WriteBytes(file, "old");
    std::error_code error;
    fs::create_symlink(file, link, error);
    if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
    ASSERT_TRUE(WriteFileReplacing(link.string(), "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(Names(folder_), (std::set<std::string>{"link.stp", "real.stp"}));
}

TEST_F(FileReplace, LoadOfAMissingFileOrAFolderTouchesNothing) {
    for (const fs::path& path : {folder_ / "none.stp", folder_}) {
        RList list;
        MakeNewProgram(list);
        std::string info = "old";
        EXPECT_EQ(LoadStepFile(path.string(), list, info).outcome, LoadOutcome::NotOpened);
        EXPECT_EQ(list.size(), 1);
        EXPECT_EQ(info, "old");
    }
}

#ifndef _WIN32
// Runs save in a child process as user nobody; its exit code says whether WriteFileReplacing
// succeeded. Skips (returns -1) where privileges cannot be dropped.
int SaveAsNobody(const fs::path& file, const std::string& content) {
    if (::geteuid() != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(!dropped ? 3 : WriteFileReplacing(file.string(), content) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 3 ? WEXITSTATUS(status) : -1;
}

// Regression: the writer only looked at the owner-write bit, so another user replaced a root-owned
// 0644 file in a world-writable folder and took it over. A save needs the right to write the file.
TEST_F(FileReplace, AnotherUsersFileIsReplacedOnlyWhereThatUserMayWriteIt) {
    fs::permissions(folder_, fs::perms::all);  // a world-writable folder
    const fs::path file = folder_ / "prog.stp";
    WriteBytes(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
    const int refused = SaveAsNobody(file, "new");
    if (refused < 0) GTEST_SKIP() << "needs root to run a save as user nobody";
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(ReadBytes(file), "old");
    EXPECT_EQ(Names(folder_), std::set<std::string>{"prog.stp"});
    fs::permissions(file, fs::perms::others_write, fs::perm_options::add);
    EXPECT_EQ(SaveAsNobody(file, "new"), 0);
    EXPECT_EQ(ReadBytes(file), "new");
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0646u);  // the mode is kept
}

// Regression: the rename gave a hard-linked file a new inode, so the other name kept the old text.
TEST_F(FileReplace, EveryHardLinkSeesTheSavedContent) {
    const fs::path file = folder_ / "prog.stp";
    WriteBytes(file, "old content");
    fs::create_hard_link(file, folder_ / "other.stp");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteFileReplacing(file.string(), "new"));
    EXPECT_EQ(ReadBytes(folder_ / "other.stp"), "new");
    EXPECT_EQ(fs::hard_link_count(file), 2u);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(folder_), (std::set<std::string>{"other.stp", "prog.stp"}));
}
#endif

}  // namespace
}  // namespace zs
