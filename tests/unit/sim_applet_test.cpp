#include "desktop_applet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "runtime_error.h"

namespace inkrelay {
namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr uint32_t White = SimDesktop::White;
// Canvas 200 x 150 at (10, 10); the bars to its right.
constexpr AppletPlace Place{{10, 10}, 200, 150, {240, 20}};

SimAppletOptions OptionsFor(int16_t applet) {
    SimAppletOptions options;
    options.Applet = applet;
    options.Place = Place;
    return options;
}

// An applet on a desktop, driven through the desktop's own calls as the program would.
struct Rig {
    explicit Rig(const SimAppletOptions& options) : screen(400, 300), on(screen, options) {}
    explicit Rig(int16_t applet) : Rig(OptionsFor(applet)) {}

    // Bar geometry straight from the profile table.
    const AppletProfile& Profile() const { return ProfileOf(on.Applet().Options().Applet); }
    int BarX(int level) const { return Place.Bars.X + level - Profile().Origin; }
    int BarY(int channel, int layout = 0) const {
        return Place.Bars.Y + channel * Profile().Pitch[size_t(layout)];
    }

    void Press(int x, int y, MouseAction down = MouseAction::LeftDown) {
        To(x, y);
        Replay(screen, down);
    }
    void To(int x, int y) { screen.MovePointer(int16_t(x), int16_t(y)); }
    void Up() { screen.ReleaseButton(MouseButton::Left); }
    void SetBar(int channel, int level, int layout = 0) {
        Press(BarX(level), BarY(channel, layout));
        Up();
    }
    int Level(int channel) const { return on.Applet().Levels()[size_t(channel)]; }
    // Canvas coordinates of the pixels no longer white.
    Pixels Painted() const {
        Pixels painted;
        const std::vector<uint32_t> pixels = on.Applet().CanvasPixels();
        for (size_t i = 0; i < pixels.size(); ++i)
            if (pixels[i] != White)
                painted.emplace(int(i % Place.CanvasWidth), int(i / Place.CanvasWidth));
        return painted;
    }

