#include "sim_desktop.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime_error.h"

namespace inkrelay {
namespace {

using Record = SimDesktop::MouseRecord;

TEST(SimDesktopScreen, ReportsItsSizeAndDepth) {
    SimDesktop desktop(320, 200, 16);
    EXPECT_EQ(desktop.ScreenPixels().Width, 320);
    EXPECT_EQ(desktop.ScreenPixels().Height, 200);
    EXPECT_EQ(desktop.ColourBits(), 16);
    EXPECT_EQ(SimDesktop(4, 3).ColourBits(), 24);
}

TEST(SimDesktopScreen, RejectsSizesWithoutScreenPoints) {
    EXPECT_THROW(SimDesktop(0, 10), std::invalid_argument);
    EXPECT_THROW(SimDesktop(10, -1), std::invalid_argument);
    EXPECT_THROW(SimDesktop(32768, 1), std::invalid_argument);
    EXPECT_NO_THROW(SimDesktop(32767, 1));
}

TEST(SimDesktopScreen, StartsWhiteAndKeepsPixelsApart) {
    SimDesktop desktop(5, 4);
    EXPECT_EQ(desktop.PixelAt(0, 0), SimDesktop::White);
    EXPECT_EQ(desktop.PixelAt(4, 3), SimDesktop::White);
    desktop.SetPixel(3, 1, 0x00112233);
    EXPECT_EQ(desktop.PixelAt(3, 1), 0x00112233u);
    // A row-stride or x/y mix-up would land the write on one of these.
    EXPECT_EQ(desktop.PixelAt(1, 3), SimDesktop::White);
    EXPECT_EQ(desktop.PixelAt(2, 1), SimDesktop::White);
    EXPECT_EQ(desktop.PixelAt(3, 0), SimDesktop::White);
    EXPECT_EQ(desktop.PixelAt(3, 2), SimDesktop::White);
}

TEST(SimDesktopScreen, DropsWritesAndInvalidatesReadsOffTheScreen) {
    SimDesktop desktop(5, 4);
    for (auto [x, y] : std::vector<std::pair<int, int>>{
             {-1, 0}, {0, -1}, {5, 0}, {0, 4}, {INT_MIN, INT_MIN}, {INT_MAX, 2}}) {
        desktop.SetPixel(x, y, 0);
        EXPECT_EQ(desktop.PixelAt(x, y), ClrInvalid) << x << "," << y;
    }
    // Row 0 just past the right edge would alias the start of row 1.
    EXPECT_EQ(desktop.PixelAt(0, 1), SimDesktop::White);
    EXPECT_EQ(desktop.PixelAt(4, 3), SimDesktop::White);
}

TEST(SimDesktopScreen, FillClipsToTheScreen) {
    SimDesktop desktop(6, 5);
    desktop.Fill(4, -2, 10, 4, 0x000000FF);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 4 && y < 2;
            EXPECT_EQ(desktop.PixelAt(x, y), inside ? 0x000000FFu : SimDesktop::White)
                << x << "," << y;
        }
    }
    desktop.Fill(INT_MAX - 1, 0, INT_MAX, 5, 0);
    desktop.Fill(1, 1, 0, 3, 0);
    desktop.Fill(1, 1, -3, 3, 0);
    EXPECT_EQ(desktop.PixelAt(1, 1), SimDesktop::White);
    EXPECT_EQ(desktop.PixelAt(5, 4), SimDesktop::White);
}

TEST(SimDesktopDc, ReadsTheFramebufferAndCountsEveryRead) {
    SimDesktop desktop(8, 8);
    desktop.SetPixel(2, 5, 0x00ABCDEF);
    auto dc = desktop.GetDC();
    EXPECT_EQ(dc->GetPixel(2, 5), 0x00ABCDEFu);
    EXPECT_EQ(dc->GetPixel(5, 2), SimDesktop::White);
    EXPECT_EQ(dc->GetPixel(8, 0), ClrInvalid);
    EXPECT_EQ(dc->GetPixel(0, -1), ClrInvalid);
    EXPECT_EQ(desktop.PixelReads(), 4);
    desktop.PixelAt(0, 0);
    EXPECT_EQ(desktop.PixelReads(), 4) << "only reads through a DC count";
}

