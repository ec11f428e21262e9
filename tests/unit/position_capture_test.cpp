// The two captures through the main window's buttons: flags, the click that ends them, the
// magnifier and the rest between passes.

#include <gtest/gtest.h>

#include "app/draw_commands.h"
#include "app/lifecycle.h"
#include "draw/magnifier.h"
#include "draw/position_capture.h"
#include "draw/yield_wait.h"
#include "test_program.h"

namespace inkrelay {
namespace {

using test::TestProgram;

// Clicks with `key` at `at` once the capture has passed `passes` times.
void ClickAfter(TestProgram& p, int passes, Key key, ScreenPoint at) {
    p.Ui.OnYield = [&p, passes, key, at] {
        EXPECT_TRUE(p.State->CapturingDrawPos || p.State->CapturingRGBBarPos);
        EXPECT_FALSE(p.State->DrawPosSet && p.State->CapturingDrawPos);
        if (p.Ui.YieldCount == passes) {
            p.Screen.MovePointer(at.X, at.Y);
            p.Screen.PressKey(key);
        }
    };
}

TEST(PositionCapture, aRightClickSetsTheDrawPositionAndEachPassRests) {
    TestProgram p;
    p.State->Coords[Coord::DrawPosX] = 7;
    p.State->DrawPosSet = true;
    ClickAfter(p, 50, Key::RightButton, {640, 480});
    Command3_Click(p.Run);
    EXPECT_TRUE(p.State->DrawPosSet);
    EXPECT_FALSE(p.State->CapturingDrawPos);
    EXPECT_EQ(p.State->Coords[Coord::DrawPosX], 640);
    EXPECT_EQ(p.State->Coords[Coord::DrawPosY], 480);
    EXPECT_EQ(p.Ui.YieldCount, 51);  // the pass that sees the click yields too
    EXPECT_EQ(p.Screen.SleptMilliseconds(), 51u);
}

TEST(PositionCapture, theMagnifierShowsBlackOffTheScreenAndFramesTheCentre) {
    TestProgram p;
    StartUp(p.Run);
    p.Screen.SetPixel(0, 0, 0x123456);
    p.Screen.SetPixel(1, 0, 0x654321);
    ClickAfter(p, 3, Key::LeftButton, {0, 0});
    Command4_Click(p.Run);
    EXPECT_EQ(p.State->Coords[Coord::RGBBarX], 0);
    EXPECT_TRUE(p.State->RGBBarPosSet);
    ASSERT_TRUE(p.Ui.Magnifier);
    const MagnifierImage& m = *p.Ui.Magnifier;
    EXPECT_EQ(p.Ui.MagnifierCount, 4);   // drawn again on the pass that takes the click
    EXPECT_EQ(m.At(0, 0), 0u);           // left of and above the screen
    EXPECT_EQ(m.At(29, 17), 0x0000FFu);  // the frame
    EXPECT_EQ(m.At(30, 18), 0x123456u);  // the pointer's pixel, 3 x 3
    EXPECT_EQ(m.At(32, 20), 0x123456u);
    EXPECT_EQ(m.At(33, 21), 0x0000FFu);
    EXPECT_EQ(m.At(34, 18), 0x654321u);
    EXPECT_EQ(m.At(62, 38), 0xFFFFFFu);
    EXPECT_EQ(p.Screen.RegionReads(), 4);  // one read per pass
    EXPECT_EQ(p.Screen.OpenDcCount(), 0);
}

// A click that comes right after a move, between two polls of the capture, is taken where it
// was made.
TEST(PositionCapture, aPressRightAfterAMoveIsTakenWhereItWasMade) {
    SimDesktop screen(200, 200);
    int calls = 0;
    // The user's move and press land between the capture's first and second desktop call.
    screen.OnCall = [&] {
        if (++calls != 2)
            return;
        screen.MovePointer(50, 60);
        screen.PressKey(Key::LeftButton);
    };
    const ScreenPoint at = CaptureDrawPos(screen, {[] {}, {}});
    EXPECT_EQ(at, (ScreenPoint{50, 60}));
}

TEST(ReadPixelSettled, waitsASecondForPaintAndStopsAtAnUnreadablePixel) {
    SimDesktop screen(10, 10);
    screen.SetAutoAdvance(100);
    auto dc = screen.OpenScreen();
    int yields = 0;
    EXPECT_EQ(ReadPixelSettled(screen, *dc, 1, 1, [&] { ++yields; }), 0xFFFFFFu);
    EXPECT_EQ(yields, 9);
    yields = 0;
    EXPECT_EQ(ReadPixelSettled(screen, *dc, -1, 1, [&] { ++yields; }), ClrInvalid);
    EXPECT_EQ(yields, 1);
    // Across the tick counter's wrap the second is still a second.
    screen.SetClock(INT32_MAX - 150);
    yields = 0;
    ReadPixelSettled(screen, *dc, 1, 1, [&] {
        if (++yields == 3)
            screen.SetPixel(1, 1, 0x10);
    });
    EXPECT_EQ(yields, 4);
}

TEST(YieldWait, yieldsTwoToTheNAndRefusesCountsBeyond16Bits) {
    int yields = 0;
    YieldWait([&] { ++yields; }, 12);
    EXPECT_EQ(yields, 4096);
    EXPECT_THROW(YieldWait([] {}, 15), RuntimeError);
}

}  // namespace
}  // namespace inkrelay