    SimDesktop screen;
    DesktopApplet on;
};

TEST(SimAppletBars, PressTakesOnlyTheLevelsEachAppletAccepts) {
    const std::vector<std::set<int>> accepted = {{0, 1, 2, 49},         {0, 1, 2, 49},
                                                 {0, 1, 2, 49, 50, 51}, {2, 49},
                                                 {0, 1, 2, 49, 50, 51}, {0, 1, 2, 49, 50, 51}};
    for (int16_t applet = 0; applet < AppletCount; ++applet) {
        Rig rig(applet);
        for (int level : {0, 1, 2, 49, 50, 51}) {
            rig.SetBar(1, 30);
            rig.Press(rig.BarX(level), rig.BarY(1));
            // A refused press takes no drag either.
            rig.To(rig.BarX(20), rig.BarY(1));
            rig.Up();
            EXPECT_EQ(rig.Level(1), accepted[size_t(applet)].contains(level) ? 20 : 30)
                << "applet " << applet << " level " << level;
        }
        EXPECT_EQ(rig.Level(0), 0);
        EXPECT_EQ(rig.Level(2), 0);
    }
}

TEST(SimAppletBars, DragsFromAnAcceptedPressReachEveryLevel) {
    Rig paintBbs(1);
    paintBbs.Press(paintBbs.BarX(49), paintBbs.BarY(2));
    paintBbs.To(paintBbs.BarX(50), paintBbs.BarY(2));
    EXPECT_EQ(paintBbs.Level(2), 50);
    // Past the end and off the bar's rows, even over the canvas, the level holds at the end.
    paintBbs.To(paintBbs.BarX(90), 100);
    EXPECT_EQ(paintBbs.Level(2), 51);
    paintBbs.To(50, 50);
    paintBbs.Up();
    EXPECT_EQ(paintBbs.Level(2), 0);
    EXPECT_TRUE(paintBbs.Painted().empty());

    Rig shi(3);
    shi.Press(shi.BarX(2), shi.BarY(0));
    shi.To(shi.BarX(0), shi.BarY(0));
    EXPECT_EQ(shi.Level(0), 0);
    shi.Up();
    shi.Press(shi.BarX(49), shi.BarY(0));
    shi.To(shi.BarX(51), shi.BarY(0));
    shi.Up();
    EXPECT_EQ(shi.Level(0), 51);
    EXPECT_EQ(shi.on.Applet().Colour(), 0x000000FFu);
}

TEST(SimAppletBars, LieOnTheRowsOfTheirLayoutInTheirLevelsColours) {
    for (int16_t applet = 0; applet < AppletCount; ++applet) {
        for (int16_t layout : {0, 1}) {
            SimAppletOptions options = OptionsFor(applet);
            options.Layout = layout;
            Rig rig(options);
            for (int channel = 0; channel < 3; ++channel) {
                const int y = rig.BarY(channel, layout);
                const uint32_t level7 = 35u << (8 * channel);
                EXPECT_EQ(rig.screen.PixelAt(rig.BarX(7), y - 1), level7);
                EXPECT_EQ(rig.screen.PixelAt(rig.BarX(7), y + 2), White);
                EXPECT_EQ(rig.screen.PixelAt(rig.BarX(-1), y), White);
                rig.SetBar(channel, 11, layout);
                rig.Press(rig.BarX(12), y + 1);
                rig.Up();
                rig.Press(rig.BarX(13), y - 2);
                rig.Up();
                EXPECT_EQ(rig.Level(channel), 12) << applet << "/" << layout << "/" << channel;
            }
            // Presses on layout 0's rows miss bars drawn at the other pitch.
            const int16_t pitch0 = ProfileOf(applet).Pitch[0];
            const bool samePitch = pitch0 == ProfileOf(applet).Pitch[size_t(layout)];
            for (int channel = 1; channel < 3; ++channel) {
                rig.SetBar(channel, 25, layout);
                rig.Press(rig.BarX(40), rig.BarY(channel, 0));
                rig.Up();
                EXPECT_EQ(rig.Level(channel), samePitch ? 40 : 25) << applet << "/" << layout;
            }
        }
    }
}

TEST(SimAppletCanvas, PressAndDragPaintOnePixelLinesWithBothEndsInTheColour) {
    Rig rig(0);
    rig.SetBar(0, 10);
    rig.SetBar(2, 49);
    rig.Press(10 + 20, 10 + 20);
    rig.To(10 + 25, 10 + 22);
    rig.Up();
    rig.To(10 + 40, 10 + 40);  // moving and releasing paint nothing
    rig.Up();
    EXPECT_EQ(rig.Painted(), (Pixels{{20, 20}, {21, 20}, {22, 21}, {23, 21}, {24, 22}, {25, 22}}));
    EXPECT_EQ(rig.screen.PixelAt(10 + 22, 10 + 21), 0x00F50032u);

    // Where the error term ties, the line steps diagonally first, as the canvas replay does.
    rig.Press(10 + 30, 10 + 30);
    rig.To(10 + 34, 10 + 32);
    rig.Up();
    for (const auto& pixel : Pixels{{30, 30}, {31, 31}, {32, 31}, {33, 32}, {34, 32}})
        EXPECT_TRUE(rig.Painted().contains(pixel)) << pixel.first << "," << pixel.second;

    // A stroke leaving the canvas paints only its part inside.
    rig.Press(10 + 198, 10 + 5);
    rig.To(10 + 203, 10 + 5);
    rig.Up();
    EXPECT_TRUE(rig.Painted().contains({199, 5}));
    EXPECT_EQ(rig.screen.PixelAt(10 + 200, 10 + 5), White);
    EXPECT_EQ(rig.Painted().size(), 13u);
}

TEST(SimAppletCanvas, ShiSegmentsStopOneShortOfThePointerUntilPressedThere) {
    Rig rig(3);
    rig.Press(10 + 5, 10 + 5);
    rig.To(10 + 8, 10 + 5);
    rig.To(10 + 8, 10 + 7);
    rig.Up();
    EXPECT_EQ(rig.Painted(), (Pixels{{5, 5}, {6, 5}, {7, 5}, {8, 5}, {8, 6}}));
    rig.Press(10 + 8, 10 + 7);
    rig.Up();
    EXPECT_TRUE(rig.Painted().contains({8, 7}));
}

TEST(SimAppletCanvas, OekakiBbsPaintsNoStepLongerThan127) {
    for (int16_t applet : {0, 2}) {
        Rig rig(applet);
        rig.Press(10, 10 + 3);
        rig.To(10 + 128, 10 + 3);
        EXPECT_EQ(rig.Painted().size(), applet == 2 ? 1u : 129u);
        rig.To(10 + 1, 10 + 3 + 127);  // a diagonal of 127 steps from there
        rig.Up();
        EXPECT_TRUE(rig.Painted().contains({64, 67})) << applet;
        EXPECT_EQ(rig.Painted().size(), applet == 2 ? 129u : 129u + 127u) << applet;
    }
}

TEST(SimAppletCanvas, RightPressPicksTheColourOfThePixelAsLevelsUnlessIgnored) {
    for (bool ignored : {false, true}) {
        SimAppletOptions options = OptionsFor(1);
        options.IgnorePickUp = ignored;
        Rig rig(options);
        rig.SetBar(0, 7);
        rig.screen.SetPixel(10 + 3, 10 + 4, 0x00FF0A04);
        rig.Press(10 + 3, 10 + 4, MouseAction::RightDown);
        // Only the canvas gives colours.
        rig.Press(rig.BarX(30), rig.BarY(0), MouseAction::RightDown);
        rig.Press(5, 5, MouseAction::RightDown);
        EXPECT_EQ(rig.on.Applet().Levels(),
                  ignored ? (std::array<int16_t, 3>{7, 0, 0}) : (std::array<int16_t, 3>{0, 2, 51}));
    }
}

// A window's image, as a practice window would give the applet.
struct ImageSurface final : PixelSurface {
    int32_t Width() const override { return 300; }
    int32_t Height() const override { return 200; }
    void SetPixel(int32_t x, int32_t y, uint32_t c) override { image.at(size_t(y * 300 + x)) = c; }
    uint32_t PixelAt(int32_t x, int32_t y) const override { return image.at(size_t(y * 300 + x)); }
    std::vector<uint32_t> image = std::vector<uint32_t>(300 * 200, 0);
};

TEST(SimAppletCanvas, ReleaseMissedByTheWindowStillEndsTheStroke) {
    ImageSurface surface;
    SimApplet applet(OptionsFor(2), surface);
    applet.Mouse(MouseAction::LeftDown, {15, 15});
    applet.Move({16, 15}, true);
    applet.Move({17, 15}, false);  // released outside the window
    applet.Move({18, 15}, true);
    const std::vector<uint32_t> canvas = applet.CanvasPixels();
    EXPECT_EQ(std::count(canvas.begin(), canvas.end(), White), 200 * 150 - 2);
    EXPECT_EQ(canvas[5 * 200 + 6], 0u);
    EXPECT_EQ(surface.PixelAt(Place.Bars.X + 51, Place.Bars.Y + 60), 0x00FF0000u);
}

TEST(SimAppletMisbehaviour, DropsEveryNthAcceptedBarPressWithItsDrag) {
    SimAppletOptions options = OptionsFor(0);
    options.DropEveryNthPress = 2;
    Rig rig(options);
    rig.SetBar(0, 10);
    rig.SetBar(0, 50);  // refused, so not counted
    rig.Press(rig.BarX(20), rig.BarY(0));
    rig.To(rig.BarX(25), rig.BarY(0));
    rig.Up();
    EXPECT_EQ(rig.Level(0), 10);
    rig.SetBar(1, 30);
    EXPECT_EQ(rig.Level(1), 30);
    rig.SetBar(2, 40);
    EXPECT_EQ(rig.Level(2), 0);
}

TEST(SimAppletMisbehaviour, LatePaintLandsOnlyAfterThatManyMoreCalls) {
    SimAppletOptions options = OptionsFor(0);
    options.PaintLag = 3;
    Rig rig(options);
    rig.SetBar(1, 40);
    rig.Press(10 + 2, 10 + 2);
    auto dc = rig.screen.OpenScreen();
    for (int call = 0; call < 3; ++call) EXPECT_EQ(dc->ReadPixel(10 + 2, 10 + 2), White) << call;
    EXPECT_EQ(dc->ReadPixel(10 + 2, 10 + 2), 0x0000C800u);

    // Each pixel of a drag keeps its own count and the colour it was painted in.
    rig.To(10 + 3, 10 + 2);
    rig.Up();
    rig.screen.Sleep(1);
    rig.screen.Sleep(1);
    EXPECT_EQ(rig.Painted().size(), 1u);
    rig.screen.Sleep(1);
    EXPECT_EQ(rig.Painted(), (Pixels{{2, 2}, {3, 2}}));
    EXPECT_EQ(rig.screen.PixelAt(10 + 3, 10 + 2), 0x0000C800u);
}

TEST(SimAppletMisbehaviour, DeadAppletTakesNoInputButShowsItsBars) {
    SimAppletOptions options = OptionsFor(2);
    options.Dead = true;
    Rig rig(options);
    rig.Press(rig.BarX(10), rig.BarY(2));
    rig.To(rig.BarX(40), rig.BarY(2));
    rig.Up();
    rig.screen.SetPixel(10 + 3, 10 + 4, 0x00808080);
    rig.Press(10 + 3, 10 + 4, MouseAction::RightDown);
    rig.Press(10 + 9, 10 + 9);
    rig.To(10 + 19, 10 + 9);
    rig.Up();
    EXPECT_EQ(rig.on.Applet().Levels(), (std::array<int16_t, 3>{0, 0, 0}));
    EXPECT_EQ(rig.Painted(), (Pixels{{3, 4}}));
    EXPECT_EQ(rig.screen.PixelAt(rig.BarX(51), rig.BarY(2)), 0x00FF0000u);
}

// A queued applet handles later, never otherwise: one script at one instant, its inputs given
// straight to the applet as the window would.
struct QueueRun {
    explicit QueueRun(const SimAppletOptions& options) : applet(options, surface) {}

