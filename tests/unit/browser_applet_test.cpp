// The simulated browser applets' ways: tall bars with slack and an unsafe row, drawn as the real
// applets' boxes on a framed page, the pointer mark, paint shown at frame ticks, moves merged
// inside a drag, and input taken at the applet's pace.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "browser_look.h"
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

// The boxes' places are what the capture tests snap to; here, the fills that follow the values.
TEST(BrowserLook, fillsFollowBarClicksAndPickUpsAtTheNextFrame) {
    BrowserRig rig(BrowserAppletOptions(5));
    const auto widths = [&] {
        std::vector<int> w;
        for (size_t c = 0; c < 4; ++c) {
            const int row = Place.Bars.Y + 16 * int(c) - 5;  // clear of the label
            int width = 0;
            while (rig.screen.PixelAt(Place.Bars.X + 1 + width, row) == BrowserBarFill[c]) ++width;
            w.push_back(width);
        }
        return w;
    };
    EXPECT_EQ(widths(), (std::vector<int>{1, 1, 1, 48}));
    rig.Click(Place.Bars.X + 51, Place.Bars.Y);       // red 255
    rig.Click(Place.Bars.X + 40, Place.Bars.Y + 16);  // green 200
    EXPECT_EQ(widths(), (std::vector<int>{1, 1, 1, 48}));
    rig.Wait(17);
    EXPECT_EQ(widths(), (std::vector<int>{48, 38, 1, 48}));
    rig.screen.SetPixel(Place.Canvas.X + 3, Place.Canvas.Y + 3, 0x00FF00C8u);
    rig.At(Place.Canvas.X + 3, Place.Canvas.Y + 3);
    rig.screen.PressButton(MouseButton::Right);
    rig.screen.ReleaseButton(MouseButton::Right);
    rig.Wait(17);
    EXPECT_EQ(widths(), (std::vector<int>{38, 1, 48, 48}));
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

// The pace of the real applets; the stall as long as on the practice applet's own 400 x 400
// canvas, so that it stands out from the frames.
SimAppletOptions Realistic(int16_t applet) {
    return RealisticBrowserApplet(applet, 400 * 400);
}

TEST(BrowserApplet, aBurstShowsEachDotAtTheFrameAfterItsTurnAndOnlyPaintBbsNeoStalls) {
    for (int16_t applet : {4, 5}) {
        SimAppletOptions options = Realistic(applet);
        // The dot's own pixel, not the mark over it, tells when it is shown.
        options.PointerMark = false;
        BrowserRig rig(options);
        const int64_t cost = options.EventCostMicros;
        const int64_t frame = options.FrameMicros;
        const int every = options.StallEveryNthStroke;
        const int dots = 2 * std::max(every, 5) + 3;
        const auto dot = [](int k) { return std::pair{2 * (k % 40), 1 + 2 * (k / 40)}; };

        // All sent at one instant, so a press's turn is its place in the queue, and each n-th
        // stroke before it has stalled the applet once.
        std::vector<int64_t> handled;
        for (int k = 0; k < dots; ++k) {
            rig.At(Place.Canvas.X + dot(k).first, Place.Canvas.Y + dot(k).second);
            rig.screen.PressButton(MouseButton::Left);
            const auto turn = static_cast<int64_t>(rig.Applet().Backlog());
            const int64_t stalls = every > 0 ? k / every : 0;
            handled.push_back(turn * cost + stalls * options.StallMicros);
            rig.screen.ReleaseButton(MouseButton::Left);
        }
        EXPECT_EQ(rig.Shown(dot(0).first, dot(0).second), White);

        std::vector<std::optional<int64_t>> shown(static_cast<size_t>(dots));
        for (int64_t ms = 1; ms * 1000 <= handled.back() + 2 * frame; ++ms) {
            rig.Wait(1);
            for (int k = 0; k < dots; ++k) {
                auto& seen = shown[static_cast<size_t>(k)];
                if (!seen && rig.Shown(dot(k).first, dot(k).second) != White)
                    seen = rig.Applet().LastShownChangeMicros();
            }
        }
        EXPECT_EQ(rig.Applet().Backlog(), 0u);
        int64_t stillest = 0;
        for (int k = 0; k < dots; ++k) {
            const int64_t frameAfter = (handled[size_t(k)] + frame - 1) / frame * frame;
            EXPECT_EQ(shown[size_t(k)], frameAfter) << "applet " << applet << " dot " << k;
            if (k > 0 && shown[size_t(k)] && shown[size_t(k - 1)])
                stillest = std::max(stillest, *shown[size_t(k)] - *shown[size_t(k - 1)]);
        }
        // PaintBBS NEO's canvas stands still through its stall, then catches up; しぃペインター
        // NEO shows its next dot by the next frame.
        if (applet == 4)
            EXPECT_GE(stillest, options.StallMicros - frame);
        else
            EXPECT_LE(stillest, frame);
    }
}

// The sender's time per event reaches the applet below the millisecond.
TEST(BrowserApplet, aSenderFasterThanTheAppletOnlyBuildsABacklog) {
    const SimAppletOptions options = Realistic(5);
    const int64_t cost = options.EventCostMicros;
    constexpr int Moves = 200;
    for (bool faster : {false, true}) {
        BrowserRig rig(options);
        // Just slower than the applet, by less than a millisecond an event, or twice as fast.
        rig.screen.SetInputCostMicros(uint32_t(faster ? cost / 2 : cost + cost / 4));
        size_t most = 0;
        for (int i = 0; i < Moves; ++i) {
            rig.At(300 + i % 2, 250);
            most = std::max(most, rig.Applet().Backlog());
        }
        if (!faster) {
            EXPECT_EQ(most, 1u);
            continue;
        }
        EXPECT_GE(most, size_t(Moves / 2));
        // Whenever they came, the last is handled once the applet has spent its time on all.
        const int64_t drained = Moves * cost;
        rig.screen.SetInputCostMicros(0);
        rig.screen.SetClock(int32_t(drained / 1000));
        rig.screen.TickCount();
        EXPECT_GT(rig.Applet().Backlog(), 0u);
        rig.screen.SetClock(int32_t(drained / 1000 + 1));
        rig.screen.TickCount();
        EXPECT_EQ(rig.Applet().Backlog(), 0u);
    }
}

}  // namespace
}  // namespace inkrelay
