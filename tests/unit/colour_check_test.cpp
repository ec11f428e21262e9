// The colour check: the verdict table, retries with longer pauses, the layout change, the
// failed run and the error lines of the log.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/colour_check.h"
#include "draw/drawing_run.h"
#include "draw/event_replay.h"
#include "draw_run_fixture.h"

namespace inkrelay {
namespace {

using test::DrawRunFixture;
constexpr uint32_t White = 0xFFFFFF;

TEST(CheckVerdict, readsTheEventsLastPointAndResumesAtItsColour) {
    EventMemory mem;
    // Cells: 1 Mk 1 2 3, 5 Ln 4 9, 8 CL 2 6 7, 12 St 3 4, 15 Ed, 16 Cr
    const int16_t cells[] = {Mk, 1, 2, 3, Ln, 4, 9, CL, 2, 6, 7, St, 3, 4, Ed, Cr};
    for (int k = 0; k < 16; ++k) mem[k + 1] = cells[k];
    SimDesktop screen(800, 600);
    PointerActions act(screen, [] {});
    const DrawPlaces places = DrawPlaces::Of(ProfileOf(1), {100, 200}, {300, 400});
    EventReplayer replayer(act, ProfileOf(1), places);
    std::vector<std::optional<ScreenPoint>> drawn;
    for (EventWalker walker(mem, 16); !walker.AtEnd(); walker.Next())
        if (walker.Current().Code != Mk)
            drawn.push_back(replayer.Draw(DecodeEvent(walker), 203));
    // A line's end column itself, a stroke's last point for its Ed, nothing for a Cr.
    EXPECT_EQ(drawn, (std::vector<std::optional<ScreenPoint>>{
                         ScreenPoint{109, 203}, ScreenPoint{106, 207}, ScreenPoint{103, 204},
                         ScreenPoint{103, 204}, std::nullopt}));

    RunPosition mkColour;
    mkColour.RmkPnt = 1;
    const CheckPoint ln = CheckPointOf(Ln, {109, 203}, mkColour);
    EXPECT_FALSE(ln.OnlyWhiteFails);
    EXPECT_EQ(ln.ResumeAt, 1);
    RunPosition pickedUp = mkColour;
    pickedUp.RgtPnt = 4;
    const CheckPoint picked = CheckPointOf(Ln, {109, 203}, pickedUp);
    EXPECT_TRUE(picked.OnlyWhiteFails);
    EXPECT_EQ(picked.ResumeAt, 4);
    // Only dots and runs test a picked-up colour for white; strokes resume at the Mk.
    EXPECT_FALSE(CheckPointOf(Mv, {1, 1}, pickedUp).OnlyWhiteFails);
    EXPECT_EQ(CheckPointOf(CD, {1, 1}, pickedUp).ResumeAt, 1);
    EXPECT_EQ(CheckVerdict(picked, 0x123456, 0), 0);
    EXPECT_EQ(CheckVerdict(picked, ClrInvalid, 0), 0);
    EXPECT_EQ(CheckVerdict(picked, White, 0), 4);
    EXPECT_EQ(CheckVerdict(ln, ClrInvalid, 0x0A0A0A), 1);
    EXPECT_EQ(CheckVerdict(ln, White, 0xFFFFFF), 0);  // a white line passes as white
    EXPECT_EQ(CheckVerdict(CheckPoint{{0, 0}, false, 0}, White, 5), 0);  // no colour yet
}

// A desktop whose pixel at `at` shows colour only from the press number `from` on.
void PaintOnPress(DrawRunFixture& f, ScreenPoint at, uint32_t colour, int from) {
    auto presses = std::make_shared<int>(0);
    f.Screen.OnMouse = [&f, at, colour, from, presses](MouseAction action, ScreenPoint p) {
        if (action == MouseAction::LeftDown && p == at && ++*presses >= from)
            f.Screen.SetPixel(at.X, at.Y, colour);
    };
}

TEST(ColourCheck, isSkippedWithCheckOff) {
    DrawRunFixture f;
    f.Add(Mk, {1, 1, 1});
    f.Add(Dt, {0});
    f.Run();
    EXPECT_EQ(f.Screen.PixelReads(), 0);
    EXPECT_EQ(f.Report.DET, 0);
    EXPECT_EQ(f.LogFileLines().size(), 3u);
}

TEST(ColourCheck, aFailureLogsAndReplaysFromTheMkOnTheSavedRow) {
    DrawRunFixture f;
    f.Settings.Check = true;
    f.Add(Mk, {1, 1, 1});
    f.Add(Cr);
    f.Add(Dt, {0});
    PaintOnPress(f, {100, 201}, 0x050505, 2);
    EXPECT_EQ(f.Run(), DrawOutcome::Completed);
    EXPECT_EQ(f.LogFileLines()[2],
              "[09:05:01]  ErrNum:MkDt  ErrCnt:01  RGBBarNum:0  DET:00  i:0000008  "
              "RmkPnt:0000001  RgtPnt:0000000  RsmPnt:0000006  RmkRGB:01,01,01");
    EXPECT_EQ(f.Report.DET, 0);  // raised to 1 by the failure, lowered by the pass
    EXPECT_EQ(f.Report.ErrCnt, 0);
    // Row came back to its value at the Mk, so the replay pressed the same pixel again.
    std::vector<ScreenPoint> dots;
    for (const auto& r : f.Screen.MouseLog())
        if (r.Action == MouseAction::LeftDown && r.At.X == 100)
            dots.push_back(r.At);
    EXPECT_EQ(dots, (std::vector<ScreenPoint>{{100, 201}, {100, 201}}));
}

TEST(ColourCheck, afterAPickUpOnlyWhiteFailsAndTheReplayPicksUpAgain) {
    DrawRunFixture f;
    f.Settings.Check = true;
    f.Add(Mk, {1, 1, 1});
    f.Add(Gt, {9, 9});
    f.Add(Dt, {3});
    PaintOnPress(f, {103, 200}, 0x0000FF, 2);  // some colour other than the Mk's
    int pickUps = 0;
    auto paint = f.Screen.OnMouse;
    f.Screen.OnMouse = [&](MouseAction action, ScreenPoint p) {
        pickUps += action == MouseAction::RightDown;
        paint(action, p);
    };
    EXPECT_EQ(f.Run(), DrawOutcome::Completed);
    EXPECT_EQ(pickUps, 2);
    EXPECT_NE(f.LogFileLines()[2].find("ErrNum:GtDt"), std::string::npos);
}

TEST(ColourCheck, changesLayoutAfter16FailuresAndFailsAfter16More) {
    DrawRunFixture f;
    f.Settings.Check = true;
    f.Settings.Applet = 1;
    f.Add(Mk, {1, 1, 1});
    f.Add(Dt, {0});
    bool layout1Clicked = false;
    f.Screen.OnMouse = [&](MouseAction, ScreenPoint p) { layout1Clicked |= p.Y == 418; };
    EXPECT_EQ(f.Run(), DrawOutcome::Failed);
    EXPECT_TRUE(layout1Clicked);
    EXPECT_EQ(f.Report.RGBBarNum, 1);
    EXPECT_EQ(f.Report.ErrCnt, 16);
    EXPECT_EQ(f.Report.DET, 12);
    EXPECT_EQ(f.Shown, (std::vector<std::string>{DrawingFailedText, DrawingStoppedMessage,
                                                 LogNoticeText("/folder/Inkrelay.log")}));
    EXPECT_EQ(f.Icons.front(), DrawNotice::Critical);
    // 32 error lines wrapped the ring: the finish line took the slot after the newest.
    EXPECT_EQ(f.Report.LogIdx, 4);
    EXPECT_NE(f.WrittenLog[4].find("Drawing finished"), std::string::npos);
    EXPECT_NE(f.WrittenLog[3].find("ErrCnt:16  RGBBarNum:1  DET:12"), std::string::npos);
}

TEST(ColourCheck, thirtyOneFailuresWrapTheRingOfErrorLines) {
    DrawRunFixture f;
    f.Settings.Check = true;
    f.Add(Mk, {1, 1, 1});
    for (int16_t x = 0; x < 31; ++x) f.Add(Dt, {x});
    // Each dot takes at its second press.
    std::map<int16_t, int> presses;
    f.Screen.OnMouse = [&](MouseAction action, ScreenPoint p) {
        if (action == MouseAction::LeftDown && ++presses[p.X] == 2)
            f.Screen.SetPixel(p.X, p.Y, 0x050505);
    };
    EXPECT_EQ(f.Run(), DrawOutcome::Completed);
    const std::vector<std::string> lines = f.LogFileLines();
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_NE(lines[2].find("i:0000067"), std::string::npos);  // the 31st, at the last dot
    EXPECT_NE(lines[3].find("Drawing finished"), std::string::npos);
    EXPECT_NE(lines[4].find("i:0000011"), std::string::npos);   // the 3rd
    EXPECT_NE(lines[31].find("i:0000065"), std::string::npos);  // the 30th
}

}  // namespace
}  // namespace inkrelay
