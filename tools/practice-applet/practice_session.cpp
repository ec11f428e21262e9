#include "practice_session.h"

#include <algorithm>
#include <utility>

namespace inkrelay::practice {

namespace {

// A browser applet's frame rate, for a model that merges moves but paints at once.
constexpr int64_t SixtyHertzMicros = 16667;
constexpr uint32_t SwatchFrame = 0x000000;

}  // namespace

PracticeSession::PracticeSession(const PracticeSetup& setup, std::function<int64_t()> nowMicros)
    : nowMicros_(std::move(nowMicros)),
      start_(nowMicros_()),
      surface_(setup.SurfaceWidth, setup.SurfaceHeight, setup.Background),
      applet_(setup.Options, surface_),
      swatch_(setup.Swatch),
      lagging_(setup.Options.PaintLag > 0) {
    const SimAppletOptions& options = setup.Options;
    if (options.FrameMicros > 0 || options.MergeMovesMicros > 0 || applet_.QueuesInput())
        frameMicros_ = options.FrameMicros > 0 ? options.FrameMicros : SixtyHertzMicros;
    ShowSwatch();
}

void PracticeSession::Mouse(MouseAction action, ScreenPoint at) {
    BeforeInput();
    applet_.Mouse(action, at);
    AfterInput();
}

void PracticeSession::Move(ScreenPoint to, bool leftHeld) {
    BeforeInput();
    applet_.Move(to, leftHeld);
    AfterInput();
}

void PracticeSession::Wake() {
    const int64_t now = Now();
    if (ticking_) {
        CatchUpTicks(now);
        if (tickedMillis_ > tickUntilMillis_)
            ticking_ = false;
    }
    const bool frameDue = framing_ && now >= nextFrame_;
    const auto handled = HandlingShownAt();
    if (frameDue || (framing_ && handled && now >= *handled)) {
        applet_.Clock(now);
        // Timed to the boundary itself, not a fixed interval, so no frame shows late by a whole
        // frame.
        if (frameDue)
            nextFrame_ = (now / frameMicros_ + 1) * frameMicros_;
        // However long the queue, the time keeps coming until it is handled and shown, with no
        // more input to bring it.
        if (applet_.Backlog() > 0)
            KeepFramingFor(now, 2 * frameMicros_);
        framing_ = now < frameUntil_;
    }
    ShowSwatch();
}

std::optional<int64_t> PracticeSession::NextWake() const {
    std::optional<int64_t> next;
    const int64_t now = Now();
    if (ticking_)
        next = (now / 1000 + 1) * 1000 - now;
    if (framing_) {
        int64_t wake = nextFrame_;
        if (const auto handled = HandlingShownAt())
            wake = std::min(wake, *handled);
        const int64_t untilWake = std::max<int64_t>(wake - now, 0);
        next = next ? std::min(*next, untilWake) : untilWake;
    }
    return next;
}

std::optional<int64_t> PracticeSession::HandlingShownAt() const {
    // Paint at frames waits for the frame anyway; without them it shows as it is handled.
    if (applet_.Options().FrameMicros > 0)
        return std::nullopt;
    return applet_.NextHandlingMicros();
}

void PracticeSession::BeforeInput() {
    const int64_t now = Now();
    if (lagging_)
        CatchUpTicks(now);
    // Late paints land first, then the model sees the time the input came at.
    if (frameMicros_ > 0)
        applet_.Clock(now);
}

void PracticeSession::AfterInput() {
    const int64_t now = Now();
    const SimAppletOptions& options = applet_.Options();
    if (lagging_)
        KeepTickingFor(now, options.PaintLag + 2);
    // Long enough for a late paint and a held move to land and a frame after them to show it.
    if (frameMicros_ > 0)
        KeepFramingFor(
            now, int64_t{options.PaintLag} * 1000 + options.MergeMovesMicros + 2 * frameMicros_);
    ShowSwatch();
}

void PracticeSession::CatchUpTicks(int64_t now) {
    const int64_t millis = now / 1000;
    // Stopped ticks have seen every late paint land: the idle ticks would do nothing.
    if (!ticking_)
        tickedMillis_ = millis;
    for (; tickedMillis_ < millis; ++tickedMillis_) applet_.Tick();
}

void PracticeSession::KeepTickingFor(int64_t now, int64_t milliseconds) {
    tickUntilMillis_ = std::max(tickUntilMillis_, now / 1000 + milliseconds);
    ticking_ = true;
}

void PracticeSession::KeepFramingFor(int64_t now, int64_t micros) {
    frameUntil_ = std::max(frameUntil_, now + micros);
    if (!framing_) {
        framing_ = true;
        nextFrame_ = (now / frameMicros_ + 1) * frameMicros_;
    }
}

void PracticeSession::ShowSwatch() {
    const uint32_t colour = applet_.Colour();
    if (colour == swatchColour_)
        return;
    swatchColour_ = colour;
    surface_.Fill(swatch_, SwatchFrame);
    surface_.Fill({swatch_.Left + 1, swatch_.Top + 1, swatch_.Width - 2, swatch_.Height - 2},
                  colour);
}

}  // namespace inkrelay::practice