    ScreenPoint Bar(int channel, int level) const {
        const AppletProfile& profile = applet.Profile();
        return {int16_t(Place.Bars.X + level - profile.Origin),
                int16_t(Place.Bars.Y + channel * profile.Pitch[0])};
    }
    static ScreenPoint Canvas(int x, int y) {
        return {int16_t(Place.Canvas.X + x), int16_t(Place.Canvas.Y + y)};
    }
    void Click(ScreenPoint at, MouseAction down = MouseAction::LeftDown) {
        applet.Move(at, false);
        applet.Mouse(down, at);
        const bool left = down == MouseAction::LeftDown;
        applet.Mouse(left ? MouseAction::LeftUp : MouseAction::RightUp, at);
    }
    // Bars set, a pressed bar dragged, a stroke, a colour picked up from it and a dot in it.
    void Script() {
        Click(Bar(0, 40));
        applet.Move(Bar(1, 20), false);
        applet.Mouse(MouseAction::LeftDown, Bar(1, 20));
        applet.Move(Bar(1, 30), true);
        applet.Mouse(MouseAction::LeftUp, Bar(1, 30));
        applet.Move(Canvas(5, 5), false);
        applet.Mouse(MouseAction::LeftDown, Canvas(5, 5));
        applet.Move(Canvas(12, 5), true);
        applet.Move(Canvas(12, 9), true);
        applet.Mouse(MouseAction::LeftUp, Canvas(12, 9));
        Click(Bar(2, 10));
        Click(Canvas(8, 5), MouseAction::RightDown);
        Click(Canvas(30, 30));
    }

