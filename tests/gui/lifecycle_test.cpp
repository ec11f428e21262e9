// The program's start and end as the windows carry them out.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/lifecycle.h"
#include "dialog1.h"
#include "form2.h"
#include "gui_fixture.h"
#include "message_box.h"
#include "test_program.h"

namespace inkrelay::test {
namespace {

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

using LifecycleTest = GuiTest;

TEST_F(LifecycleTest, ExitWritesTheDefaultsAndUnloadsEveryWindow) {
    ASSERT_EQ(Launch(), std::nullopt);
    Main().View_ImageWindow_Click();
    Modals.WithDialog<ui::Dialog1>([](ui::Dialog1& d) { d.Controls().Command1->click(); });
    Main().Help_VersionInformation_Click();
    ASSERT_NE(App().LoadedImageWindow(), nullptr);
    ASSERT_NE(App().LoadedVersionDialog(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));  // start-up only reads

    EXPECT_EQ(Ending([&] { Main().File_Exit_Click(); }), ExitStatus::Normal);
    EXPECT_TRUE(State().Closing);
    EXPECT_EQ(App().LoadedImageWindow(), nullptr);
    EXPECT_EQ(App().LoadedVersionDialog(), nullptr);
    EXPECT_EQ(App().LoadedOptionsDialog(), nullptr);
    const std::string text = SettingsText();
    EXPECT_EQ(CrLfLines(text),
              (std::vector<std::string>{
                  "[Version]", "Version=2.10;", "[Main Settings]", "Mode=0;", "Applet=1;",
                  "ScanCol=0;", "[Recovery Settings]", "Quality=0;", "Formula=0;",
                  "[Scan Settings]", "AutoClose=1;", "[Draw Settings]", "Speed=5;", "Check=1;"}));
    EXPECT_EQ(text, DefaultSettingsText);
}

TEST_F(LifecycleTest, CloseBoxWhenIdleEndsTheProgramNormally) {
    ASSERT_EQ(Launch(), std::nullopt);
    State().Speed = 3;
    EXPECT_EQ(Ending([&] { Main().Form_QueryUnload(); }), ExitStatus::Normal);
    EXPECT_NE(SettingsText().find("\r\nSpeed=3;\r\n"), std::string::npos);
}

TEST_F(LifecycleTest, StoredSettingsComeBackAtTheNextStart) {
    WriteFile(SettingsFile(),
              "[Main Settings]\r\nApplet=0;\r\n[Draw Settings]\r\nSpeed=2;\r\n"
              "Check=0;\r\n");
    ASSERT_EQ(Launch(), std::nullopt);
    EXPECT_EQ(C().Combo1->currentIndex(), 0);
    EXPECT_EQ(State().Speed, 2);
    EXPECT_FALSE(State().Check);
}

TEST_F(LifecycleTest, ASixteenBitScreenEndsTheStartWithoutSettingsFile) {
    Modals.AnswerBox(QMessageBox::Ok);
    EXPECT_EQ(Launch(16), ExitStatus::Fatal);
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text),
              "インクリレーは、画面の色が65,536色（16ビット）以下ではご使用になれません。\n"
              "画面のプロパティで、画面の色を1,677万色（24ビット）以上に設定してご使用ください。");
    EXPECT_EQ(Modals.Boxes()[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Title), "インクリレー");
    EXPECT_FALSE(Main().isVisible());
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(LifecycleTest, ATwentyFourBitScreenStartsWithoutMessage) {
    EXPECT_EQ(Launch(24), std::nullopt);
    EXPECT_TRUE(Modals.Boxes().empty());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(State().Coords[Coord::ScreenWidthPx], 1280);
    EXPECT_EQ(State().Coords[Coord::ScreenHeightPx], 1024);
}

}  // namespace
}  // namespace inkrelay::test
