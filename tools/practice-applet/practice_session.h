#pragma once
// The simulated applet as a practice window runs it, whatever the toolkit: the surface it paints
// on with the current colour's swatch, input handed to the model as the window takes it, and the
// model's time. A window gives it the clock, passes on every button and move in surface
// coordinates, calls Wake() when NextWake() says, and after each of these shows what
// TakeChanged() returns before it takes the next input.
//
// Time comes in two ways. With a paint lag the model gets one Tick() per millisecond of wall
// time, so its PaintLag, a count of ticks, is a delay in milliseconds and the late paint is the
// model's own, not a second queue. A browser applet's model, and one that queues its input, gets
// the time itself, at every 60 Hz frame boundary and before each input, so frames are shown,
// held moves handed on and queued input handled; a model without frames also when its next
// queued input is due, since it shows that input's paint at once. Both run only for a while
// after each input, or while input is queued, so an idle window sleeps.

#include <cstdint>
#include <functional>
#include <optional>

#include "pixel_buffer.h"
#include "practice_setup.h"
#include "sim_applet.h"

namespace inkrelay::practice {

class PracticeSession {
  public:
    // nowMicros: a monotonic clock in microseconds from any start.
    PracticeSession(const PracticeSetup& setup, std::function<int64_t()> nowMicros);

    void Mouse(MouseAction action, ScreenPoint at);
    void Move(ScreenPoint to, bool leftHeld);
    // The time NextWake() asked for has come; early or late calls are harmless.
    void Wake();
    // Microseconds from now until Wake() is wanted (0: at once); nothing while idle.
    std::optional<int64_t> NextWake() const;

    // The part of the surface to show again since the last call.
    PracticeBox TakeChanged() { return surface_.TakeChanged(); }
    const PixelBuffer& Surface() const { return surface_; }
    const SimApplet& Applet() const { return applet_; }

  private:
    int64_t Now() const { return nowMicros_() - start_; }
    void BeforeInput();
    void AfterInput();
    void CatchUpTicks(int64_t now);
    void KeepTickingFor(int64_t now, int64_t milliseconds);
    void KeepFramingFor(int64_t now, int64_t micros);
    // When the next queued input is handled, for a model whose paint shows as it is handled.
    std::optional<int64_t> HandlingShownAt() const;
    void ShowSwatch();

    std::function<int64_t()> nowMicros_;
    int64_t start_;
    PixelBuffer surface_;
    SimApplet applet_;
    PracticeBox swatch_;
    std::optional<uint32_t> swatchColour_;  // nothing before the first showing

    // The millisecond ticks, when paint is late.
    bool lagging_;
    bool ticking_ = false;
    int64_t tickedMillis_ = 0;
    int64_t tickUntilMillis_ = 0;

    // The frame boundaries, when the model keeps time.
    int64_t frameMicros_ = 0;  // 0: the model is never given the time
    bool framing_ = false;
    int64_t nextFrame_ = 0;
    int64_t frameUntil_ = 0;
};

}  // namespace inkrelay::practice
