#include "app/lifecycle.h"

#include <gtest/gtest.h>

#include "app/image_window.h"
#include "app/main_window.h"
#include "app/restore_mode.h"
#include "test_program.h"

namespace inkrelay {
namespace {

using test::ProgramEnded;
using test::ReadFile;
using test::TestProgram;

int EndStatus(const std::function<void()>& body) {
    try {
        body();
    } catch (const ProgramEnded& ended) {
        return ended.ExitStatus;
    }
    ADD_FAILURE() << "the program did not end";
    return -1;
}

TEST(StartUp, aSixteenBitDisplayIsRefusedWithoutTouchingTheSettingsFile) {
    TestProgram p(16);
    test::WriteFile(p.SettingsFile(), "Speed=2;\r\n");
    EXPECT_NE(EndStatus([&] { StartUp(p.Run); }), 0);
    EXPECT_EQ(
        p.Ui.Texts(),
        (std::vector<std::string>{
            "インクリレーは、画面の色が65,536色（16ビット）以下ではご使用になれません。\r"
            "画面のプロパティで、画面の色を1,677万色（24ビット）以上に設定してご使用ください。"}));
    EXPECT_EQ(p.Ui.Messages[0].Icon, MessageIcon::Critical);
    EXPECT_EQ(ReadFile(p.SettingsFile()), "Speed=2;\r\n");
    EXPECT_TRUE(p.Ui.Applied.empty());
}

TEST(StartUp, twentyFourAndThirtyTwoBitsStartWithDefaultsScreenSizeAndControls) {
    for (int bits : {24, 32}) {
        TestProgram p(bits, 1920, 1080);
        StartUp(p.Run);
        EXPECT_TRUE(p.Ui.Messages.empty()) << bits;
        EXPECT_EQ(p.State->Coords[Coord::ScreenWidthPx], 1920);
        EXPECT_EQ(p.State->Coords[Coord::ScreenHeightPx], 1080);
        EXPECT_EQ(p.State->Speed, 5);
        EXPECT_EQ(p.State->Applet, 1);
        EXPECT_TRUE(p.State->AutoClose && p.State->Check);
        EXPECT_EQ(p.Ui.Applied.size(), 1u);
        EXPECT_EQ(p.Ui.KeepOnTopCount, 1);
        EXPECT_FALSE(std::filesystem::exists(p.SettingsFile()));
    }
}

TEST(StartUp, settingsFromTheFileOverrideTheDefaults) {
    TestProgram p;
    test::WriteFile(p.SettingsFile(), "Applet=3;\r\nSpeed=1;\r\nAutoClose=0;\r\nCheck=1;\r\n");
    StartUp(p.Run);
    EXPECT_EQ(p.State->Applet, 3);
    EXPECT_EQ(p.State->Speed, 1);
    EXPECT_FALSE(p.State->AutoClose);
    EXPECT_EQ(p.Ui.Current.Combo1Index, 3);
}

TEST(StartUp, aDesktopThatReachesOnlySomeWindowsIsAnnouncedOnceAndTheStartGoesOn) {
    TestProgram p;
    p.Screen.SetCapabilities({.ReachesEveryWindow = false});
    test::WriteFile(p.SettingsFile(), "Applet=4;\r\n");
    StartUp(p.Run);
    ASSERT_EQ(p.Ui.Messages.size(), 1u);
    EXPECT_EQ(p.Ui.Messages[0].Text, PartialDesktopMessage);
    EXPECT_NE(p.Ui.Messages[0].Text.find("Wayland"), std::string::npos);
    EXPECT_EQ(p.Ui.Messages[0].Icon, MessageIcon::Information);
    EXPECT_EQ(p.State->Applet, 4);
    EXPECT_EQ(p.Ui.Applied.size(), 1u);
    EXPECT_EQ(p.Ui.KeepOnTopCount, 1);
}

TEST(StartUp, aScreenWiderThanSixteenBitsOverflowsAndEnds) {
    // A desktop whose size reports past 16 bits (no framebuffer that large is needed).
    struct WideDesktop : SimDesktop {
        WideDesktop() : SimDesktop(8, 8) {}
        ScreenSize ScreenPixels() override { return {40000, 1000}; }
    } wide;
    TestProgram p;
    Program run{*p.State, *p.Image, p.Ui, wide, p.Folder.String()};
    EXPECT_NE(EndStatus([&] { StartUp(run); }), 0);
    EXPECT_EQ(p.Ui.Texts(),
              (std::vector<std::string>{"問題が発生したため、インクリレーを終了します。(6)"}));
    EXPECT_EQ(ReadFile(p.SettingsFile()), test::DefaultSettingsText);
}

TEST(Close, whileReadingOrDrawingIsRefusedAndTheRunGoesOn) {
    for (bool reading : {true, false}) {
        TestProgram p;
        StartUp(p.Run);
        (reading ? p.State->Scanning : p.State->Drawing) = true;
        EXPECT_FALSE(MainWindowQueryUnload(p.Run));
        File_Exit_Click(p.Run);
        EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>(
                                    2, "画像の読み取り中及び描き込み中は終了できません。")));
        EXPECT_FALSE(p.State->Closing);
        EXPECT_TRUE(reading ? p.State->Scanning : p.State->Drawing);
        EXPECT_FALSE(std::filesystem::exists(p.SettingsFile()));
    }
}

