// The captures on the browser applets take the exact points from clicks near them, read off the
// simulated applets' bars and canvas, and stand by the click where the widget is not the one
// measured: another pitch, a zoomed browser, a covered bar.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/control_states.h"
#include "app/draw_commands.h"
#include "app/lifecycle.h"
#include "browser_look.h"
#include "desktop_applet.h"
#include "draw/capture_snap.h"
#include "draw/magnifier.h"
#include "test_program.h"

namespace inkrelay {
namespace {

struct AppletOnScreen {
    AppletOnScreen(int16_t applet, AppletPlace place) : screen(640, 480) {
        screen.Fill(0, 0, 640, 480, BrowserPage);
        SimAppletOptions options = BrowserAppletOptions(applet);
        options.Place = place;
        on.emplace(screen, options);
    }
    void Click(ScreenPoint at, MouseButton button = MouseButton::Left) {
        screen.MovePointer(at.X, at.Y);
        screen.PressButton(button);
        screen.ReleaseButton(button);
    }
    CaptureSnap Bar(ScreenPoint click) { return SnapToRedBar(*screen.OpenScreen(), click); }
    CaptureSnap Corner(ScreenPoint click) {
        return SnapToCanvasCorner(*screen.OpenScreen(), click);
    }
    ScreenPoint Bars() { return on->Applet().BarPoint(); }
    ScreenPoint Canvas() const { return on->Applet().Options().Place.Canvas; }

