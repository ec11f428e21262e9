// The practice applet run as a user runs it, on a private Xvfb, clicked through XTest; what it
// shows is read back from the root window.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "browser_look.h"
#include "child_process.h"
#include "image/png_picture.h"
#include "inkrelay_road.h"
#include "practice_arguments.h"
#include "practice_setup.h"
#include "temp_dir.h"
#include "x_driver.h"
#include "xvfb_server.h"

namespace inkrelay {
namespace {

using road::Point;
using test::TempDir;
using test::XvfbServer;
using Clock = std::chrono::steady_clock;

constexpr uint32_t White = 0x00FFFFFF;
constexpr auto Left = MouseButton::Left;

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}

// The pixel once wanted() takes it, polled for the delivery of the input to the program; what it
// last was after five seconds.
template <typename Wanted>
uint32_t PixelOnce(road::XDriver& screen, Point p, Wanted wanted) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    uint32_t seen = screen.PixelAt(p);
    while (!wanted(seen) && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        seen = screen.PixelAt(p);
    }
    return seen;
}

uint32_t PixelBecomes(road::XDriver& screen, Point p, uint32_t colour) {
    return PixelOnce(screen, p, [colour](uint32_t seen) { return seen == colour; });
}

class PracticeAppletTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = new XvfbServer(800, 600, 24); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    // Starts the program and reads where it put the canvas and the bars.
    void Start(const std::vector<std::string>& args) {
        applet_ = std::make_unique<road::PracticeApplet>(INKRELAY_PRACTICE_APPLET, args,
                                                         server_->DisplayName(), folder_.Path());
        canvas_ = applet_->Canvas();
        bars_ = applet_->Bars();
    }
    int Stop() { return applet_->Stop(); }
    std::string Errors() { return applet_->Process().Errors(); }
    Point Canvas(int x, int y) const { return {canvas_.X + x, canvas_.Y + y}; }
    // The pixel of level on the bar of channel, for the bar's captured level and pitch.
    Point Bar(int channel, int level, int origin, int pitch) const {
        return {bars_.X + level - origin, bars_.Y + channel * pitch};
    }
    std::string DumpPath() const { return (folder_ / "canvas.png").string(); }
    // A pixel of the window under its surface, left of the hint's words.
    Point UnderTheSurface(int16_t applet, int16_t width, int16_t height) const {
        practice::PracticeArguments args;
        args.Applet = applet;
        args.CanvasWidth = width;
        args.CanvasHeight = height;
        const practice::PracticeSetup setup = practice::SetUp(args);
        const ScreenPoint inSurface = setup.Options.Place.Canvas;
        return {canvas_.X - inSurface.X + 2, canvas_.Y - inSurface.Y + setup.SurfaceHeight + 2};
    }

    static XvfbServer* server_;
    TempDir folder_;
    road::XDriver screen_{server_->DisplayName()};
    std::unique_ptr<road::PracticeApplet> applet_;
    Point canvas_;
    Point bars_;
};

XvfbServer* PracticeAppletTest::server_ = nullptr;

TEST(PracticeAppletArguments, BadArgumentsPrintTheUsageAndExitTwoWithoutADisplay) {
    const std::vector<std::vector<std::string>> bad{
        {"--applet", "6"},
        {"--layout", "2"},
        {"--canvas", "0x10"},
        {"--canvas", "10x"},
        {"--lag"},
        {"--lag", "-1"},
        {"--drop-every", "0"},
        {"--dump", ""},
        {"--bogus"},
        {"--applet", "1x"},
        {"--event-cost", "-1"},
        {"--event-cost", std::to_string(int64_t{practice::MaxEventCostMicros} + 1)},
        {"--stall-every", "-1"},
        {"--stall-ms", std::to_string(int64_t{practice::MaxStallMilliseconds} + 1)}};
    for (const auto& args : bad) {
        TempDir folder;
        std::vector<std::string> argv{INKRELAY_PRACTICE_APPLET};
        argv.insert(argv.end(), args.begin(), args.end());
        road::ChildProcess applet(argv, "", folder / "stderr.txt");
        EXPECT_EQ(applet.Wait(std::chrono::seconds(10)), 2) << args[0];
        EXPECT_NE(applet.Errors().find("usage: practice-applet"), std::string::npos) << args[0];
    }
}

