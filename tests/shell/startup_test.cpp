#include <gtest/gtest.h>

#include "Forms/FormMAIN.h"
#include "shell/help_document.h"
#include "shell_fixture.h"

namespace zs::test {
namespace {

using namespace form;

using StartUpTest = ShellTest;

TEST_F(StartUpTest, ShowsTopMostWindowWithEditingHiddenUntilAProgramExists) {
    StartUp();
    const auto window = gui.window(kFormMAIN);
    ASSERT_TRUE(window && window->open);
    EXPECT_TRUE(window->topmost);
    for (int id = 54; id <= 65; ++id) EXPECT_TRUE(Gadget(id).hidden) << id;
    EXPECT_TRUE(Gadget(kPanel).hidden);
    for (int id : {66, 67, 72, 73, 74}) {
        EXPECT_FALSE(Gadget(id).hidden) << id;
        EXPECT_EQ(Gadget(id).text, "") << id;
    }
    for (int item : {77, 78, 81, 82, 83, 84}) EXPECT_TRUE(gui.isMenuItemDisabled(item)) << item;
    for (int item : {75, 76, 80, 85, 88, 89}) EXPECT_FALSE(gui.isMenuItemDisabled(item)) << item;
    EXPECT_EQ(Gadget(kComboStepType).selected, 0);
    EXPECT_EQ(Gadget(kComboKeyToken).items.size(), 34u);
    EXPECT_TRUE(state.list.empty());
    EXPECT_EQ(state.ProgramFileName, "");
}

TEST_F(StartUpTest, FontsImagesAndTheDefaultFont) {
    for (int ppi : {96, 120}) {
        gui::HeadlessGui freshGui;
        Services freshServices{freshGui, input, desktop, serial, process, system, clock};
        AppState freshState;
        system.pixelsPerInch = ppi;
        Shell fresh(freshServices, freshState);
        fresh.StartUp(false);
        struct Row {
            int id;
            int points;
            bool highQuality;
        };
        const Row rows[] = {{0, ppi == 120 ? 6 : 8, false}, {1, 14, false}, {101, 12, true},
                            {102, 10, true}};
        for (const Row& row : rows) {
            const auto font = freshGui.font(row.id);
            ASSERT_TRUE(font) << row.id;
            EXPECT_EQ(font->face, "Arial");
            EXPECT_EQ(font->points, row.points) << row.id << " at " << ppi;
            EXPECT_EQ(font->highQuality, row.highQuality) << row.id;
        }
        EXPECT_EQ(freshGui.defaultFont(), 0);
        for (int id = 90; id <= 100; ++id) EXPECT_TRUE(freshGui.image(id)) << id;
    }
}

// The help document is written next to the program only where nothing of its name exists.
TEST_F(StartUpTest, HelpDocumentWrittenOnceAndNeverOverwritten) {
    const fs::path help = folder / kHelpFileName;
    StartUp();
    ASSERT_TRUE(fs::exists(help));
    EXPECT_EQ(fs::file_size(help), kHelpDocumentSize);
    EXPECT_EQ(ReadFileBytes(help), std::string(HelpDocumentData()));
    EXPECT_EQ(HelpDocumentData().substr(0, 5), "%PDF-");

    for (const std::string& old : {std::string("mine"), std::string(kHelpDocumentSize + 7, 'x')}) {
        WriteFileBytes(help, old);
        EXPECT_EQ(WriteHelpDocumentIfMissing(help.string(), HelpDocumentData()),
                  HelpWrite::AlreadyThere);
        EXPECT_EQ(ReadFileBytes(help), old);
    }
}

TEST_F(StartUpTest, FolderOfTheHelpNameOrMissingFolderSuppressTheWrite) {
    const fs::path help = folder / kHelpFileName;
    fs::create_directory(help);
    StartUp();
    EXPECT_TRUE(fs::is_directory(help));
    EXPECT_TRUE(fs::is_empty(help));

    const fs::path nowhere = folder / "missing" / kHelpFileName;
    EXPECT_EQ(WriteHelpDocumentIfMissing(nowhere.string(), HelpDocumentData()), HelpWrite::Failed);
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(StartUpTest, UnwritableProgramFolderIsSkippedSilently) {
    system.executable = (folder / "missing" / "Zelvorin-Step").string();
    StartUp();
    EXPECT_TRUE(gui.messages().empty());
    EXPECT_TRUE(gui.notices().empty());
    EXPECT_TRUE(gui.window(kFormMAIN)->open);
}

TEST_F(StartUpTest, CursorThreadWritesThePointerPositionAndStopsCleanly) {
    input.setPointerPosition({321, 654});
    shell.StartUp(true);
    // The thread writes at least once before its first wait; stopping joins it.
    shell.StopCursorThread();
    EXPECT_EQ(Gadget(kTextCursorX).text, "321");
    EXPECT_EQ(Gadget(kTextCursorY).text, "654");
}

TEST(FileExists, FilesAndFoldersCountMissingDoesNot) {
    const fs::path base = fs::temp_directory_path() / "zs_shell_file_exists";
    fs::remove_all(base);
    fs::create_directories(base / "folder");
    WriteFileBytes(base / "file", "x");
    WriteFileBytes(base / "empty", "");
    const std::pair<fs::path, bool> rows[] = {
        {base / "file", true},        {base / "empty", true},       {base / "folder", true},
        {base / "nothing", false},    {base / "nothing" / "x", false},
        // Regression: a name the system refuses (too long) counted as existing.
        {base / std::string(300, 'n'), false}, {base / "file" / "x", false},
    };
    for (const auto& [path, exists] : rows) EXPECT_EQ(FileExists(path.string()), exists) << path;
    fs::remove_all(base);
}

TEST(PathParts, FolderPartKeepsTheSeparator) {
    const std::pair<const char*, const char*> rows[] = {
        {"/opt/zs/Zelvorin-Step", "/opt/zs/"},
        {"C:\\Tools\\Zelvorin-Step.exe", "C:\\Tools\\"},
        {"Zelvorin-Step", ""},
        {"/Zelvorin-Step", "/"},
    };
    for (auto [path, folder] : rows) EXPECT_EQ(FolderPart(path), folder) << path;
}

}  // namespace
}  // namespace zs::test