    SimDesktop screen;
    std::optional<DesktopApplet> on;
};

ScreenPoint Offset(ScreenPoint p, int dx, int dy) {
    return {static_cast<int16_t>(p.X + dx), static_cast<int16_t>(p.Y + dy)};
}

// The red box's outline at level 0 of the bar point: its top-left border pixel.
ScreenPoint RedBoxCorner(ScreenPoint bars) {
    return Offset(bars, 0, -BrowserBarBoxHeight / 2);
}

TEST(CaptureSnap, everyClickOnOrNearTheBarsSnapsToTheRedBarsLevelZeroWhateverTheValues) {
    const AppletPlace places[] = {{{10, 10}, 120, 90, {200, 30}},
                                  {{300, 200}, 200, 150, {37, 311}}};
    for (const int16_t applet : {int16_t{4}, int16_t{5}}) {
        for (const AppletPlace& place : places) {
            AppletOnScreen a(applet, place);
            const ScreenPoint bars = a.Bars();
            // Levels 0, 37 and 51 on red, green and blue, picked from what each click sets.
            a.Click(Offset(bars, 0, 0));
            a.Click(Offset(bars, 37, BrowserBarPitch));
            a.Click(Offset(bars, 51, 2 * BrowserBarPitch));
            const ScreenPoint corner = RedBoxCorner(bars);
            for (int dy = -SnapReach; dy < BrowserBarBoxHeight + SnapReach; ++dy) {
                for (int dx = -SnapReach; dx < BrowserBarBoxWidth + SnapReach; ++dx) {
                    ASSERT_EQ(a.Bar(Offset(corner, dx, dy)),
                              (CaptureSnap{bars, SnapOutcome::Snapped}))
                        << applet << " " << dx << "," << dy;
                }
            }
            // The other boxes know their place below the red one.
            for (int channel = 1; channel < BrowserBarCount; ++channel)
                for (const int dx : {-SnapReach, 0, 24, BrowserBarBoxWidth + SnapReach - 1})
                    EXPECT_EQ(a.Bar(Offset(bars, dx, channel * BrowserBarPitch)).At, bars)
                        << channel << " " << dx;
            // Just beyond the reach, or on the canvas, the click stands.
            for (const ScreenPoint click :
                 {Offset(corner, -SnapReach - 1, 4), Offset(corner, 10, -SnapReach - 1),
                  Offset(corner, BrowserBarBoxWidth + SnapReach, 4), Offset(a.Canvas(), 20, 20)})
                EXPECT_EQ(a.Bar(click), (CaptureSnap{click, SnapOutcome::NothingNear}))
                    << click.X << "," << click.Y;
        }
    }
}

TEST(CaptureSnap, barsOfAnotherPitchADoubledBoxOrACoveredBarAreNotSnappedTo) {
    SimDesktop screen(640, 480);
    DesktopSurface surface(screen);
    const auto refused = [&](ScreenPoint click, SnapOutcome why) {
        EXPECT_EQ(SnapToRedBar(*screen.OpenScreen(), click), (CaptureSnap{click, why}))
            << click.X << "," << click.Y;
    };
    const auto page = [&] { screen.Fill(0, 0, 640, 480, BrowserPage); };
    const auto fourBoxes = [&](ScreenPoint bars, int32_t pitch) {
        for (int channel = 0; channel < BrowserBarCount; ++channel)
            DrawBrowserBarBox(surface, bars.X, bars.Y + channel * pitch, channel, 128);
    };

    page();
    fourBoxes({100, 100}, BrowserBarPitch + 2);
    refused({120, 100}, SnapOutcome::WrongPitch);
    refused({120, 100 + 3 * (BrowserBarPitch + 2)}, SnapOutcome::WrongPitch);

    // Every pixel of the measured widget twice as wide and tall, as a browser zoomed to 200 %
    // shows it.
    page();
    fourBoxes({100, 100}, BrowserBarPitch);
    SimDesktop zoomed(640, 480);
    for (int32_t y = 0; y < 240; ++y)
        for (int32_t x = 0; x < 320; ++x) zoomed.Fill(2 * x, 2 * y, 2, 2, screen.PixelAt(x, y));
    for (const ScreenPoint click : {ScreenPoint{240, 200}, ScreenPoint{205, 220}})
        EXPECT_EQ(SnapToRedBar(*zoomed.OpenScreen(), click),
                  (CaptureSnap{click, SnapOutcome::WrongSize}));

    // A window over the right half of the bars, and then over the lower two boxes.
    const uint32_t window = 0x00C0C0C0u;
    screen.Fill(100 + BrowserBarBoxWidth / 2, 80, 100, 100, window);
    refused({110, 100}, SnapOutcome::Covered);
    page();
    fourBoxes({100, 100}, BrowserBarPitch);
    screen.Fill(80, 100 + 2 * BrowserBarPitch - 8, 100, 60, window);
    refused({120, 100}, SnapOutcome::Covered);
    // Boxes of the right size and pitch that show no fills are not the bars either.
    page();
    fourBoxes({100, 100}, BrowserBarPitch);
    screen.Fill(101, 100 + BrowserBarPitch - 6, 48, 13, BrowserBarBackground);
    refused({120, 100}, SnapOutcome::Covered);
}

TEST(CaptureSnap, aClickNearTheCanvasCornerSnapsToItsFirstPixel) {
    for (const int16_t applet : {int16_t{4}, int16_t{5}}) {
        AppletOnScreen a(applet, {{40, 60}, 120, 90, {260, 30}});
        // Paint on the corner pixel does not move it.
        a.Click(a.Canvas());
        const ScreenPoint canvas = a.Canvas();
        for (int dy = -SnapReach - 2; dy <= SnapReach + 2; ++dy)
            for (int dx = -SnapReach - 2; dx <= SnapReach + 2; ++dx)
                ASSERT_EQ(a.Corner(Offset(canvas, dx, dy)).At, canvas) << dx << "," << dy;
        for (const ScreenPoint far : {Offset(canvas, 8, 8), Offset(canvas, -8, 0)})
            EXPECT_EQ(a.Corner(far), (CaptureSnap{far, SnapOutcome::NothingNear}));
    }
}

// Through the buttons: the stored point, the text box, the magnifier and the status line show
// the snapped point; the older applets take the click as it is, next to the same widget.
struct CaptureRig {
    explicit CaptureRig(int16_t applet) {
        StartUp(p.Run);
        SimAppletOptions options = BrowserAppletOptions(4);
        options.Place = {{40, 60}, 120, 90, {260, 30}};
        p.Screen.Fill(0, 0, 640, 480, BrowserPage);
        on = std::make_unique<DesktopApplet>(p.Screen, options);
        p.State->Applet = applet;
    }
    // The capture ends at a press at `at` once it has passed a few times.
    void ClickOnNextCapture(ScreenPoint at) {
        p.Screen.ReleaseKey(Key::LeftButton);
        const int start = p.Ui.YieldCount;
        p.Ui.OnYield = [this, at, start] {
            if (p.Ui.YieldCount == start + 3) {
                p.Screen.MovePointer(at.X, at.Y);
                p.Screen.PressKey(Key::LeftButton);
            }
        };
    }
    std::string Status() {
        return ComputeControlStates(*p.State, p.Ui.ObserveControls()).StatusText.value_or("");
    }

