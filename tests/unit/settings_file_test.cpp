// LoadSettings and SaveSettings on the real file system.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/draw_commands.h"
#include "app/lifecycle.h"
#include "app/settings.h"
#include "disk_faults.h"
#include "test_program.h"
#include "unprivileged.h"

namespace inkrelay {
namespace {

using test::ProgramEnded;
using test::ReadFile;
using test::TestProgram;
using test::WriteFile;

struct SettingsFile : ::testing::Test {
    SettingsFile() { SetSettingDefaults(*p.State); }
    std::string TemporaryFile() const { return p.SettingsFile().string() + ".tmp"; }
    TestProgram p;
};

TEST_F(SettingsFile, missingFileKeepsTheDefaultsSilentlyAndSaveWritesThem) {
    LoadSettings(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.State->Speed, 5);
    SaveSettings(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(ReadFile(p.SettingsFile()), test::DefaultSettingsText);
}

TEST_F(SettingsFile, saveReplacesALongerFileCompletely) {
    WriteFile(p.SettingsFile(), std::string(10000, 'x'));
    SaveSettings(p.Run);
    EXPECT_EQ(ReadFile(p.SettingsFile()), test::DefaultSettingsText);
}

TEST_F(SettingsFile, aFolderWhereTheFileShouldBeIsSkippedOnLoadAndReportedOnSave) {
    std::filesystem::create_directory(p.SettingsFile());
    LoadSettings(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    SaveSettings(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{"パスが不正です。(75)"}));
    EXPECT_TRUE(std::filesystem::is_directory(p.SettingsFile()));
    EXPECT_FALSE(std::filesystem::exists(TemporaryFile()));
}

TEST_F(SettingsFile, aMissingProgramFolderIsPathNotFound) {
    p.Run.ProgramDir = (p.Folder / "gone").string();
    SaveSettings(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{"パスが見つかりません。(76)"}));
}

TEST_F(SettingsFile, aFullDiskKeepsTheOldFileByteForByteAndIsReportedOnce) {
    const std::string old = "Speed=2;\r\nApplet=3;\r\n";
    for (const ReplaceSteps& full : {test::FullDiskWhileWriting(), test::FullDiskWhileFlushing()}) {
        WriteFile(p.SettingsFile(), old);
        p.Ui.Messages.clear();
        const ScopedReplaceSteps disk(full);
        SaveSettings(p.Run);
        EXPECT_EQ(p.Ui.Texts(),
                  (std::vector<std::string>{"ディスクの空き容量が不足しています。(61)"}));
        EXPECT_EQ(ReadFile(p.SettingsFile()), old);
        EXPECT_FALSE(std::filesystem::exists(TemporaryFile()));
    }
}

TEST_F(SettingsFile, aKillBeforeTheRenameLeavesTheOldSettingsForTheNextStart) {
    WriteFile(p.SettingsFile(), "Speed=2;\r\nApplet=3;\r\n");
    p.State->Speed = 4;
    {
        const ScopedReplaceSteps killed(test::KilledBeforeRename());
        EXPECT_THROW(SaveSettings(p.Run), test::Killed);
    }
    EXPECT_EQ(ReadFile(p.SettingsFile()), "Speed=2;\r\nApplet=3;\r\n");
    EXPECT_EQ(ReadFile(TemporaryFile()), SettingsFileText(*p.State));

    SetSettingDefaults(*p.State);
    LoadSettings(p.Run);
    EXPECT_EQ(p.State->Speed, 2);
    EXPECT_EQ(p.State->Applet, 3);
    SaveSettings(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(ReadFile(p.SettingsFile()), SettingsFileText(*p.State));
    EXPECT_FALSE(std::filesystem::exists(TemporaryFile()));
}

TEST_F(SettingsFile, aReadOnlyFileInAWritableFolderIsRefusedAndKept) {
    WriteFile(p.SettingsFile(), "Speed=2;\r\n");
    std::filesystem::permissions(p.Folder.Path(), std::filesystem::perms::all);
    ASSERT_EQ(chmod(p.SettingsFile().c_str(), 0444), 0);
    const int shown = test::RunUnprivileged([&] {
        SaveSettings(p.Run);
        return p.Ui.Texts() == std::vector<std::string>{"ファイルに書き込めません。(70)"} ? 0 : 1;
    });
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(ReadFile(p.SettingsFile()), "Speed=2;\r\n");
    EXPECT_FALSE(std::filesystem::exists(TemporaryFile()));
}

TEST_F(SettingsFile, theNewFileKeepsWhatTheOldOneWas) {
    WriteFile(p.SettingsFile(), "Speed=2;\r\n");
    ASSERT_EQ(chmod(p.SettingsFile().c_str(), 0660), 0);
    SaveSettings(p.Run);
    struct stat status {};
    ASSERT_EQ(stat(p.SettingsFile().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0660u);

    // A link stays a link, and the file it names gets the settings.
    std::filesystem::remove(p.SettingsFile());
    std::filesystem::create_symlink("elsewhere.ini", p.SettingsFile());
    SaveSettings(p.Run);
    EXPECT_TRUE(std::filesystem::is_symlink(p.SettingsFile()));
    EXPECT_EQ(ReadFile(p.Folder / "elsewhere.ini"), test::DefaultSettingsText);

    // A pipe is written into, never renamed away.
    std::filesystem::remove(p.SettingsFile());
    ASSERT_EQ(mkfifo(p.SettingsFile().c_str(), 0600), 0);
    SaveSettings(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{"パスが不正です。(75)"}));
    EXPECT_EQ(std::filesystem::status(p.SettingsFile()).type(), std::filesystem::file_type::fifo);
}

TEST_F(SettingsFile, aReadOnlyFolderIsPermissionDeniedAndLosesNothing) {
    WriteFile(p.SettingsFile(), "Speed=2;\r\n");
    std::filesystem::permissions(p.Folder.Path(), std::filesystem::perms::owner_all |
                                                      std::filesystem::perms::group_read |
                                                      std::filesystem::perms::group_exec |
                                                      std::filesystem::perms::others_read |
                                                      std::filesystem::perms::others_exec);
    ASSERT_EQ(chmod(p.SettingsFile().c_str(), 0444), 0);
    const int shown = test::RunUnprivileged([&] {
        SaveSettings(p.Run);
        return p.Ui.Messages.size() == 1 &&
                       p.Ui.Messages[0].Text == "ファイルに書き込めません。(70)"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(ReadFile(p.SettingsFile()), "Speed=2;\r\n");
}

TEST_F(SettingsFile, anUnreadableFileIsReportedAndTheDefaultsStay) {
    WriteFile(p.SettingsFile(), "Speed=2;\r\n");
    std::filesystem::permissions(p.Folder.Path(), std::filesystem::perms::all);
    ASSERT_EQ(chmod(p.SettingsFile().c_str(), 0000), 0);
    const int result = test::RunUnprivileged([&] {
        LoadSettings(p.Run);
        const bool reported =
            p.Ui.Messages.size() == 1 && p.Ui.Messages[0].Text == "ファイルに書き込めません。(70)";
        return reported && p.State->Speed == 5 ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(SettingsFile, binaryGarbageGivesUsableValuesWithoutAMessage) {
    std::string garbage;
    uint32_t x = 12345;
    for (int i = 0; i < 1 << 16; ++i) {
        x = x * 1103515245u + 12345u;
        const char c = static_cast<char>(x >> 24);
        garbage += c == '=' ? '#' : c;  // no key can match
    }
    WriteFile(p.SettingsFile(), garbage);
    LoadSettings(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.State->Speed, 5);
    EXPECT_EQ(p.State->Applet, 0);
    EXPECT_FALSE(p.State->AutoClose);
}

TEST_F(SettingsFile, aHugeFileIsReadToTheEnd) {
    std::string text(100u << 20, ' ');
    text += "\r\nSpeed=3;\r\nApplet=2;\r\nCheck=1;\r\n";
    WriteFile(p.SettingsFile(), text);
    LoadSettings(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.State->Speed, 3);
    EXPECT_EQ(p.State->Applet, 2);
    EXPECT_TRUE(p.State->Check);
}

TEST_F(SettingsFile, keysInAnotherCaseAreNotTheKeys) {
    WriteFile(p.SettingsFile(), "speed=3;\r\nAPPLET=2;\r\nmode=1;\r\n");
    LoadSettings(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.State->Speed, 5);
    EXPECT_EQ(p.State->Applet, 0);
    EXPECT_EQ(p.State->Mode, 0);
}

TEST_F(SettingsFile, aValueWithoutSemicolonEndsTheProgramAndTheFileIsWrittenAnew) {
    WriteFile(p.SettingsFile(), "Mode=1;\r\nApplet=3");
    EXPECT_THROW(LoadSettings(p.Run), ProgramEnded);
    EXPECT_EQ(p.Ui.Texts(),
              (std::vector<std::string>{"問題が発生したため、インクリレーを終了します。(5)"}));
    // The values read before the fault are kept; the next start reads a sound file.
    const std::string written = ReadFile(p.SettingsFile());
    EXPECT_NE(written.find("Mode=1;\r\nApplet=1;\r\n"), std::string::npos);
    TestProgram next;
    std::filesystem::copy_file(p.SettingsFile(), next.SettingsFile());
    SetSettingDefaults(*next.State);
    LoadSettings(next.Run);
    EXPECT_TRUE(next.Ui.Messages.empty());
    EXPECT_EQ(next.State->Mode, 1);
}

TEST_F(SettingsFile, outOfRangeValuesDoNotStopTheNextStart) {
    WriteFile(p.SettingsFile(), "Applet=9;\r\nQuality=3;\r\nFormula=-1;\r\nSpeed=0;\r\n");
    LoadSettings(p.Run);
    SaveSettings(p.Run);
    const std::string written = ReadFile(p.SettingsFile());
    for (const char* line : {"Applet=1;", "Quality=0;", "Formula=0;", "Speed=5;"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
}

// An installed package's folder is not the user's to write: the settings move to the
// configuration folder, which the first save creates.
struct SettingsFolderChoice : SettingsFile {
    SettingsFolderChoice() {
        std::filesystem::permissions(p.Folder.Path(), std::filesystem::perms::all);
        std::filesystem::create_directory(Program());
        std::filesystem::permissions(Program(), std::filesystem::perms::owner_all |
                                                    std::filesystem::perms::group_read |
                                                    std::filesystem::perms::group_exec |
                                                    std::filesystem::perms::others_read |
                                                    std::filesystem::perms::others_exec);
    }
    std::string Program() const { return (p.Folder / "program").string(); }
    std::string Config() const { return (p.Folder / "config").string(); }
};

TEST_F(SettingsFolderChoice, aReadOnlyProgramFolderSavesAndLoadsInTheConfigFolder) {
    const std::string expected = Config() + "/inkrelay";
    const int result = test::RunUnprivileged([&] {
        const std::string chosen = ChooseSettingsDir(Program(), Config(), "/nonexistent");
        if (chosen != expected)
            return 1;
        p.Run.ProgramDir = Program();
        p.Run.SettingsDir = chosen;
        SaveSettings(p.Run);
        if (!p.Ui.Messages.empty())
            return 2;
        if (ReadFile(expected + "/Inkrelay.ini") != test::DefaultSettingsText)
            return 3;
        WriteFile(expected + "/Inkrelay.ini", "Speed=2;\r\n");
        LoadSettings(p.Run);
        if (p.State->Speed != 2 || !p.Ui.Messages.empty())
            return 4;
        return DrawingLogPath(p.Run) == expected + "/Inkrelay.log" ? 0 : 5;
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(std::filesystem::exists(Program() + "/Inkrelay.ini"));
}

TEST_F(SettingsFolderChoice, aWritableProgramFolderKeepsTheSettingsBesideTheProgram) {
    std::filesystem::permissions(Program(), std::filesystem::perms::all);
    const int result = test::RunUnprivileged(
        [&] { return ChooseSettingsDir(Program(), Config(), "/home/x") == Program() ? 0 : 1; });
    EXPECT_EQ(result, 0);
}

TEST_F(SettingsFolderChoice, withoutAnAbsoluteConfigHomeTheHomeFoldersConfigIsUsed) {
    const int result = test::RunUnprivileged([&] {
        int wrong = 0;
        if (ChooseSettingsDir(Program(), "", "/home/x") != "/home/x/.config/inkrelay")
            wrong |= 1;
        if (ChooseSettingsDir(Program(), "relative/config", "/home/x") !=
            "/home/x/.config/inkrelay")
            wrong |= 2;
        // Nowhere else to go: the program's folder, whose save then reports the failure.
        if (ChooseSettingsDir(Program(), "", "") != Program())
            wrong |= 4;
        return wrong;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(SettingsFile, anUnsetSettingsFolderIsTheProgramFolderAndAMissingOneIsNotCreated) {
    p.Run.SettingsDir = p.Run.ProgramDir = (p.Folder / "gone").string();
    SaveSettings(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{"パスが見つかりません。(76)"}));
    EXPECT_FALSE(std::filesystem::exists(p.Folder / "gone"));
    p.Run.SettingsDir.clear();
    EXPECT_EQ(DrawingLogPath(p.Run), (p.Folder / "gone" / "Inkrelay.log").string());
}

}  // namespace
}  // namespace inkrelay
