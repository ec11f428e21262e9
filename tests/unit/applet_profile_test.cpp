// Bar clicks and line replay per applet, as the pointer and button events they send.

#include <gtest/gtest.h>

#include <vector>

#include "draw/applet_profile.h"
#include "draw_run_fixture.h"
#include "sim_desktop.h"

namespace inkrelay {
namespace {

using test::Down;
using test::DrawRunFixture;
using test::Rec;
using test::Up;

std::vector<Rec> Click(int16_t applet, int16_t v, int16_t y = 415) {
    SimDesktop screen(800, 600);
    int settles = 0;
    PointerActions act(screen, [&] { ++settles; });
    ClickBar(act, ProfileOf(applet), 300, v, y);
    EXPECT_GE(settles, 2);
    return screen.MouseLog();
}

TEST(ClickBar, pressesAt49AndDragsForLevelsAboveOnApplets0And1) {
    SimDesktop screen(800, 600);
    std::vector<ScreenPoint> moves;
    screen.OnMove = [&](ScreenPoint p, bool) { moves.push_back(p); };
    PointerActions act(screen, [] {});
    ClickBar(act, ProfileOf(1), 300, 50, 415);
    EXPECT_EQ(screen.MouseLog(), (std::vector<Rec>{{Down, {349, 415}}, {Up, {350, 415}}}));
    EXPECT_EQ(moves, (std::vector<ScreenPoint>{{349, 415}, {350, 415}}));
    EXPECT_EQ(Click(0, 49), (std::vector<Rec>{{Down, {349, 415}}, {Up, {349, 415}}}));
}

TEST(ClickBar, clampsThePressOnApplet3AndDragsToTheLevel) {
    // The captured point is level 2, so level L lies at RGBBarX + L - 2.
    EXPECT_EQ(Click(3, 0), (std::vector<Rec>{{Down, {300, 415}}, {Up, {298, 415}}}));
    EXPECT_EQ(Click(3, 51), (std::vector<Rec>{{Down, {347, 415}}, {Up, {349, 415}}}));
    EXPECT_EQ(Click(3, 20), (std::vector<Rec>{{Down, {318, 415}}, {Up, {318, 415}}}));
}

TEST(ClickBar, clicksPlainlyOnApplet2) {
    EXPECT_EQ(Click(2, 51), (std::vector<Rec>{{Down, {351, 415}}, {Up, {351, 415}}}));
}

TEST(ClickBar, raisesOverflowForABarBeyond16Bits) {
    SimDesktop screen(800, 600);
    PointerActions act(screen, [] {});
    EXPECT_THROW(ClickBar(act, ProfileOf(2), 32760, 20, 0), RuntimeError);
}

TEST(AppletProfiles, refuseAnAppletOutsideTheList) {
    EXPECT_THROW(ProfileOf(AppletCount), RuntimeError);
    EXPECT_EQ(FindProfile(-1), nullptr);
    EXPECT_EQ(CapturedRedValue(3), 10);
    EXPECT_EQ(CapturedRedValue(1), 0);
}

TEST(AppletProfiles, putTheBarsOfBothLayoutsAtTheirPitch) {
    struct Case {
        int16_t Applet;
        int16_t Green0, Blue0, Green1, Blue1;
    };
    for (const Case c :
         {Case{1, 415, 430, 418, 436}, Case{2, 430, 460, 430, 460}, Case{3, 414, 428, 420, 440}}) {
        DrawRunFixture f;
        f.Settings.Applet = c.Applet;
        f.Run();
        using Rows = std::array<int16_t, 3>;
        EXPECT_EQ(f.Report.BarRowY[0], (Rows{400, c.Green0, c.Blue0})) << c.Applet;
        EXPECT_EQ(f.Report.BarRowY[1], (Rows{400, c.Green1, c.Blue1})) << c.Applet;
    }
}

TEST(LineReplay, passesWaypointsEvery127ColumnsOnApplet2) {
    DrawRunFixture f;
    f.Settings.Applet = 2;
    f.Settings.DrawPos = {0, 10};
    std::vector<int16_t> heldMoves;
    f.Screen.OnMove = [&](ScreenPoint p, bool held) {
        if (held)
            heldMoves.push_back(p.X);
    };
    f.Add(Ln, {0, 300});
    f.Add(Ln, {400, 527});  // 128 pixels: no waypoint
    f.Run();
    EXPECT_EQ(heldMoves, (std::vector<int16_t>{127, 254, 300, 527}));
}

TEST(LineReplay, endsOneColumnFurtherAndRepressesAtVerticesOnApplet3) {
    DrawRunFixture f;
    f.Settings.Applet = 3;
    f.Add(Ln, {5, 9});
    f.Add(St, {1, 1});
    f.Add(Mv, {4, 1});
    f.Add(Ed);
    f.Run();
    EXPECT_EQ(f.Screen.MouseLog(), (std::vector<Rec>{{Down, {105, 200}},
                                                     {Up, {110, 200}},
                                                     {Down, {101, 201}},
                                                     {Up, {104, 201}},
                                                     {Down, {104, 201}},
                                                     {Up, {104, 201}}}));
}

}  // namespace
}  // namespace inkrelay