// PaintBBS: bars 15 rows apart, captured at level 0, presses above 49 refused.
TEST_F(PracticeAppletTest, PaintsEveryInputAtOnceAndDumpsTheCanvasOnSigterm) {
    Start({"--canvas", "120x80", "--dump", DumpPath()});
    const auto bar = [&](int channel, int level) { return Bar(channel, level, 0, 15); };
    // Printed only once on the screen, so no waiting here.
    EXPECT_EQ(screen_.PixelAt(canvas_), White);
    EXPECT_NE(screen_.PixelAt({canvas_.X - 1, canvas_.Y}), White);
    EXPECT_EQ(screen_.PixelAt(Canvas(119, 79)), White);
    EXPECT_EQ(screen_.PixelAt(bar(0, 10)), Rgb(50, 0, 0));
    EXPECT_EQ(screen_.PixelAt(bar(2, 51)), Rgb(0, 0, 255));
    EXPECT_EQ(screen_.PixelAt(UnderTheSurface(1, 120, 80)), practice::DesktopBackground);

    // Level 51 only by pressing at 49 and dragging.
    screen_.MoveTo(bar(0, 49));
    screen_.Press(Left);
    screen_.MoveTo(bar(0, 51));
    screen_.Release(Left);
    screen_.Click(Canvas(10, 10));
    EXPECT_EQ(PixelBecomes(screen_, Canvas(10, 10), Rgb(255, 0, 0)), Rgb(255, 0, 0));

    screen_.Click(bar(1, 30));
    screen_.Click(bar(2, 40));
    const uint32_t mixed = Rgb(255, 150, 200);
    // An L-shaped drag whose moves queue up while the server is held: merged moves would cut the
    // corner.
    screen_.MoveTo(Canvas(20, 20));
    screen_.HoldServer(true);
    screen_.Press(Left);
    screen_.MoveTo(Canvas(40, 20));
    screen_.MoveTo(Canvas(40, 40));
    screen_.HoldServer(false);
    screen_.Release(Left);
    EXPECT_EQ(PixelBecomes(screen_, Canvas(40, 40), mixed), mixed);
    for (const Point p : {Canvas(20, 20), Canvas(30, 20), Canvas(40, 20), Canvas(40, 30)})
        EXPECT_EQ(screen_.PixelAt(p), mixed) << p.X << "," << p.Y;
    EXPECT_EQ(screen_.PixelAt(Canvas(30, 30)), White);

    // The right button picks the first dot's colour back up.
    screen_.Click(Canvas(10, 10), MouseButton::Right);
    screen_.Click(Canvas(12, 10));
    EXPECT_EQ(PixelBecomes(screen_, Canvas(12, 10), Rgb(255, 0, 0)), Rgb(255, 0, 0));

    ASSERT_EQ(Stop(), 0) << Errors();
    const Picture dump = LoadPngPicture(DumpPath());
    ASSERT_EQ(dump.Width(), 120);
    ASSERT_EQ(dump.Height(), 80);
    EXPECT_EQ(dump.PixelAt(10, 10), Rgb(255, 0, 0));
    EXPECT_EQ(dump.PixelAt(12, 10), Rgb(255, 0, 0));
    EXPECT_EQ(dump.PixelAt(30, 20), mixed);
    EXPECT_EQ(dump.PixelAt(40, 30), mixed);
    EXPECT_EQ(dump.PixelAt(30, 30), White);
    EXPECT_EQ(dump.PixelAt(0, 0), White);
}

