// The drawing-speed benchmark's own pieces: the recorded pointer actions its raw replay sends
// must draw the expected canvas, and the table's ratios must pair the right runs.

#include <gtest/gtest.h>

#include <tuple>

#include "desktop_applet.h"
#include "draw_speed_counting.h"
#include "draw_speed_report.h"
#include "scan/draw_list_text.h"
#include "sim_desktop.h"

namespace inkrelay::speed {
namespace {

// The benchmark's pictures, read once for all tests.
const Picture& Photo() {
    static const Picture picture = PhotoPicture(PictureSide);
    return picture;
}
const Picture& LineArt() {
    static const Picture picture = LineArtPicture(PictureSide);
    return picture;
}

class RecordedReplayTest : public ::testing::TestWithParam<std::tuple<ReadMethod, int16_t>> {};

// The recorded actions, sent one by one to the simulated applet as the raw replay sends them to
// the practice applet, must leave exactly the expected canvas: a lost or reordered event, a
// wrong bar position or a wrong expectation all show here.
TEST_P(RecordedReplayTest, DrawsTheExpectedCanvasAndMarksEveryEvent) {
    const auto [method, applet] = GetParam();
    const Picture& picture = method == ReadMethod::LineArt ? LineArt() : Photo();
    const DrawList list = ReadList(method, picture);
    int32_t counted = 0;
    for (const int32_t n : CountEvents(*list.Mem, list.End)) counted += n;
    EXPECT_EQ(list.Events, counted);

    const ScreenPoint canvas{8, 8}, bars{240, 16};
    const RecordedReplay replay = RecordReplay(list, applet, method == ReadMethod::LineArt ? 1 : 0,
                                               canvas, bars, PictureSide, PictureSide);
    EXPECT_EQ(replay.Events, list.Events);
    ASSERT_FALSE(replay.Actions.empty());
    EXPECT_EQ(replay.Actions.back().What, PointerAction::EventEnd);
    EXPECT_EQ(replay.Moves + replay.Buttons + replay.Events,
              static_cast<int32_t>(replay.Actions.size()));
    int32_t downs = 0, ups = 0;
    for (const PointerAction& a : replay.Actions) {
        if (a.What == PointerAction::Button)
            (a.Action == MouseAction::LeftDown || a.Action == MouseAction::RightDown ? downs
                                                                                     : ups)++;
    }
    EXPECT_EQ(downs, ups);
    EXPECT_EQ(Mismatches(SimulatedCanvas(replay, replay.Events, applet, canvas, bars, PictureSide,
                                         PictureSide),
                         ExpectedCanvas(method, picture)),
              0);
}

// The inkjet read goes row by row, each row closed by a Cr: the events up to the 50th Cr draw
// exactly the top 50 rows, which is what a run stopped there is compared with.
TEST(SimulatedCanvasTest, StopsAfterTheGivenEvents) {
    const DrawList list = ReadList(ReadMethod::Inkjet, Photo());
    constexpr int32_t Rows = 50;
    int32_t events = 0, rows = 0;
    for (EventWalker walk(*list.Mem, list.End); rows < Rows; walk.Next()) {
        ++events;
        rows += walk.Current().Code == Cr;
    }
    const ScreenPoint canvas{8, 8}, bars{240, 16};
    const RecordedReplay replay = RecordReplay(list, 4, 0, canvas, bars, PictureSide, PictureSide);
    std::vector<uint32_t> expected = ExpectedCanvas(ReadMethod::Inkjet, Photo());
    std::fill(expected.begin() + Rows * PictureSide, expected.end(), White);
    EXPECT_EQ(Mismatches(SimulatedCanvas(replay, events, 4, canvas, bars, PictureSide, PictureSide),
                         expected),
              0);
}

INSTANTIATE_TEST_SUITE_P(Lists, RecordedReplayTest,
                         ::testing::Combine(::testing::Values(ReadMethod::Inkjet,
                                                              ReadMethod::ColorPrime,
                                                              ReadMethod::LineArt),
                                            ::testing::Values(int16_t{1}, int16_t{4})),
                         [](const auto& info) {
                             const ReadMethod m = std::get<0>(info.param);
                             return std::string(m == ReadMethod::Inkjet       ? "Inkjet"
                                                : m == ReadMethod::ColorPrime ? "ColourPrime"
                                                                              : "LineArt") +
                                    "Applet" + std::to_string(std::get<1>(info.param));
                         });

TEST(ExpectedCanvasTest, PhotoIsAllPaintedAndLineArtIsItsBlackPixels) {
    // The photo has no white, so every pixel is drawn and a skipped event cannot hide.
    for (const uint32_t p : ExpectedCanvas(ReadMethod::ColorPrime, Photo())) ASSERT_NE(p, White);
    const std::vector<uint32_t> art = ExpectedCanvas(ReadMethod::LineArt, LineArt());
    int32_t black = 0;
    for (int32_t y = 0; y < PictureSide; ++y)
        for (int32_t x = 0; x < PictureSide; ++x) {
            const uint32_t p = art[static_cast<size_t>(y * PictureSide + x)];
            EXPECT_TRUE(p == 0 || p == White);
            EXPECT_EQ(p == 0, LineArt().PixelAt(x, y) == 0);
            black += p == 0;
        }
    EXPECT_GT(black, 1000);
    EXPECT_THROW(Mismatches({1, 2}, {1}), std::invalid_argument);
    EXPECT_EQ(Mismatches({1, 2, 3}, {1, 5, 6}), 2);
}

// The harness's run over the simulated applet instead of the X11 back end.
struct CountedOnSim {
    static constexpr ScreenPoint CanvasAt{8, 8}, BarsAt{240, 16};

