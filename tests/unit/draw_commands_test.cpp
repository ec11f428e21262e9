// 描き込む through the main window's handler: confirmation, busy flag, close refusal, result
// flag and the log file beside the program.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/draw_commands.h"
#include "app/lifecycle.h"
#include "draw/drawing_run.h"
#include "test_program.h"

namespace inkrelay {
namespace {

using test::TestProgram;

void ReadyToDraw(TestProgram& p) {
    StartUp(p.Run);
    AppState& s = *p.State;
    s.Check = false;
    s.DrawPosSet = s.RGBBarPosSet = s.ScanReady = true;
    s.Coords[Coord::DrawPosX] = 10;
    s.Coords[Coord::DrawPosY] = 20;
    const int16_t list[] = {Mk, 1, 2, 3, Dt, 4, Cr, Dt, 5};
    for (int k = 0; k < 9; ++k) s.EventMem[k + 1] = list[k];
    s.EventMemEnd = 9;
}

TEST(DrawCommand, declinedAtTheConfirmationChangesNothing) {
    TestProgram p;
    ReadyToDraw(p);
    p.State->DrawSucceeded = true;
    p.Ui.Answers = {MessageAnswer::No};
    Command6_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{ConfirmDrawingText}));
    EXPECT_EQ(p.Ui.Messages[0].Icon, MessageIcon::Exclamation);
    EXPECT_EQ(p.State->LastAnswer, 7);
    EXPECT_TRUE(p.State->DrawSucceeded);
    EXPECT_TRUE(p.Screen.MouseLog().empty());
    EXPECT_FALSE(std::filesystem::exists(p.Folder / "Inkrelay.log"));
    EXPECT_FALSE(p.State->Drawing);
}

TEST(DrawCommand, refusesToCloseWhileDrawingAndWritesTheLogBesideTheProgram) {
    TestProgram p;
    ReadyToDraw(p);
    p.Ui.Answers = {MessageAnswer::Yes};
    bool closeTried = false;
    p.Ui.OnYield = [&] {
        if (!closeTried && !p.Screen.MouseLog().empty()) {
            closeTried = true;
            EXPECT_TRUE(p.State->Drawing);
            EXPECT_EQ(p.Ui.Current.Command6, false);
            EXPECT_FALSE(MainWindowQueryUnload(p.Run));
        }
    };
    Command6_Click(p.Run);
    EXPECT_TRUE(closeTried);
    EXPECT_TRUE(p.State->DrawSucceeded);
    EXPECT_FALSE(p.State->Drawing);
    EXPECT_EQ(p.Ui.Texts().back(), DrawingCompletedMessage);
    EXPECT_EQ(p.Screen.MouseLog().back().At, (ScreenPoint{15, 21}));
    const std::string log = test::ReadFile(p.Folder / "Inkrelay.log");
    EXPECT_EQ(log.rfind("[Ver.2.10]  Mode:0  Applet:1  Speed:5", 0), 0u);
    EXPECT_NE(log.find("EventMemEnd:0000009\r\n"), std::string::npos);
}

TEST(DrawCommand, anOverflowingPositionEndsTheProgramWithoutALog) {
    TestProgram p;
    ReadyToDraw(p);
    p.State->Coords[Coord::DrawPosX] = 32765;
    p.Ui.Answers = {MessageAnswer::Yes};
    EXPECT_THROW(Command6_Click(p.Run), test::ProgramEnded);
    EXPECT_FALSE(std::filesystem::exists(p.Folder / "Inkrelay.log"));
    EXPECT_EQ(p.Ui.Texts().back(), "問題が発生したため、インクリレーを終了します。(6)");
}

}  // namespace
}  // namespace inkrelay