// Shi-Painter at layout 1: captured at level 2, bars 20 rows apart, presses within 2..49.
TEST_F(PracticeAppletTest, LagDelaysThePaintByItsMilliseconds) {
    constexpr int Lag = 400;
    Start({"--applet", "3", "--layout", "1", "--lag", std::to_string(Lag), "--canvas", "60x60"});
    const auto bar = [&](int channel, int level) { return Bar(channel, level, 2, 20); };
    EXPECT_EQ(screen_.PixelAt(bar(0, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(screen_.PixelAt(bar(1, 51)), Rgb(0, 255, 0));

    screen_.Click(bar(1, 10));
    screen_.Click(Canvas(5, 5));
    const auto sent = Clock::now();
    EXPECT_EQ(PixelBecomes(screen_, Canvas(5, 5), Rgb(0, 50, 0)), Rgb(0, 50, 0));
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(Lag));
    EXPECT_EQ(Stop(), 0) << Errors();
}

// PaintBBS NEO: bars 13 rows high and 16 apart in bordered boxes, an alpha bar, the framed
// canvas on the page, the pointer mark, paint at frames and moves merged inside 5 ms.
TEST_F(PracticeAppletTest, BrowserAppletShowsItsMarkAndFramesAndLosesAFastDragsCorner) {
    Start({"--applet", "4", "--canvas", "160x120", "--dump", DumpPath()});
    const auto bar = [&](int channel, int level) { return Bar(channel, level, 0, 16); };
    const auto above = [](Point p, int rows) { return Point{p.X, p.Y - rows}; };
    // Level 0 on each box's left border, the top border the unsafe row, alpha full and the rest
    // filled only in their first column.
    EXPECT_EQ(screen_.PixelAt(bar(0, 0)), BrowserBarBorder);
    EXPECT_EQ(screen_.PixelAt(above(bar(1, 10), 7)), BrowserBarBorder);
    EXPECT_EQ(screen_.PixelAt(above(bar(1, 1), 6)), BrowserBarFill[1]);
    EXPECT_EQ(screen_.PixelAt(above(bar(1, 2), 6)), BrowserBarBackground);
    EXPECT_EQ(screen_.PixelAt(above(bar(3, 48), 5)), BrowserBarFill[3]);
    EXPECT_EQ(screen_.PixelAt(above(bar(3, 49), 5)), BrowserBarBorder);
    EXPECT_EQ(screen_.PixelAt({canvas_.X - 1, canvas_.Y - 1}), BrowserCanvasBorder);
    EXPECT_EQ(screen_.PixelAt(UnderTheSurface(4, 160, 120)), BrowserPage);

    // Held: black paint under the mark shows white, the white pixels up-left of it black.
    screen_.MoveTo(Canvas(10, 10));
    screen_.Press(Left);
    EXPECT_EQ(PixelBecomes(screen_, Canvas(9, 9), Rgb(0, 0, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(screen_.PixelAt(Canvas(10, 10)), White);
    screen_.Release(Left);
    EXPECT_EQ(PixelBecomes(screen_, Canvas(10, 10), Rgb(0, 0, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(PixelBecomes(screen_, Canvas(9, 9), White), White);

    // Red at 255: its box is shown full at the next frame.
    screen_.Click(bar(0, 51));
    EXPECT_EQ(PixelBecomes(screen_, above(bar(0, 48), 5), BrowserBarFill[0]), BrowserBarFill[0]);
    // Clicks on the row above the green bar at level 0 set some other level.
    uint32_t paint = 0;
    bool greenChanged = false;
    for (int i = 0; i < 3; ++i) {
        screen_.Click({bar(1, 0).X, bar(1, 0).Y - 7});
        screen_.Click(Canvas(20 + 2 * i, 30));
        // Full red and no blue: the paint, neither white nor under the mark.
        paint = PixelOnce(screen_, Canvas(20 + 2 * i, 30),
                          [](uint32_t seen) { return (seen & 0xFF) == 0xFF && (seen >> 16) == 0; });
        ASSERT_EQ(paint & 0xFF00FF, 0xFFu) << "no paint at " << i;
        greenChanged = greenChanged || paint != Rgb(255, 0, 0);
    }
    EXPECT_TRUE(greenChanged);

    // L-shaped drags, each moves sent back to back under one press: the move to the corner is
    // replaced by the next. The window reads the time as it takes each event, so a window kept
    // off the processor may hand a move on late; one lost corner of three shows the merging.
    for (int i = 0; i < 3; ++i) {
        screen_.MoveTo(Canvas(10 + 40 * i, 50));
        screen_.Press(Left);
        screen_.MoveTo(Canvas(40 + 40 * i, 50));
        screen_.MoveTo(Canvas(40 + 40 * i, 80));
        screen_.Release(Left);
    }
    // A press, move and release per segment keeps the corner.
    const std::vector<Point> segments{Canvas(10, 95), Canvas(60, 95), Canvas(60, 115)};
    for (size_t i = 0; i + 1 < segments.size(); ++i) {
        screen_.MoveTo(segments[i]);
        screen_.Press(Left);
        screen_.MoveTo(segments[i + 1]);
        screen_.Release(Left);
    }
    EXPECT_EQ(PixelBecomes(screen_, segments.back(), paint), paint);

    ASSERT_EQ(Stop(), 0) << Errors();
    const Picture dump = LoadPngPicture(DumpPath());
    int lostCorners = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dump.PixelAt(40 + 40 * i, 80), paint) << i;
        const bool diagonal = dump.PixelAt(25 + 40 * i, 65) == paint;
        const bool corner = dump.PixelAt(25 + 40 * i, 50) == paint;
        EXPECT_NE(diagonal, corner) << i;
        lostCorners += diagonal ? 1 : 0;
    }
    EXPECT_GT(lostCorners, 0);
    EXPECT_EQ(dump.PixelAt(35, 95), paint);
    EXPECT_EQ(dump.PixelAt(60, 105), paint);
    EXPECT_EQ(dump.PixelAt(35, 105), White);
}

// Slowed down and stalling after every stroke, PaintBBS and PaintBBS NEO (whose paint waits for
// its frames too): each input waits for the one before, none is lost, and the queue drains with
// no more input to wake the window.
TEST_F(PracticeAppletTest, EventCostAndStallHoldTheInputBackAndLoseNone) {
    constexpr int CostMs = 60;
    constexpr int StallMs = 400;
    for (const char* applet : {"1", "4"}) {
        Start({"--applet", applet, "--event-cost", std::to_string(CostMs * 1000), "--stall-every",
               "1", "--stall-ms", std::to_string(StallMs), "--canvas", "60x60"});
        const auto sent = Clock::now();
        screen_.Click(Canvas(5, 5));
        screen_.Click(Canvas(15, 5));
        screen_.Click(Canvas(25, 5));
        EXPECT_EQ(PixelBecomes(screen_, Canvas(5, 5), Rgb(0, 0, 0)), Rgb(0, 0, 0)) << applet;
        // At least the press's own turn before the first dot.
        EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(CostMs)) << applet;
        EXPECT_EQ(PixelBecomes(screen_, Canvas(25, 5), Rgb(0, 0, 0)), Rgb(0, 0, 0)) << applet;
        // Three presses and two releases in turn, and a stall after each of the first strokes.
        EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(5 * CostMs + 2 * StallMs))
            << applet;
        EXPECT_EQ(screen_.PixelAt(Canvas(15, 5)), Rgb(0, 0, 0)) << applet;
        EXPECT_EQ(Stop(), 0) << Errors();
    }
}

TEST_F(PracticeAppletTest, DeadAppletPaintsNothing) {
    Start({"--dead", "--canvas", "60x60", "--dump", DumpPath()});
    screen_.Click(Bar(0, 40, 0, 15));
    screen_.MoveTo(Canvas(5, 5));
    screen_.Press(Left);
    screen_.MoveTo(Canvas(25, 5));
    screen_.Release(Left);
    // Nothing to wait for: the pixels are watched for a while instead.
    const auto until = Clock::now() + std::chrono::milliseconds(300);
    while (Clock::now() < until) {
        ASSERT_EQ(screen_.PixelAt(Canvas(5, 5)), White);
        ASSERT_EQ(screen_.PixelAt(Canvas(15, 5)), White);
    }
    ASSERT_EQ(Stop(), 0) << Errors();
    const Picture dump = LoadPngPicture(DumpPath());
    for (int x = 0; x < 30; ++x) EXPECT_EQ(dump.PixelAt(x, 5), White) << x;
}

}  // namespace
}  // namespace inkrelay