    CountedOnSim(int16_t applet, ReadMethod method, bool check)
        : List(ReadList(method, method == ReadMethod::LineArt ? LineArt() : Photo())) {
        if (applet == 4) {
            Options = BrowserAppletOptions(4);
            Options.FrameMicros = 0;
            Options.MergeMovesMicros = 0;
        }
        Options.Applet = applet;
        Options.Place = {CanvasAt, PictureSide, PictureSide, BarsAt};
        Settings.Mode = method == ReadMethod::LineArt ? 1 : 0;
        Settings.Applet = applet;
        Settings.Check = check;
        Settings.DrawPos = CanvasAt;
        Settings.RGBBarPos = BarsAt;
        Settings.ScanWidth = Settings.ScanHeight = PictureSide;
        Screen.SetAutoAdvance(1);
    }

    CountedRun Run(std::optional<int32_t> stopAfter) {
        DesktopApplet shown(Screen, Options);
        CountedRun run =
            RunCounted(Screen, List, Settings, Tallies, stopAfter, [this] { ++Yields; });
        Drawn = shown.Applet().CanvasPixels();
        return run;
    }

    std::vector<uint32_t> After(int32_t events) const {
        const RecordedReplay replay = RecordReplay(List, Settings.Applet, Settings.Mode, CanvasAt,
                                                   BarsAt, PictureSide, PictureSide);
        return SimulatedCanvas(replay, events, Settings.Applet, CanvasAt, BarsAt, PictureSide,
                               PictureSide);
    }

