#include "app/control_states.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "runtime_error.h"
#include "test_program.h"
#include "draw/applet_profile.h"

namespace inkrelay {
namespace {

struct Rules : ::testing::Test {
    Rules() {
        state->Applet = 1;
        state->Speed = 5;
    }
    ControlStates Compute() const { return ComputeControlStates(*state, inputs); }

    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    ControlInputs inputs;
};

// Every enable rule of the window, in one place, for the busy cases.
std::vector<bool> StartingControls(const ControlStates& s) {
    return {*s.FileOpen,
            *s.EditPaste,
            *s.EditSelectAll,
            *s.EditSelectSquare,
            *s.EditCancelSelection,
            *s.Option1Enabled,
            *s.Option2Enabled,
            *s.Combo1Enabled,
            *s.Command1,
            *s.Command2,
            *s.Command3,
            *s.Command4,
            *s.Command5,
            *s.Command6};
}

TEST_F(Rules, afterStartUpWithoutAPicture) {
    const ControlStates s = Compute();
    EXPECT_TRUE(*s.FileOpen && *s.FileExit && *s.Command2 && *s.Command3 && *s.Command4);
    EXPECT_TRUE(*s.Combo1Enabled && *s.Option1Enabled && *s.Option2Enabled && *s.ViewImageWindow);
    EXPECT_FALSE(*s.EditSelectAll || *s.EditSelectSquare || *s.EditCancelSelection);
    EXPECT_FALSE(*s.Command1 || *s.Command5 || *s.Command6 || *s.EditPaste);
    for (const auto& text : {s.Text1, s.Text2, s.Text3, s.Text4}) EXPECT_EQ(*text, "(---,---)");
    EXPECT_EQ(s.StatusText, "");
    EXPECT_EQ(s.Combo1Index, 1);
    EXPECT_EQ(s.Option1Value, true);
    EXPECT_EQ(s.Option2Value, false);
    EXPECT_EQ(s.Picture1Back, (SwatchColour{true, 0}));
    EXPECT_EQ(s.ErrorCode, 0);
}

TEST_F(Rules, duringAReadOnlyTheImageWindowEntryStaysAndTheChoicesAreKept) {
    state->ImageLoaded = state->RangeSelected = state->ScanReady = true;
    state->DrawPosSet = state->RGBBarPosSet = true;
    inputs.ClipboardHasBitmap = true;
    state->Scanning = true;
    const ControlStates s = Compute();
    for (bool enabled : StartingControls(s)) EXPECT_FALSE(enabled);
    EXPECT_FALSE(*s.FileExit);
    EXPECT_TRUE(*s.ViewImageWindow);
    EXPECT_EQ(s.StatusText, "画像を読み取り中...");
    EXPECT_FALSE(s.Option1Value || s.Option2Value || s.Combo1Index);
}

TEST_F(Rules, duringADrawingRunTheImageWindowEntryIsDisabledToo) {
    state->Drawing = true;
    const ControlStates s = Compute();
    for (bool enabled : StartingControls(s)) EXPECT_FALSE(enabled);
    EXPECT_FALSE(*s.ViewImageWindow);
    EXPECT_FALSE(*s.FileExit);
    EXPECT_EQ(s.StatusText, "画像を描き込み中...");
}

TEST_F(Rules, capturesAndThePickPromptInOrderWithTheAppletsRedLevel) {
    state->CapturingRGBBarPos = true;
    EXPECT_EQ(Compute().StatusText, "赤 (R) が 0 になる位置にあわせてクリック");
    EXPECT_TRUE(*Compute().FileExit);
    EXPECT_FALSE(*Compute().ViewImageWindow);
    state->Applet = 3;
    EXPECT_EQ(Compute().StatusText, "赤 (R) が 10 になる位置にあわせてクリック");
    state->CapturingDrawPos = true;
    EXPECT_EQ(Compute().StatusText, "描き込む左上の位置にあわせてクリック");
    state->PickingColour = true;
    EXPECT_EQ(Compute().StatusText, "復元する線にあわせて左クリック");
    state->CapturingRGBBarPos = state->CapturingDrawPos = false;
    EXPECT_TRUE(*Compute().ViewImageWindow);
    EXPECT_FALSE(*Compute().Command2);
}

TEST_F(Rules, aDragInTheVisibleImageWindowShowsTheRangeAndItsSize) {
    state->ImageLoaded = true;
    state->RangeDragging = true;
    state->Coords[Coord::RangeLeft] = 10;
    state->Coords[Coord::RangeTop] = 20;
    state->Coords[Coord::RangeRight] = 5;
    state->Coords[Coord::RangeBottom] = 40;
    EXPECT_EQ(Compute().StatusText, std::nullopt);  // window hidden: the panel keeps its text
    inputs.ImageWindowVisible = true;
    const ControlStates s = Compute();
    EXPECT_EQ(s.StatusText, "選択範囲のサイズ:(6,21)");
    EXPECT_EQ(s.Text1, "(10,20)");
    EXPECT_EQ(s.Text2, "(5,40)");
    EXPECT_FALSE(*s.Command5);  // only a taken range can be read
    EXPECT_FALSE(*s.EditCancelSelection);
}

TEST_F(Rules, aReadyListShowsTheFreeShareAndEnablesDrawingWithBothPositions) {
    state->ScanReady = true;
    EXPECT_EQ(Compute().StatusText, "イベントメモリ残量：100%");
    EXPECT_FALSE(*Compute().Command6);
    state->EventMemEnd = EventMemSize / 4;
    state->DrawPosSet = true;
    state->RGBBarPosSet = true;
    state->Coords[Coord::DrawPosX] = -3;
    state->Coords[Coord::DrawPosY] = 700;
    state->Coords[Coord::RGBBarX] = 1279;
    state->Coords[Coord::RGBBarY] = 0;
    const ControlStates s = Compute();
    EXPECT_EQ(s.StatusText, "イベントメモリ残量：75%");
    EXPECT_TRUE(*s.Command6);
    EXPECT_EQ(s.Text3, "(-3,700)");
    EXPECT_EQ(s.Text4, "(1279,0)");
}

TEST_F(Rules, pasteFollowsTheClipboardAndCancelNeedsARange) {
    inputs.ClipboardHasBitmap = true;
    EXPECT_TRUE(*Compute().EditPaste);
    state->ImageLoaded = true;
    EXPECT_TRUE(*Compute().EditSelectAll);
    EXPECT_FALSE(*Compute().EditCancelSelection);
    state->RangeSelected = true;
    EXPECT_TRUE(*Compute().EditCancelSelection);
    EXPECT_TRUE(*Compute().Command5);
}

TEST_F(Rules, theSwatchFollowsTheButtonTheModeSelectsAndColourPickNeedsLineArt) {
    state->ImageLoaded = true;
    state->ScanCol = 0x0000FF;
    state->Mode = 1;
    inputs.Selected = SelectedOption::Option1;
    ControlStates s = Compute();
    EXPECT_EQ(s.Option2Value, true);
    EXPECT_EQ(s.Picture1Back, (SwatchColour{false, 0x0000FF}));  // selecting 単色線画 repaints it
    EXPECT_TRUE(*s.Command1);
    state->Mode = 0;
    inputs.Selected = SelectedOption::Option2;
    EXPECT_EQ(Compute().Picture1Back, (SwatchColour{true, 0}));
    EXPECT_FALSE(*Compute().Command1);

    // A mode no button stands for unselects both without a click: the swatch is as they stood.
    state->Mode = 5;
    inputs.Selected = SelectedOption::Option1;
    s = Compute();
    EXPECT_EQ(s.Picture1Back, (SwatchColour{true, 0}));
    EXPECT_EQ(s.Option1Value, false);
    EXPECT_EQ(s.Option2Value, false);

    // Busy: the buttons stay as they are and the swatch follows them, not the mode.
    state->Mode = 1;
    state->Scanning = true;
    s = Compute();
    EXPECT_EQ(s.Option1Value, std::nullopt);
    EXPECT_EQ(s.Picture1Back, (SwatchColour{true, 0}));
    inputs.Selected = SelectedOption::Option2;
    EXPECT_EQ(Compute().Picture1Back, (SwatchColour{false, 0x0000FF}));
    EXPECT_FALSE(*Compute().Command1);
}

TEST_F(Rules, anAppletTheListCannotShowStopsAtItsStepWithInvalidPropertyValue) {
    state->Applet = -1;
    EXPECT_EQ(Compute().Combo1Index, -1);
    state->Applet = AppletCount;
    const ControlStates s = Compute();
    EXPECT_EQ(s.ErrorCode, ErrorCode::InvalidPropertyValue);
    EXPECT_TRUE(s.Option1Value.has_value());  // the steps before were decided
    EXPECT_FALSE(s.Combo1Enabled || s.Command2 || s.Text1 || s.StatusText);
}

TEST(UpdateControls, appliesTheStepsBeforeAFailureThenReportsIt) {
    test::TestProgram p;
    p.State->Applet = 7;
    EXPECT_THROW(UpdateControls(p.Run), test::ProgramEnded);
    ASSERT_EQ(p.Ui.Applied.size(), 1u);
    EXPECT_TRUE(p.Ui.Current.FileOpen.value_or(false));
    EXPECT_FALSE(p.Ui.Current.Command2.has_value());
    EXPECT_EQ(p.Ui.Messages.at(0).Text, "問題が発生したため、インクリレーを終了します。(380)");
}

}  // namespace
}  // namespace inkrelay
