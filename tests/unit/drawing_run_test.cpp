// The drawing run on a simulated desktop without an applet: what it sends, how it paces,
// aborts, ends and logs.

#include <gtest/gtest.h>

#include <vector>

#include "draw/drawing_run.h"
#include "draw_run_fixture.h"

namespace inkrelay {
namespace {

using test::Down;
using test::DrawRunFixture;
using test::Rec;
using test::Up;

TEST(DrawingRun, anEmptyListLogsThreeLinesAndCompletes) {
    DrawRunFixture f;
    EXPECT_EQ(f.Run(), DrawOutcome::Completed);
    EXPECT_TRUE(f.Screen.MouseLog().empty());
    EXPECT_EQ(f.LogFileLines(),
              (std::vector<std::string>{
                  "[Ver.2.10]  Mode:0  Applet:0  Speed:5  ScanWidth:0000  ScanHeight:0000  "
                  "DrawPos:0100,0200  RGBBarPos:0300,0400  EventMemEnd:0000000",
                  "[09:05:01]  Drawing started.", "[09:05:01]  Drawing finished or canceled."}));
    EXPECT_EQ(f.Shown, (std::vector<std::string>{DrawingCompletedMessage}));
    EXPECT_EQ(f.Progress, (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(f.Screen.OpenDcCount(), 0);
}

TEST(DrawingRun, clicksOnlyTheBarsAnMkChangesAndDrawsOnTheCurrentRow) {
    DrawRunFixture f;
    f.Settings.Applet = 1;
    f.Add(Mk, {12, -30, 0});
    f.Add(Cr);
    f.Add(Cr);
    f.Add(Dt, {4});
    f.Add(Gt, {4, 7});
    f.Add(Dt, {5});
    f.Run();
    EXPECT_EQ(f.Screen.MouseLog(), (std::vector<Rec>{{Down, {312, 400}},
                                                     {Up, {312, 400}},
                                                     {Down, {300, 430}},
                                                     {Up, {300, 430}},
                                                     {Down, {104, 202}},
                                                     {Up, {104, 202}},
                                                     {MouseAction::RightDown, {104, 207}},
                                                     {MouseAction::RightUp, {104, 207}},
                                                     {Down, {105, 202}},
                                                     {Up, {105, 202}}}));
}

TEST(DrawingRun, pacesEveryEventBySpeedAndSleepsInBatchesOnlyOnApplet0) {
    for (const int16_t applet : {0, 1}) {
        DrawRunFixture f;
        f.Settings.Applet = applet;
        f.Settings.Speed = 4;
        for (int k = 0; k < 400; ++k) f.Add(Cr);
        f.Run();
        // 8 yields after each Cr, one at each 200th step.
        EXPECT_EQ(f.Yields, 400 * 8 + 2);
        EXPECT_EQ(f.Screen.SleptMilliseconds(), applet == 0 ? 2u * 1200u : 0u);
        EXPECT_EQ(f.Progress, (std::vector<int32_t>{201, 401, 401, 0}));
    }
    DrawRunFixture slow;
    slow.Settings.Speed = 1;
    slow.Add(Cr);
    slow.Run();
    EXPECT_EQ(slow.Yields, 4096);
}

TEST(DrawingRun, escAnsweredYesStopsWithoutTheLogNotice) {
    DrawRunFixture f;
    f.Add(Dt, {1});
    f.Add(Dt, {2});
    f.Screen.PressKey(Key::Escape);
    f.Answers = {true};
    EXPECT_EQ(f.Run(), DrawOutcome::Aborted);
    EXPECT_EQ(f.Asked, (std::vector<std::string>{AbortQuestion}));
    EXPECT_EQ(f.Shown, (std::vector<std::string>{DrawingStoppedMessage}));
    EXPECT_EQ(f.LogFileLines().back(), "[09:05:01]  Drawing finished or canceled.");
    EXPECT_EQ(f.Screen.MouseLog().size(), 3u);  // the dot, then the release before the question
}

TEST(DrawingRun, escDeclinedInAStrokeReleasesAndPressesItsStartAgain) {
    DrawRunFixture f;
    f.Add(Mk, {1, 1, 1});
    f.Add(St, {0, 0});
    f.Add(Mv, {5, 0});
    f.Add(Ed);
    int presses = 0;
    f.Screen.OnMouse = [&](MouseAction action, ScreenPoint) {
        if (action == Down && ++presses == 4)
            f.Screen.PressKey(Key::Escape);  // the stroke's press
    };
    f.Answers = {false};
    f.OnYield = [&] {
        if (!f.Asked.empty())
            f.Screen.ReleaseKey(Key::Escape);
    };
    EXPECT_EQ(f.Run(), DrawOutcome::Completed);
    std::vector<Rec> stroke(f.Screen.MouseLog().begin() + 6, f.Screen.MouseLog().end());
    EXPECT_EQ(stroke,
              (std::vector<Rec>{
                  {Down, {100, 200}}, {Up, {100, 200}}, {Down, {100, 200}}, {Up, {105, 200}}}));
}

// A declined abort goes back to the last drawing event on its own row and in its own colour.
TEST(DrawingRun, escDeclinedAfterACrAndAnMkRedrawsOnTheSameRowInTheSameColour) {
    DrawRunFixture f;
    f.Settings.Applet = 2;
    f.Add(Mk, {10, 20, 30});
    f.Add(Dt, {3});
    f.Add(Cr);
    f.Add(Mk, {-10, 40, -30});
    f.Screen.OnMouse = [&](MouseAction action, ScreenPoint at) {
        if (action == Down && at.X == 340)  // the second Mk's green click
            f.Screen.PressKey(Key::Escape);
    };
    f.Answers = {false};
    f.OnYield = [&] {
        if (!f.Asked.empty())
            f.Screen.ReleaseKey(Key::Escape);
    };
    f.Run();
    std::vector<Rec> resumed;
    for (const Rec& r : f.Screen.MouseLog())
        if (r.Action == Down)
            resumed.push_back(r);
    resumed.erase(resumed.begin(), resumed.begin() + 5);  // first Mk, dot, second Mk's click
    EXPECT_EQ(resumed, (std::vector<Rec>{{Down, {310, 400}},
                                         {Down, {320, 430}},
                                         {Down, {330, 460}},
                                         {Down, {103, 200}},
                                         {Down, {340, 430}}}));
}

TEST(DrawingRun, anUnknownCodeOrACutEventStopsTheRunInOrder) {
    for (const bool cut : {false, true}) {
        DrawRunFixture f;
        f.Add(Dt, {1});
        if (cut) {
            f.Add(Ln, {2, 5});
            --f.End;  // the run's end falls inside the last event
        } else {
            f.Mem[++f.End] = 12;
        }
        EXPECT_EQ(f.Run(), DrawOutcome::Aborted);
        EXPECT_EQ(f.Shown, (std::vector<std::string>{DrawingStoppedMessage}));
        EXPECT_EQ(f.LogWrites, 1);
        EXPECT_EQ(f.Screen.MouseLog().size(), 2u);  // the dot only
    }
}

TEST(DrawingRun, aFaultReleasesTheButtonAndWritesNoLog) {
    DrawRunFixture f;
    f.Settings.DrawPos = {32700, 0};
    f.Add(St, {0, 0});
    f.Add(Mv, {100, 0});  // 32800 leaves 16 bits
    try {
        f.Run();
        FAIL() << "no overflow";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Code(), ErrorCode::Overflow);
    }
    EXPECT_FALSE(f.Screen.LeftHeld());
    EXPECT_EQ(f.LogWrites, 0);
    EXPECT_TRUE(f.Shown.empty());
    EXPECT_EQ(f.Screen.OpenDcCount(), 0);
}

TEST(DrawingRun, aSpeedBeyondTheDialogsRangeIsAnOverflow) {
    DrawRunFixture f;
    f.Settings.Speed = 0;  // 2^15 yields
    f.Add(Cr);
    EXPECT_THROW(f.Run(), RuntimeError);
}

}  // namespace
}  // namespace inkrelay