    DrawList List;
    SimDesktop Screen{1024, 768};
    SimAppletOptions Options;
    DrawSettings Settings;
    HarnessTallies Tallies;
    int64_t Yields = 0;
    std::vector<uint32_t> Drawn;
};

// A stopped run is compared with the model after the same events: the stop must come exactly
// after them, with their paint complete, or the harness would wait for a canvas never shown.
TEST(CountedRunTest, StopsAfterTheGivenEventsWithTheirPaintDone) {
    for (const ReadMethod method : {ReadMethod::ColorPrime, ReadMethod::LineArt}) {
        CountedOnSim sim(4, method, true);
        const CountedRun run = sim.Run(600);
        EXPECT_EQ(run.Outcome, DrawOutcome::Aborted);
        EXPECT_FALSE(run.CompletedBox);
        EXPECT_EQ(sim.Tallies.EscapePolls.Calls, 600);
        EXPECT_EQ(run.Log.find("ErrNum:"), std::string::npos) << run.Log;
        EXPECT_EQ(Mismatches(sim.Drawn, sim.After(600)), 0);
        EXPECT_GT(Mismatches(sim.Drawn, sim.After(sim.List.Events)), 0);
    }
}

// The breakdown's counts are the engine's calls: every move and button event of the replay,
// one Esc poll an event, reads only with the check.
TEST(CountedRunTest, CountsEveryCallOfAWholeRun) {
    for (const bool check : {false, true}) {
        CountedOnSim sim(1, ReadMethod::Inkjet, check);
        const CountedRun run = sim.Run(std::nullopt);
        EXPECT_EQ(run.Outcome, DrawOutcome::Completed);
        EXPECT_TRUE(run.CompletedBox);
        const RecordedReplay replay = RecordReplay(sim.List, 1, 0, CountedOnSim::CanvasAt,
                                                   CountedOnSim::BarsAt, PictureSide, PictureSide);
        EXPECT_EQ(sim.Tallies.Moves.Calls, replay.Moves);
        EXPECT_EQ(sim.Tallies.Buttons.Calls, replay.Buttons);
        EXPECT_EQ(sim.Tallies.EscapePolls.Calls, sim.List.Events);
        EXPECT_EQ(sim.Tallies.Yields.Calls, sim.Yields);
        EXPECT_EQ(sim.Tallies.PixelReads.Calls > 0, check);
        EXPECT_EQ(sim.Tallies.RegionReads.Calls, 0);  // the classic applet checks every event
        EXPECT_EQ(Mismatches(sim.Drawn, ExpectedCanvas(ReadMethod::Inkjet, Photo())), 0);
    }
}

Row MakeRow(const std::string& name, int16_t applet, Variant kind, double seconds,
            int32_t wrong = 0) {
    Row row{name, applet, 1000, kind, {}};
    row.Result.ExactAfter = seconds;
    row.Result.Wrong = wrong;
    return row;
}

TEST(RatioTest, PairsRunsOfTheSameListAndApplet) {
    const std::vector<Row> rows{
        MakeRow("a", 1, Variant::Raw, 1),       MakeRow("a", 1, Variant::CheckOff, 4),
        MakeRow("a", 1, Variant::CheckOn, 6),   MakeRow("a", 4, Variant::Raw, 2),
        MakeRow("a", 4, Variant::CheckOff, 3),  MakeRow("a", 1, Variant::HarnessOff, 2),
        MakeRow("a", 1, Variant::HarnessOn, 5), MakeRow("b", 1, Variant::CheckOff, 1),
        MakeRow("a", 4, Variant::CheckOn, 9, 7)};
    EXPECT_DOUBLE_EQ(*RateToRaw(rows, rows[1]), 0.25);
    EXPECT_DOUBLE_EQ(*RateToRaw(rows, rows[4]), 2.0 / 3);
    // A stopped run is compared per event: half the events in the same time is twice as slow.
    Row stopped = MakeRow("a", 1, Variant::CheckOn, 4);
    stopped.Events = 500;
    EXPECT_DOUBLE_EQ(*TimeToCheckOff(rows, stopped), 2);
    EXPECT_DOUBLE_EQ(*TimeToCheckOff(rows, rows[2]), 1.5);
    // The harness is compared with its own check-off run, not the program's.
    EXPECT_DOUBLE_EQ(*TimeToCheckOff(rows, rows[6]), 2.5);
    // No raw run of b; a canvas that did not end exact gives no ratio.
    EXPECT_FALSE(RateToRaw(rows, rows[7]));
    EXPECT_FALSE(TimeToCheckOff(rows, rows[8]));
    EXPECT_FALSE(RateToRaw(rows, rows[8]));
}

// Calls are shown per draw-list event, the time split by the run's own length.
TEST(RatioTest, HarnessTableSharesTheRunsTime) {
    Row row = MakeRow("a", 4, Variant::HarnessOn, 2);
    row.Events = 100;
    row.Result.Seconds = 2;
    HarnessTallies& t = row.Result.Tallies;
    t.Moves = {110, 0.5};
    t.Buttons = {200, 0.5};
    t.EscapePolls = {100, 0.25};
    t.RegionReads = {90, 0.25};
    t.Yields = {300, 0.2};
    const std::string table = HarnessTable({MakeRow("a", 4, Variant::CheckOff, 1), row});
    EXPECT_NE(table.find("| 4 | a | harness, check on | 2.00 | 1.10 | 2.00 | 1.00 | 0.00 | 0.90 | "
                         "3.00 | 3000.0 | 75 % | 10 % | 15 % |"),
              std::string::npos)
        << table;
    EXPECT_EQ(table.find("inkrelay, Check off"), std::string::npos);
}

}  // namespace
}  // namespace inkrelay::speed