TEST(SimDesktopDc, TracksOpenContextsAndCanBeMadeUnavailable) {
    SimDesktop desktop(8, 8);
    {
        auto first = desktop.GetDC();
        auto second = desktop.GetDC();
        EXPECT_EQ(desktop.OpenDcCount(), 2);
    }
    EXPECT_EQ(desktop.OpenDcCount(), 0);
    desktop.SetDcAvailable(false);
    try {
        desktop.GetDC();
        FAIL() << "GetDC succeeded while unavailable";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Code(), ErrorCode::DeviceUnavailable);
    }
    EXPECT_EQ(desktop.OpenDcCount(), 0);
    desktop.SetDcAvailable(true);
    EXPECT_NE(desktop.GetDC(), nullptr);
}

TEST(SimDesktopPointer, ClampsToTheScreen) {
    SimDesktop desktop(100, 50);
    EXPECT_EQ(desktop.GetCursorPos(), (ScreenPoint{0, 0}));
    desktop.SetCursorPos(30, 40);
    EXPECT_EQ(desktop.GetCursorPos(), (ScreenPoint{30, 40}));
    desktop.SetCursorPos(100, 50);
    EXPECT_EQ(desktop.GetCursorPos(), (ScreenPoint{99, 49}));
    desktop.SetCursorPos(-1, 20);
    EXPECT_EQ(desktop.GetCursorPos(), (ScreenPoint{0, 20}));
    desktop.SetCursorPos(INT16_MAX, INT16_MIN);
    EXPECT_EQ(desktop.GetCursorPos(), (ScreenPoint{99, 0}));
}

TEST(SimDesktopPointer, ReportsMovesThatChangeThePositionWithTheLeftButton) {
    SimDesktop desktop(100, 50);
    std::vector<std::pair<ScreenPoint, bool>> moves;
    desktop.OnMove = [&](ScreenPoint at, bool leftHeld) { moves.emplace_back(at, leftHeld); };
    desktop.SetCursorPos(10, 10);
    desktop.MouseEvent(MouseAction::LeftDown);
    desktop.SetCursorPos(12, 10);
    desktop.SetCursorPos(12, 10);
    desktop.SetCursorPos(200, 10);
    desktop.SetCursorPos(300, 10);  // clamped to the same spot: no move
    desktop.MouseEvent(MouseAction::LeftUp);
    desktop.MouseEvent(MouseAction::RightDown);
    desktop.SetCursorPos(13, 11);
    const std::vector<std::pair<ScreenPoint, bool>> expected{
        {{10, 10}, false}, {{12, 10}, true}, {{99, 10}, true}, {{13, 11}, false}};
    EXPECT_EQ(moves, expected);
}

TEST(SimDesktopMouse, LogsEachEventWhereThePointerStood) {
    SimDesktop desktop(100, 50);
    std::vector<Record> seen;
    desktop.OnMouse = [&](MouseAction action, ScreenPoint at) {
        // The hook runs after the state change, as an applet would see it.
        EXPECT_EQ(desktop.LeftHeld(), action == MouseAction::LeftDown);
        seen.push_back({action, at});
    };
    desktop.SetCursorPos(5, 6);
    desktop.MouseEvent(MouseAction::LeftDown);
    desktop.SetCursorPos(7, 8);
    desktop.MouseEvent(MouseAction::LeftUp);
    desktop.SetCursorPos(150, 60);
    desktop.MouseEvent(MouseAction::RightDown);
    desktop.MouseEvent(MouseAction::RightUp);
    const std::vector<Record> expected{{MouseAction::LeftDown, {5, 6}},
                                       {MouseAction::LeftUp, {7, 8}},
                                       {MouseAction::RightDown, {99, 49}},
                                       {MouseAction::RightUp, {99, 49}}};
    EXPECT_EQ(desktop.MouseLog(), expected);
    EXPECT_EQ(seen, expected);
    desktop.ClearMouseLog();
    EXPECT_TRUE(desktop.MouseLog().empty());
}

TEST(SimDesktopMouse, EveryPortCallReachesOnCallBeforeItActs) {
    SimDesktop desktop(100, 50);
    std::vector<std::string> seen;
    desktop.OnCall = [&] { seen.push_back("call"); };
    desktop.OnMove = [&](ScreenPoint, bool) { seen.push_back("move"); };
    desktop.OnMouse = [&](MouseAction, ScreenPoint) { seen.push_back("mouse"); };
    desktop.SetCursorPos(5, 5);
    desktop.MouseEvent(MouseAction::LeftDown);
    const std::vector<std::string> ordered{"call", "move", "call", "mouse"};
    EXPECT_EQ(seen, ordered);

    seen.clear();
    desktop.SetCursorPos(5, 5);  // no move, still a call
    desktop.GetCursorPos();
    desktop.KeyDown(Key::Escape);
    desktop.Sleep(1);
    desktop.GetTickCount();
    auto dc = desktop.GetDC();
    dc->GetPixel(0, 0);
    std::vector<uint32_t> out(4);
    dc->ReadRegion(0, 0, 2, 2, out);
    EXPECT_THROW(dc->ReadRegion(0, 0, 3, 3, out), RuntimeError);
    EXPECT_EQ(seen, std::vector<std::string>(8, "call"));
}