    test::TestProgram p;
    std::unique_ptr<DesktopApplet> on;
};

TEST(CaptureSnap, theCapturesStoreAndShowTheSnappedPointAndSayWhenTheyCouldNot) {
    CaptureRig rig(4);
    const ScreenPoint bars{260, 30};
    rig.ClickOnNextCapture({290, 52});  // on the green box
    Command4_Click(rig.p.Run);
    EXPECT_EQ(rig.p.State->Coords[Coord::RGBBarX], bars.X);
    EXPECT_EQ(rig.p.State->Coords[Coord::RGBBarY], bars.Y);
    ASSERT_TRUE(rig.p.Ui.Magnifier);
    // The centre cell is the red box's border pixel of level 0, the one to its right the fill.
    EXPECT_EQ(rig.p.Ui.Magnifier->At(31, 19), BrowserBarBorder);
    EXPECT_EQ(rig.p.Ui.Magnifier->At(34, 19), BrowserBarFill[0]);
    EXPECT_EQ(rig.Status(), SnapNote({bars, SnapOutcome::Snapped}, true));

    rig.ClickOnNextCapture({42, 63});
    Command3_Click(rig.p.Run);
    EXPECT_EQ(rig.p.State->Coords[Coord::DrawPosX], 40);
    EXPECT_EQ(rig.p.State->Coords[Coord::DrawPosY], 60);

    rig.p.Screen.Fill(260 + 20, 0, 200, 200, 0x00C0C0C0u);
    rig.ClickOnNextCapture({265, 32});
    Command4_Click(rig.p.Run);
    EXPECT_EQ(rig.p.State->Coords[Coord::RGBBarX], 265);
    EXPECT_EQ(rig.p.State->Coords[Coord::RGBBarY], 32);
    const std::string covered = rig.Status();
    EXPECT_EQ(covered, SnapNote({{265, 32}, SnapOutcome::Covered}, true));
    EXPECT_NE(covered, SnapNote({{265, 32}, SnapOutcome::NothingNear}, true));
    EXPECT_EQ(covered.find('\r'), std::string::npos);
    EXPECT_TRUE(rig.p.Ui.Messages.empty());
}

// The older applets take the click as it is, next to the same widget.
TEST(CaptureSnap, theOlderAppletsTakeTheClickAsItIs) {
    CaptureRig rig(1);
    rig.ClickOnNextCapture({290, 52});
    Command4_Click(rig.p.Run);
    rig.ClickOnNextCapture({42, 63});
    Command3_Click(rig.p.Run);
    const auto& c = rig.p.State->Coords;
    EXPECT_EQ(
        (std::array{c[Coord::RGBBarX], c[Coord::RGBBarY], c[Coord::DrawPosX], c[Coord::DrawPosY]}),
        (std::array<int16_t, 4>{290, 52, 42, 63}));
}

}  // namespace
}  // namespace inkrelay
