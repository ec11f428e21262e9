// Whole runs into the simulated applet: every profile and read method ends exact, and the
// check recovers from an applet that loses clicks, paints late, has its bars elsewhere or is
// dead.

#include <gtest/gtest.h>

#include "applet_run.h"
#include "scan_pictures.h"

namespace inkrelay {
namespace {

using test::AppletRun;

TEST(DrawingOnApplet, everyProfileAndMethodReproducesTheReadExactly) {
    const Picture photo = test::PhotoLikePicture(64, 64, 7);
    const Picture figure = test::LineFigure(64);
    for (int16_t applet = 0; applet < AppletCount; ++applet) {
        for (const ReadMethod method :
             {ReadMethod::Inkjet, ReadMethod::ColorPrime, ReadMethod::LineArt}) {
            AppletRun run(method == ReadMethod::LineArt ? figure : photo, method);
            run.Settings.Check = true;
            run.Open(applet);
            EXPECT_EQ(run.Run(), DrawOutcome::Completed);
            EXPECT_EQ(run.Mismatches(), 0)
                << "applet " << applet << " method " << static_cast<int>(method);
            EXPECT_EQ(run.ErrorLines(), 0);
        }
    }
}

TEST(DrawingOnApplet, lostBarPressesAreFoundAndRedrawn) {
    for (const ReadMethod method : {ReadMethod::Inkjet, ReadMethod::ColorPrime}) {
        AppletRun run(test::PhotoLikePicture(64, 64, 3), method);
        run.Settings.Check = true;
        SimAppletOptions options;
        options.DropEveryNthPress = 7;
        run.Open(1, options);
        EXPECT_EQ(run.Run(), DrawOutcome::Completed);
        EXPECT_EQ(run.Mismatches(), 0);
        EXPECT_GT(run.ErrorLines(), 0);
    }
}

TEST(DrawingOnApplet, paintLaterThanTheCheckWaitsIsRedrawn) {
    AppletRun run(test::PhotoLikePicture(64, 64, 5), ReadMethod::ColorPrime);
    run.Settings.Check = true;
    // A tick read is 100 ms here, so a check gives up after about 20 calls.
    run.Screen.SetAutoAdvance(100);
    SimAppletOptions options;
    options.PaintLag = 24;
    run.Open(3, options);
    EXPECT_EQ(run.Run(), DrawOutcome::Completed);
    EXPECT_EQ(run.Mismatches(), 0);
    EXPECT_GT(run.ErrorLines(), 0);
}

TEST(DrawingOnApplet, barsAtTheOtherPitchChangeTheLayoutAndComplete) {
    for (const int16_t applet : {0, 3}) {
        AppletRun run(test::PhotoLikePicture(64, 64, 9), ReadMethod::Inkjet);
        run.Settings.Check = true;
        SimAppletOptions options;
        options.Layout = 1;
        run.Open(applet, options);
        EXPECT_EQ(run.Run(), DrawOutcome::Completed);
        EXPECT_EQ(run.Report.RGBBarNum, 1);
        EXPECT_EQ(run.Mismatches(), 0) << applet;
    }
}

// Checked after every event (applet 2) or in batches (applet 4).
TEST(DrawingOnApplet, aDeadAppletFailsAfterBothLayoutsWithTheThreeMessages) {
    for (const int16_t applet : {2, 4}) {
        AppletRun run(test::PhotoLikePicture(64, 64, 1), ReadMethod::ColorPrime);
        run.Settings.Check = true;
        SimAppletOptions options;
        options.Dead = true;
        run.Open(applet, options);
        EXPECT_EQ(run.Run(), DrawOutcome::Failed);
        EXPECT_EQ(run.Shown, (std::vector<std::string>{DrawingFailedText, DrawingStoppedMessage,
                                                       LogNoticeText(run.Settings.LogPath)}));
        EXPECT_EQ(run.ErrorLines(), 29);  // 32 failures in a ring of 30, one under the finish line
        // About a second of waiting for paint a failure.
        EXPECT_LT(run.Screen.Now(), 32u * 1200u) << applet;
    }
}

TEST(DrawingOnApplet, browserAppletsReadTheirPointsInOneGrabAndFindLostPresses) {
    for (const ReadMethod method : {ReadMethod::ColorPrime, ReadMethod::LineArt}) {
        AppletRun run(method == ReadMethod::LineArt ? test::LineFigure(64)
                                                    : test::PhotoLikePicture(64, 64, 3),
                      method);
        run.Settings.Check = true;
        SimAppletOptions options;
        options.DropEveryNthPress = 7;
        run.Open(4, options);
        EXPECT_EQ(run.Run(), DrawOutcome::Completed);
        EXPECT_EQ(run.Mismatches(), 0);
        // Line art selects its colour once, so only the full colour list loses presses.
        if (method == ReadMethod::ColorPrime) {
            EXPECT_GT(run.ErrorLines(), 0);
        }
        // The points on their way are read together, not one round trip each.
        EXPECT_GT(run.Screen.RegionReads(), 0);
        EXPECT_EQ(run.Screen.PixelReads(), 0);
    }
}

// Time passes with every call, as on a real screen, so frames fall while the button is held
// and the applet's pointer mark is on the screen when a batch is read.
TEST(DrawingOnApplet, browserAppletsWaitForPaintOncePerCheckAndTakeNoMarkForAFailure) {
    for (const ReadMethod method : {ReadMethod::Inkjet, ReadMethod::ColorPrime}) {
        AppletRun run(test::PhotoLikePicture(64, 64, 5), method);
        run.Settings.Check = true;
        run.Open(4, BrowserAppletOptions(4));
        run.Screen.SetAutoAdvance(0);
        const auto appletTick = run.Screen.OnCall;
        run.Screen.OnCall = [&] {
            run.Screen.AdvanceClock(1);
            appletTick();
        };
        int32_t selections = 0;
        for (EventWalker walker(run.Mem, run.End); !walker.AtEnd(); walker.Next())
            selections += walker.Current().Code == Mk || walker.Current().Code == Gt;
        EXPECT_EQ(run.Run(), DrawOutcome::Completed);
        EXPECT_EQ(run.Mismatches(), 0);
        EXPECT_EQ(run.ErrorLines(), 0) << static_cast<int>(method);
        // Not a frame's wait at every colour selection: the inkjet picks colours up every
        // other event.
        EXPECT_LT(run.Screen.PixelReads() * 3, selections) << static_cast<int>(method);
    }
}

// With the mark under a held button, paint at frame ticks and merged moves all switched on.
TEST(DrawingOnApplet, theBrowserAppletsEndExactByEveryMethodEvenLosingPresses) {
    for (const int16_t applet : {4, 5}) {
        for (const ReadMethod method :
             {ReadMethod::Inkjet, ReadMethod::ColorPrime, ReadMethod::LineArt}) {
            for (const int32_t dropEvery : {0, 7}) {
                AppletRun run(method == ReadMethod::LineArt ? test::LineFigure(64)
                                                            : test::PhotoLikePicture(64, 64, 11),
                              method);
                run.Settings.Check = true;
                SimAppletOptions options = BrowserAppletOptions(applet);
                options.DropEveryNthPress = dropEvery;
                run.Open(applet, options);
                EXPECT_EQ(run.Run(), DrawOutcome::Completed);
                EXPECT_EQ(run.Mismatches(), 0)
                    << applet << " " << static_cast<int>(method) << " " << dropEvery;
                if (dropEvery > 0 && method != ReadMethod::LineArt) {
                    EXPECT_GT(run.ErrorLines(), 0);
                }
            }
        }
    }
}

// A failure found after later batches were drawn sends the run back over them: their points
// show their first paint until the redraw's frame, and a redraw that lost a press must not pass
// on it (the run's last check came before that frame and passed one wrong pixel).
TEST(DrawingOnApplet, aRedrawOverEarlierPaintIsCheckedOnlyOnceItsFrameHasShown) {
    AppletRun run(test::PhotoLikePicture(32, 32, 1), ReadMethod::ColorPrime);
    run.Settings.Check = true;
    SimAppletOptions options = BrowserAppletOptions(4);
    options.DropEveryNthPress = 7;
    run.Open(4, options);
    run.Screen.SetAutoAdvance(0);
    const auto appletTick = run.Screen.OnCall;
    run.Screen.OnCall = [&] {
        run.Screen.AdvanceClock(1);
        appletTick();
    };
    EXPECT_EQ(run.Run(), DrawOutcome::Completed);
    EXPECT_EQ(run.Mismatches(), 0);
}

// Esc held at every failed check and the abort declined: the run goes back to the failing
// point, not to the last event it drew before the check found it.
TEST(DrawingOnApplet, aDeclinedAbortRightAfterAFailedCheckRedrawsWhatFailed) {
    for (const ReadMethod method : {ReadMethod::Inkjet, ReadMethod::ColorPrime}) {
        AppletRun run(test::PhotoLikePicture(64, 64, 3), method);
        run.Settings.Check = true;
        SimAppletOptions options = BrowserAppletOptions(4);
        options.DropEveryNthPress = 7;
        run.Open(4, options);
        // The time of day is taken for each error line, inside the failure's handling.
        run.Hooks.TimeOfDay = [&] {
            run.Screen.PressKey(Key::Escape);
            return std::string("09:05:01");
        };
        const auto answer = run.Hooks.AskYesNo;
        run.Hooks.AskYesNo = [&](const std::string& text) {
            run.Screen.ReleaseKey(Key::Escape);
            return answer(text);
        };
        EXPECT_EQ(run.Run(), DrawOutcome::Completed);
        EXPECT_EQ(run.Mismatches(), 0) << static_cast<int>(method);
        EXPECT_GT(run.Asked.size(), 2u);
    }
}

// Why the browser applets check in batches: under the held button the pointer's pixel shows
// the applet's mark, so a check of every stroke point fails until the run gives up.
TEST(DrawingOnApplet, checkingEveryEventCannotFinishLineArtOnABrowserApplet) {
    AppletRun run(test::LineFigure(64), ReadMethod::LineArt);
    run.Settings.Check = true;
    run.Settings.PerEventCheck = true;
    run.Open(4, BrowserAppletOptions(4));
    EXPECT_EQ(run.Run(), DrawOutcome::Failed);
    EXPECT_EQ(run.Report.RGBBarNum, 1);
}

TEST(DrawingOnApplet, withoutTheCheckALostPressStaysWrong) {
    AppletRun run(test::PhotoLikePicture(64, 64, 3), ReadMethod::ColorPrime);
    SimAppletOptions options;
    options.DropEveryNthPress = 7;
    run.Open(1, options);
    EXPECT_EQ(run.Run(), DrawOutcome::Completed);
    EXPECT_GT(run.Mismatches(), 0);
    EXPECT_EQ(run.LogFileLines().size(), 3u);
}

}  // namespace
}  // namespace inkrelay