    ImageSurface surface;
    SimApplet applet;
};

TEST(SimAppletQueue, BurstIsHandledInOrderAtItsCostAndLosesNothing) {
    SimAppletOptions options = OptionsFor(1);
    options.EventCostMicros = 400;
    const int64_t cost = options.EventCostMicros;
    QueueRun run(options);
    ASSERT_TRUE(run.applet.QueuesInput());
    constexpr int Dots = 30;
    // A press and a release a dot; no moves, so the k-th press is the 2k-th input.
    for (int k = 0; k < Dots; ++k) {
        run.applet.Mouse(MouseAction::LeftDown, QueueRun::Canvas(2 * k, 7));
        run.applet.Mouse(MouseAction::LeftUp, QueueRun::Canvas(2 * k, 7));
    }
    ASSERT_EQ(run.applet.Backlog(), size_t(2 * Dots));
    const auto shown = [&](int k) {
        const ScreenPoint at = QueueRun::Canvas(2 * k, 7);
        return run.surface.PixelAt(at.X, at.Y) != White;
    };
    for (int k = 0; k < Dots; ++k) {
        const int64_t pressed = (2 * k + 1) * cost;
        run.applet.Clock(pressed - 1);
        EXPECT_FALSE(shown(k)) << k;
        EXPECT_TRUE(k == 0 || shown(k - 1)) << k;
        // Seen later, still shown as of the time it was handled.
        run.applet.Clock(pressed + cost / 2);
        EXPECT_TRUE(shown(k)) << k;
        EXPECT_EQ(run.applet.LastShownChangeMicros(), pressed) << k;
        EXPECT_EQ(run.applet.Backlog(), size_t(2 * Dots - 2 * k - 1)) << k;
    }
    run.applet.Clock(2 * Dots * cost);
    EXPECT_EQ(run.applet.Backlog(), 0u);
    EXPECT_FALSE(run.applet.NextHandlingMicros());
    const std::vector<uint32_t> canvas = run.applet.CanvasPixels();
    EXPECT_EQ(std::count(canvas.begin(), canvas.end(), White), 200 * 150 - Dots);
}

TEST(SimAppletQueue, QueuedInputEndsAsTheSameInputHandledAtOnce) {
    for (int32_t dropEvery : {0, 2}) {
        SimAppletOptions options = OptionsFor(1);
        options.DropEveryNthPress = dropEvery;
        QueueRun atOnce(options);
        atOnce.Script();
        options.EventCostMicros = 700;
        QueueRun queued(options);
        queued.Script();

        // Nothing is handled before its cost has passed, the bars included.
        const size_t inputs = queued.applet.Backlog();
        EXPECT_GT(inputs, 20u);
        EXPECT_EQ(queued.applet.Levels(), (std::array<int16_t, 3>{0, 0, 0}));
        EXPECT_EQ(queued.applet.NextHandlingMicros(), options.EventCostMicros);
        const int64_t drained = int64_t(inputs) * options.EventCostMicros;
        queued.applet.Clock(drained - 1);
        EXPECT_EQ(queued.applet.Backlog(), 1u);
        queued.applet.Clock(drained);
        EXPECT_EQ(queued.applet.Backlog(), 0u);

        EXPECT_EQ(queued.applet.Levels(), atOnce.applet.Levels()) << dropEvery;
        EXPECT_EQ(queued.applet.CanvasPixels(), atOnce.applet.CanvasPixels()) << dropEvery;
        EXPECT_EQ(queued.surface.image, atOnce.surface.image) << dropEvery;
        // The pick-up read the stroke the applet had painted by then, blue's press after it
        // undone, so the last dot is in the stroke's colour; the second press is the one lost.
        const std::vector<uint32_t> canvas = queued.applet.CanvasPixels();
        EXPECT_NE(canvas[5 * 200 + 8], White);
        EXPECT_EQ(canvas[30 * 200 + 30], canvas[5 * 200 + 8]) << dropEvery;
        EXPECT_EQ(queued.applet.Levels()[2], 0);
        EXPECT_EQ(queued.applet.Levels()[1], dropEvery == 2 ? 0 : 30);
    }
}

TEST(SimAppletQueue, DeadAppletQueuesNothingAndAStallAloneHoldsOnlyWhatComesDuringIt) {
    SimAppletOptions options = OptionsFor(1);
    options.Dead = true;
    options.EventCostMicros = 500;
    QueueRun dead(options);
    dead.Script();
    EXPECT_EQ(dead.applet.Backlog(), 0u);
    dead.applet.Clock(1000000);
    EXPECT_EQ(dead.applet.CanvasPixels(), std::vector<uint32_t>(200 * 150, White));

    options = OptionsFor(1);
    options.StallEveryNthStroke = 2;
    options.StallMicros = 3000;
    QueueRun stalled(options);
    ASSERT_TRUE(stalled.applet.QueuesInput());
    stalled.Click(QueueRun::Canvas(1, 1));
    EXPECT_EQ(stalled.applet.Backlog(), 0u);  // no cost: handled as it came
    // Bar clicks and pick-ups are no strokes: the second dot is the second stroke and starts
    // the stall.
    stalled.Click(stalled.Bar(0, 20));
    stalled.Click(QueueRun::Canvas(1, 1), MouseAction::RightDown);
    stalled.Click(QueueRun::Canvas(3, 1));
    stalled.Click(QueueRun::Canvas(5, 1));
    EXPECT_EQ(stalled.applet.Backlog(), 3u);
    const auto at = [&](int x) { return stalled.surface.PixelAt(Place.Canvas.X + x, 11); };
    EXPECT_NE(at(3), White);
    stalled.applet.Clock(options.StallMicros - 1);
    EXPECT_EQ(at(5), White);
    stalled.applet.Clock(options.StallMicros);
    EXPECT_NE(at(5), White);
    EXPECT_EQ(stalled.applet.Backlog(), 0u);
}

TEST(SimAppletSetUp, RefusesPlacesItCannotShowAndGivesTheHooksBack) {
    SimDesktop screen(400, 300);
    const auto refused = [&](SimAppletOptions options) {
        EXPECT_THROW(DesktopApplet(screen, options), std::invalid_argument);
    };
    SimAppletOptions options = OptionsFor(3);
    options.Place.Bars = {200, 20};  // level 0 on the canvas's last column
    refused(options);
    options = OptionsFor(0);
    options.Place.Bars.Y = 280;  // the blue bar past the screen's bottom
    refused(options);
    options = OptionsFor(3);
    options.Place.Bars.X = 1;  // level 0 at column -1
    options.Place.Canvas.X = 60;
    refused(options);
    options = OptionsFor(0);
    options.Layout = 2;
    refused(options);
    options = OptionsFor(0);
    options.EventCostMicros = -1;
    refused(options);
    options = OptionsFor(0);
    options.StallEveryNthStroke = -1;
    refused(options);
    options = OptionsFor(0);
    options.StallMicros = -1;
    refused(options);
    EXPECT_THROW(RealisticBrowserApplet(3, 100), std::invalid_argument);
    EXPECT_THROW(RealisticBrowserApplet(4, -1), std::invalid_argument);
    options.Layout = 0;
    options.Applet = AppletCount;
    EXPECT_THROW(DesktopApplet(screen, options), RuntimeError);

    int calls = 0;
    screen.OnCall = [&] { ++calls; };
    {
        DesktopApplet applet(screen, OptionsFor(0));
        screen.Sleep(1);
        EXPECT_EQ(calls, 0);
    }
    screen.Sleep(1);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(screen.OnMouse);
}

}  // namespace
}  // namespace inkrelay
