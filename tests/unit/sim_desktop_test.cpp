// The simulated desktop's promises that other tests lean on: an applet hears of every call
// before it acts, so late paint counts calls; the clock wraps as the real tick counter does, so
// the waits' wrap tests mean what they say; and a sender's time per event adds up below a
// millisecond, so an applet's pace can be met or outrun.

#include "sim_desktop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime_error.h"

namespace inkrelay {
namespace {

TEST(SimDesktopMouse, EveryPortCallReachesOnCallBeforeItActs) {
    SimDesktop desktop(100, 50);
    std::vector<std::string> seen;
    desktop.OnCall = [&] { seen.push_back("call"); };
    desktop.OnMove = [&](ScreenPoint, bool) { seen.push_back("move"); };
    desktop.OnMouse = [&](MouseAction, ScreenPoint) { seen.push_back("mouse"); };
    desktop.MovePointer(5, 5);
    desktop.PressButton(MouseButton::Left);
    const std::vector<std::string> ordered{"call", "move", "call", "mouse"};
    EXPECT_EQ(seen, ordered);

    seen.clear();
    desktop.MovePointer(5, 5);  // no move, still a call
    desktop.PointerPosition();
    desktop.IsKeyDown(Key::Escape);
    desktop.Sleep(1);
    desktop.TickCount();
    auto dc = desktop.OpenScreen();
    dc->ReadPixel(0, 0);
    std::vector<uint32_t> out(4);
    dc->ReadRegion(0, 0, 2, 2, out);
    EXPECT_THROW(dc->ReadRegion(0, 0, 3, 3, out), RuntimeError);
    EXPECT_EQ(seen, std::vector<std::string>(8, "call"));
}

TEST(SimDesktopClock, WrapsLikeASigned32BitTickCounter) {
    SimDesktop desktop(10, 10);
    desktop.SetClock(INT32_MAX - 9);
    desktop.Sleep(10);
    EXPECT_EQ(desktop.TickCount(), INT32_MIN);
    desktop.SetClock(-5);
    desktop.AdvanceClock(7);
    EXPECT_EQ(desktop.TickCount(), 2);
    desktop.SetClock(INT32_MIN);
    desktop.AdvanceClock(UINT32_MAX);
    EXPECT_EQ(desktop.TickCount(), INT32_MAX);
}

TEST(SimDesktopClock, InputCostMovesTheClockAfterEachEventInMicroseconds) {
    SimDesktop desktop(10, 10);
    std::vector<int64_t> deliveredAt;
    desktop.OnMove = [&](ScreenPoint, bool) { deliveredAt.push_back(desktop.NowMicros()); };
    desktop.OnMouse = [&](MouseAction, ScreenPoint) { deliveredAt.push_back(desktop.NowMicros()); };
    desktop.SetInputCostMicros(400);
    desktop.MovePointer(3, 3);
    desktop.PressButton(MouseButton::Left);
    desktop.MovePointer(3, 3);  // no move, but the sender spent its time on the call
    desktop.ReleaseButton(MouseButton::Left);
    EXPECT_EQ(deliveredAt, (std::vector<int64_t>{0, 400, 1200}));
    EXPECT_EQ(desktop.NowMicros(), 1600);
    EXPECT_EQ(desktop.Now(), 1u);

    // Only input spends it; the millisecond calls keep their meaning.
    EXPECT_EQ(desktop.TickCount(), 1);
    desktop.Sleep(2);
    EXPECT_EQ(desktop.NowMicros(), 3600);

    // The microseconds carry into the wrapping milliseconds; NowMicros does not wrap.
    desktop.SetClock(INT32_MAX);
    desktop.SetInputCostMicros(600);
    desktop.MovePointer(4, 4);
    desktop.MovePointer(5, 5);
    EXPECT_EQ(desktop.TickCount(), INT32_MIN);
    EXPECT_EQ(desktop.NowMicros(), int64_t{INT32_MAX} * 1000 + 1200);
}

}  // namespace
}  // namespace inkrelay