namespace inkrelay {
namespace {

// The browser applets as they take input: from a queue at their own rate, PaintBBS NEO
// standing still after every 10th stroke. The run keeps pace and fails nothing that took; a
// fixed wait for paint gave up in every long stand-still.
TEST(PacedDrawing, endsExactWithNoErrorLineThroughLongStallsAndFindsLostPresses) {
    for (const int16_t applet : {4, 5}) {
        for (const ReadMethod method :
             {ReadMethod::Inkjet, ReadMethod::ColorPrime, ReadMethod::LineArt}) {
            for (const int32_t dropEvery : {0, 7}) {
                AppletRun run(method == ReadMethod::LineArt ? test::LineFigure(48)
                                                            : test::PhotoLikePicture(48, 48, 7),
                              method);
                run.Settings.Check = true;
                SimAppletOptions options = RealisticBrowserApplet(applet, 48 * 48);
                options.StallEveryNthStroke = 10;
                options.StallMicros = 1500000;
                options.DropEveryNthPress = dropEvery;
                run.Open(applet, options);
                run.Screen.SetAutoAdvance(1);
                EXPECT_EQ(run.Run(), DrawOutcome::Completed);
                EXPECT_EQ(run.Mismatches(), 0) << applet << " " << static_cast<int>(method);
                if (dropEvery == 0 || method == ReadMethod::LineArt) {
                    EXPECT_EQ(run.ErrorLines(), 0) << applet << " " << static_cast<int>(method);
                } else {
                    EXPECT_GT(run.ErrorLines(), 0);
                }
            }
        }
    }
}

TEST(PacedDrawing, aDeadAppletFailsInOrderWithinSeconds) {
    AppletRun run(test::PhotoLikePicture(32, 32, 1), ReadMethod::ColorPrime);
    run.Settings.Check = true;
    SimAppletOptions options = RealisticBrowserApplet(4, 32 * 32);
    options.Dead = true;
    run.Open(4, options);
    run.Screen.SetAutoAdvance(1);
    EXPECT_EQ(run.Run(), DrawOutcome::Failed);
    EXPECT_EQ(run.Shown, (std::vector<std::string>{DrawingFailedText, DrawingStoppedMessage,
                                                   LogNoticeText(run.Settings.LogPath)}));
    EXPECT_LT(run.Screen.Now(), 10000u);
}

// Esc held while the applet still has input to take: nothing is sent after the question, and
// the canvas stops changing within 0.3 s of it, on the simulated clock.
TEST(PacedDrawing, escStopsTheCanvasWithinAMoment) {
    AppletRun run(test::PhotoLikePicture(48, 48, 2), ReadMethod::ColorPrime);
    run.Settings.Check = true;
    SimAppletOptions options = RealisticBrowserApplet(4, 48 * 48);
    run.Open(4, options);
    run.Screen.SetAutoAdvance(1);
    int64_t events = 0;
    run.OnYield = [&] {
        if (++events == 4000)
            run.Screen.PressKey(Key::Escape);
    };
    int64_t askedAt = 0;
    size_t inputAtQuestion = 0;
    run.Hooks.AskYesNo = [&](const std::string&) {
        askedAt = run.Screen.NowMicros();
        inputAtQuestion = run.Screen.MouseLog().size();
        // Time passes while the box is up; the applet works through what it has.
        for (int k = 0; k < 2000; ++k) {
            run.Screen.AdvanceClock(1);
            run.Screen.TickCount();
        }
        return true;
    };
    EXPECT_EQ(run.Run(), DrawOutcome::Aborted);
    ASSERT_GT(askedAt, 0);
    EXPECT_EQ(run.Screen.MouseLog().size(), inputAtQuestion);
    const std::optional<int64_t> last = run.Applet->Applet().LastShownChangeMicros();
    ASSERT_TRUE(last);
    EXPECT_LT(*last - askedAt, 300000);
}

}  // namespace
}  // namespace inkrelay