TEST(SimDesktopKeys, ButtonsFollowMouseEventsOrThePressedKeys) {
    SimDesktop desktop(10, 10);
    EXPECT_FALSE(desktop.KeyDown(Key::LeftButton));
    desktop.MouseEvent(MouseAction::LeftDown);
    EXPECT_TRUE(desktop.KeyDown(Key::LeftButton));
    EXPECT_FALSE(desktop.KeyDown(Key::RightButton));
    desktop.MouseEvent(MouseAction::RightDown);
    desktop.MouseEvent(MouseAction::LeftUp);
    EXPECT_FALSE(desktop.KeyDown(Key::LeftButton));
    EXPECT_TRUE(desktop.KeyDown(Key::RightButton));
    desktop.MouseEvent(MouseAction::RightUp);
    EXPECT_FALSE(desktop.KeyDown(Key::RightButton));

    // A user holding the button down is reported even though no event was faked.
    desktop.PressKey(Key::LeftButton);
    EXPECT_TRUE(desktop.KeyDown(Key::LeftButton));
    EXPECT_FALSE(desktop.LeftHeld());
    desktop.ReleaseKey(Key::LeftButton);
    EXPECT_FALSE(desktop.KeyDown(Key::LeftButton));
}

TEST(SimDesktopKeys, EscapeIsDownOnlyWhilePressed) {
    SimDesktop desktop(10, 10);
    EXPECT_FALSE(desktop.KeyDown(Key::Escape));
    desktop.PressKey(Key::Escape);
    EXPECT_TRUE(desktop.KeyDown(Key::Escape));
    EXPECT_FALSE(desktop.KeyDown(Key::LeftButton));
    desktop.MouseEvent(MouseAction::LeftDown);
    desktop.ReleaseKey(Key::Escape);
    EXPECT_FALSE(desktop.KeyDown(Key::Escape));
    EXPECT_TRUE(desktop.KeyDown(Key::LeftButton));
}

TEST(SimDesktopClock, MovesOnlyWhenToldTo) {
    SimDesktop desktop(10, 10);
    EXPECT_EQ(desktop.GetTickCount(), 0);
    EXPECT_EQ(desktop.GetTickCount(), 0);
    desktop.Sleep(250);
    desktop.AdvanceClock(50);
    EXPECT_EQ(desktop.GetTickCount(), 300);
    EXPECT_EQ(desktop.SleptMilliseconds(), 250u);
}

TEST(SimDesktopClock, WrapsLikeASigned32BitTickCounter) {
    SimDesktop desktop(10, 10);
    desktop.SetClock(INT32_MAX - 9);
    desktop.Sleep(10);
    EXPECT_EQ(desktop.GetTickCount(), INT32_MIN);
    desktop.SetClock(-5);
    desktop.AdvanceClock(7);
    EXPECT_EQ(desktop.GetTickCount(), 2);
    desktop.SetClock(INT32_MIN);
    desktop.AdvanceClock(UINT32_MAX);
    EXPECT_EQ(desktop.GetTickCount(), INT32_MAX);
}

TEST(SimDesktopClock, AutoAdvanceEndsAWaitOnTheClock) {
    SimDesktop desktop(10, 10);
    desktop.SetClock(INT32_MAX - 400);
    desktop.SetAutoAdvance(100);
    EXPECT_EQ(desktop.GetTickCount(), INT32_MAX - 400);
    EXPECT_EQ(desktop.GetTickCount(), INT32_MAX - 300);

    // A one-second wait written the way a caller would, across the wrap.
    const int32_t start = desktop.GetTickCount();
    int reads = 0;
    while (static_cast<uint32_t>(desktop.GetTickCount()) - static_cast<uint32_t>(start) < 1000u) {
        ASSERT_LT(++reads, 100) << "the clock does not advance";
    }
    EXPECT_EQ(reads, 9);
    EXPECT_EQ(desktop.SleptMilliseconds(), 0u);
}

}  // namespace
}  // namespace inkrelay
