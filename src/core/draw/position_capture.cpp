#include "draw/position_capture.h"

#include <memory>

namespace inkrelay {

namespace {

struct PointerPoll {
    ScreenPoint At;
    bool Clicked = false;  // either button is down
};

PointerPoll PollPointer(Desktop& screen) {
    // Buttons first: a press seen here came after any move before it, so the position read next
    // is where the press was made, however soon after the move it came.
    const bool clicked = screen.IsKeyDown(Key::LeftButton) || screen.IsKeyDown(Key::RightButton);
    return {screen.PointerPosition(), clicked};
}

// Between passes: the message loop, then a millisecond's sleep, because a yield returns at once
// when no message waits and the loop would otherwise keep a core busy for as long as the user
// takes to click; a millisecond is far below what a person notices.
void Rest(Desktop& screen, const CaptureHooks& hooks) {
    hooks.Yield();
    screen.Sleep(1);
}

}  // namespace

ScreenPoint CaptureDrawPos(Desktop& screen, const CaptureHooks& hooks) {
    for (;;) {
        const PointerPoll poll = PollPointer(screen);
        Rest(screen, hooks);
        if (poll.Clicked)
            return poll.At;
    }
}

ScreenPoint CaptureRGBBarPos(Desktop& screen, int32_t screenWidth, int32_t screenHeight,
                             const CaptureHooks& hooks) {
    const std::unique_ptr<ScreenReader> dc = screen.OpenScreen();
    for (;;) {
        const PointerPoll poll = PollPointer(screen);
        hooks.ShowMagnifier(Magnify(*dc, poll.At, screenWidth, screenHeight));
        Rest(screen, hooks);
        if (poll.Clicked)
            return poll.At;
    }
}

}  // namespace inkrelay
