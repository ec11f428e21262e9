// The simulated browser applets' ways: tall bars with slack and an unsafe row, the pointer mark,
// paint shown at frame ticks and moves merged inside a drag.

#include <gtest/gtest.h>

#include <optional>

#include "desktop_applet.h"

namespace inkrelay {
namespace {

constexpr uint32_t White = SimDesktop::White;
constexpr AppletPlace Place{{10, 10}, 100, 80, {200, 20}};

struct BrowserRig {
    explicit BrowserRig(SimAppletOptions options) : screen(400, 300) {
        options.Place = Place;
        on.emplace(screen, options);
    }
    void At(int x, int y) { screen.MovePointer(int16_t(x), int16_t(y)); }
    void Click(int x, int y) {
        At(x, y);
        screen.PressButton(MouseButton::Left);
        screen.ReleaseButton(MouseButton::Left);
    }
    // Moves the clock by ms, as a call that reads it would.
    void Wait(uint32_t ms) {
        screen.AdvanceClock(ms);
        screen.TickCount();
    }
    uint32_t Shown(int x, int y) const {
        return screen.PixelAt(Place.Canvas.X + x, Place.Canvas.Y + y);
    }
    SimApplet& Applet() { return on->Applet(); }

    SimDesktop screen;
    std::optional<DesktopApplet> on;
};

TEST(BrowserApplet, barsAreTallWithSlackAtTheEndsAndAnUnsafeRowAbove) {
    SimAppletOptions options;
    options.Applet = 4;
    options.BrowserBars = true;
    BrowserRig rig(options);
    rig.Click(200 + 30, 20 + 16 + 6);  // green, bottom row
    rig.Click(200 - 5, 20 + 32 - 6);   // blue, five left of level 0
    rig.Click(200 + 51 + 3, 20);       // red, three right of level 51
    EXPECT_EQ(rig.Applet().Levels(), (std::array<int16_t, 3>{51, 30, 0}));
    rig.Click(200 + 10, 20 + 48);  // the alpha bar stays as it is
    EXPECT_EQ(rig.Applet().Levels(), (std::array<int16_t, 3>{51, 30, 0}));
    int changed = 0;
    for (int k = 0; k < 8; ++k) {
        rig.Click(200 + 20, 20 + 16 - 7);  // the row above the green bar
        changed += rig.Applet().Levels()[1] != 20;
    }
    EXPECT_GT(changed, 4);
}

TEST(BrowserApplet, theMarkShowsUnderAHeldButtonAndFramesShowPaintLate) {
    SimAppletOptions options;
    options.Applet = 5;
    options.PointerMark = true;
    options.FrameMicros = 16667;
    BrowserRig rig(options);
    rig.Wait(20);
    rig.At(Place.Canvas.X + 5, Place.Canvas.Y + 5);
    rig.screen.PressButton(MouseButton::Left);
    EXPECT_EQ(rig.Shown(5, 5), White);  // no frame yet
    rig.Wait(17);
    EXPECT_EQ(rig.Shown(5, 5), White);  // black paint under the inverting mark
    EXPECT_EQ(rig.Shown(4, 4), 0u);
    EXPECT_EQ(rig.Applet().CanvasPixels()[5 * 100 + 5], 0u);
    rig.screen.ReleaseButton(MouseButton::Left);
    rig.Wait(17);
    EXPECT_EQ(rig.Shown(5, 5), 0u);
    EXPECT_EQ(rig.Shown(4, 4), White);
}

TEST(BrowserApplet, movesTooCloseTogetherLoseTheirCornerButASingleMoveLands) {
    SimAppletOptions options;
    options.Applet = 4;
    options.MergeMovesMicros = 5000;
    BrowserRig rig(options);
    const auto drag = [&](std::initializer_list<std::pair<int, int>> points) {
        auto p = points.begin();
        rig.At(Place.Canvas.X + p->first, Place.Canvas.Y + p->second);
        rig.screen.PressButton(MouseButton::Left);
        for (++p; p != points.end(); ++p)
            rig.At(Place.Canvas.X + p->first, Place.Canvas.Y + p->second);
        rig.screen.ReleaseButton(MouseButton::Left);
    };
    drag({{0, 0}, {20, 0}, {20, 20}});
    EXPECT_EQ(rig.Shown(10, 0), White);  // the corner at (20, 0) was lost
    EXPECT_EQ(rig.Shown(10, 10), 0u);    // a straight line to the end instead
    drag({{40, 0}, {60, 0}});
    EXPECT_EQ(rig.Shown(50, 0), 0u);
    rig.Wait(6);
    drag({{0, 40}, {20, 40}});
    rig.Wait(6);
    EXPECT_EQ(rig.Shown(20, 40), 0u);
}

}  // namespace
}  // namespace inkrelay
