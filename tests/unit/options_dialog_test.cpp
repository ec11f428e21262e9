#include "app/options_dialog.h"

#include <gtest/gtest.h>

#include "app/lifecycle.h"
#include "runtime_error.h"
#include "test_program.h"

namespace inkrelay {
namespace {

struct Options : ::testing::Test {
    Options() { StartUp(p.Run); }
    std::string Written() const { return test::ReadFile(p.SettingsFile()); }
    test::TestProgram p;
    OptionsDialogLogic dialog;
};

TEST_F(Options, theDefaultsShowBestQualityInkjetBothTickedAndFullSpeed) {
    EXPECT_EQ(dialog.Load(*p.State), (OptionsControls{0, 0, 1, 1, 5}));
}

TEST_F(Options, okWithoutChangeWritesTheFileAndKeepsAReadUsable) {
    p.State->ScanReady = true;
    dialog.Ok(p.Run, dialog.Load(*p.State));
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_TRUE(p.State->ScanReady);
    EXPECT_EQ(Written(), test::DefaultSettingsText);
    EXPECT_EQ(p.Ui.Current.StatusText, "イベントメモリ残量：100%");
}

TEST_F(Options, changingTheQualityAfterAReadTellsTheUserAndDisablesDrawing) {
    p.State->ScanReady = p.State->DrawPosSet = p.State->RGBBarPosSet = true;
    OptionsControls controls = dialog.Load(*p.State);
    controls.Combo1Index = 1;
    dialog.Ok(p.Run, controls);
    ASSERT_EQ(p.Ui.Messages.size(), 1u);
    EXPECT_EQ(p.Ui.Messages[0].Text,
              "復元に関する設定が変更されました。\rこの変更を有効にするため、再度読み取りを行ってく"
              "ださい。");
    EXPECT_EQ(p.Ui.Messages[0].Icon, MessageIcon::Information);
    EXPECT_FALSE(p.State->ScanReady);
    EXPECT_EQ(p.Ui.Current.Command6, false);
    EXPECT_NE(Written().find("\r\nQuality=1;\r\n"), std::string::npos);
}

TEST_F(Options, changingTheMethodBeforeAnyReadOnlyStoresIt) {
    OptionsControls controls = dialog.Load(*p.State);
    controls.Combo2Index = 1;
    controls.Check1 = 0;
    controls.Check2 = 0;
    controls.Slider1 = 2;
    dialog.Ok(p.Run, controls);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.State->Formula, 1);
    EXPECT_FALSE(p.State->AutoClose);
    EXPECT_FALSE(p.State->Check);
    EXPECT_EQ(p.State->Speed, 2);
    EXPECT_EQ(dialog.Load(*p.State), controls);
}

TEST_F(Options, aChangeBackToTheShownValuesIsNoChange) {
    p.State->ScanReady = true;
    p.State->Quality = 2;
    OptionsControls controls = dialog.Load(*p.State);
    p.State->Quality = 0;  // changed elsewhere while the dialog was open
    dialog.Ok(p.Run, controls);
    EXPECT_TRUE(p.State->ScanReady);
    EXPECT_EQ(p.State->Quality, 2);
}

TEST_F(Options, aFailedWriteIsReportedAndTheNewValuesStay) {
    p.Run.ProgramDir = (p.Folder / "missing").string();
    OptionsControls controls = dialog.Load(*p.State);
    controls.Slider1 = 1;
    dialog.Ok(p.Run, controls);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{"パスが見つかりません。(76)"}));
    EXPECT_EQ(p.State->Speed, 1);
}

TEST_F(Options, valuesTheControlsCannotShowRaiseInvalidPropertyValue) {
    for (auto set : std::vector<std::function<void(AppState&)>>{
             [](AppState& s) { s.Quality = 3; }, [](AppState& s) { s.Formula = -1; },
             [](AppState& s) { s.Speed = 0; }, [](AppState& s) { s.Speed = 6; }}) {
        AppState state;
        SetSettingDefaults(state);
        set(state);
        try {
            dialog.Load(state);
            ADD_FAILURE() << "accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Code(), ErrorCode::InvalidPropertyValue);
        }
    }
}

}  // namespace
}  // namespace inkrelay