TEST(Close, exitSavesTheSettingsUnloadsTheOtherWindowsAndEnds) {
    TestProgram p;
    StartUp(p.Run);
    Combo1_Click(p.Run, 2);
    p.State->CapturingDrawPos = true;  // a pending capture does not stop the exit
    EXPECT_EQ(EndStatus([&] { File_Exit_Click(p.Run); }), ExitStatus::Normal);
    EXPECT_TRUE(p.State->Closing);
    EXPECT_EQ(p.Ui.UnloadCount, 1);
    EXPECT_NE(ReadFile(p.SettingsFile()).find("\r\nApplet=2;\r\n"), std::string::npos);
}

TEST(Close, anUnwritableProgramFolderShowsTheMessageAndStillEndsNormally) {
    TestProgram p;
    StartUp(p.Run);
    p.Run.ProgramDir = (p.Folder / "missing").string();
    EXPECT_EQ(EndStatus([&] { MainWindowQueryUnload(p.Run); }), ExitStatus::Normal);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{"パスが見つかりません。(76)"}));
}

TEST(ImageWindow, theCloseBoxHidesEndsAPickAndOnlyTheProgramsEndClosesIt) {
    TestProgram p;
    StartUp(p.Run);
    View_ImageWindow_Click(p.Run);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
    EXPECT_EQ(p.Ui.FocusCount, 1);
    p.State->PickingColour = true;
    EXPECT_FALSE(Form2_QueryUnload(p.Run));
    EXPECT_FALSE(p.Ui.ImageWindowShown);
    EXPECT_FALSE(p.State->PickingColour);
    EXPECT_TRUE(p.Ui.Current.FileOpen.value_or(false));
    View_ImageWindow_Click(p.Run);
    View_ImageWindow_Click(p.Run);
    EXPECT_FALSE(p.Ui.ImageWindowShown);
    p.State->Closing = true;
    EXPECT_TRUE(Form2_QueryUnload(p.Run));
}

TEST(MainWindow, theReadmeOpensFromTheProgramFolderWhateverTheCurrentFolder) {
    TestProgram p;
    const auto before = std::filesystem::current_path();
    Help_ShowReadme_Click(p.Run);
    EXPECT_EQ(p.Ui.OpenedDocuments, (std::vector<std::string>{(p.Folder / "Readme.txt").string()}));
    EXPECT_EQ(std::filesystem::current_path(), p.Folder.Path());
    EXPECT_TRUE(p.Ui.Messages.empty());  // missing readme: nothing reported
    std::filesystem::current_path(before);
}

TEST(MainWindow, theModeButtonsSetTheModeAndTheControlsFollow) {
    TestProgram p;
    StartUp(p.Run);
    p.State->ImageLoaded = true;
    p.Ui.Inputs.Selected = SelectedOption::Option2;
    Option2_Click(p.Run);
    EXPECT_EQ(p.State->Mode, 1);
    EXPECT_TRUE(p.Ui.Current.Command1.value_or(false));
    Option1_Click(p.Run);
    EXPECT_EQ(p.State->Mode, 0);
    EXPECT_FALSE(p.Ui.Current.Command1.value_or(true));
}

}  // namespace
}  // namespace inkrelay
