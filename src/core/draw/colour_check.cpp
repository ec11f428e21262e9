#include "draw/colour_check.h"

#include <algorithm>
#include <utility>

#include "draw/yield_wait.h"

namespace inkrelay {

namespace {
constexpr uint32_t White = 0x00FFFFFFu;
// Two 60 Hz frames: a browser applet that keeps up shows a point's paint by then.
constexpr int32_t PaintDelayMs = 34;
// Six frames for a point that still shows wrong: the pointer mark an applet leaves after a
// release lasts until its next frame.
constexpr int32_t RereadLimitMs = 100;
}  // namespace

CheckPoint CheckPointOf(EventCode code, ScreenPoint drawn, const RunPosition& at) {
    // A picked-up colour is tested only where Dt and Ln draw it; the rest resume at the Mk.
    if ((code == Dt || code == Ln) && at.PickedUp())
        return {drawn, true, at.RgtPnt};
    return {drawn, false, at.RmkPnt};
}

int32_t CheckVerdict(const CheckPoint& point, uint32_t pixel, int32_t expectedColour) {
    const bool fails =
        point.OnlyWhiteFails ? pixel == White : pixel != static_cast<uint32_t>(expectedColour);
    return fails ? point.ResumeAt : 0;
}

ColourVerifier::ColourVerifier(Desktop& screen, std::function<void()> yield, bool batched)
    : screen_(screen), yield_(std::move(yield)), batched_(batched) {}

void ColourVerifier::Open() {
    dc_ = screen_.OpenScreen();
}

void ColourVerifier::Close() {
    dc_.reset();
}

CheckResult ColourVerifier::CheckEvent(EventCode code, const std::optional<CheckPoint>& point,
                                       int32_t expectedColour, const RunPosition& at) {
    // A failure held over to a Cr has sent the run back already; counting it again at every Cr
    // after the colour selection would fail a run over one wrong pixel.
    if (code == Cr && verdict_ != 0)
        return CheckResult::Undecided;
    if (point) {
        const uint32_t pixel = ReadPixelSettled(screen_, *dc_, point->At.X, point->At.Y, yield_);
        verdict_ = CheckVerdict(*point, pixel, expectedColour);
    }
    if (verdict_ == 0)
        return CheckResult::Passed;
    failure_ = {code, at, verdict_, {}};
    return CheckResult::Failed;
}

void ColourVerifier::Remember(const CheckPoint& point, int32_t expectedColour, int32_t start,
                              const FailedCheck& ifFailed) {
    pending_.push_back({point, expectedColour, start, ifFailed, 0});
}

void ColourVerifier::Forget(int32_t start) {
    std::erase_if(pending_, [start](const PendingCheck& p) { return p.Start >= start; });
    closed_ = std::min(closed_, pending_.size());
}

CheckResult ColourVerifier::CloseBatch(bool runEnd, bool afterFailure, int32_t drawnTo) {
    const int32_t now = screen_.TickCount();
    for (size_t k = closed_; k < pending_.size(); ++k) pending_[k].ClosedAt = now;
    closed_ = pending_.size();
    if (closed_ == 0)
        return CheckResult::Undecided;
    // After a failure each batch is checked as it closes, until one passes and the run is past
    // what it had drawn: a failure sends the run back over every batch drawn since, and an
    // applet that loses presses often would lose another on the way back every time.
    if (runEnd || afterFailure || drawnTo < redrawnTo_)
        return CheckBatch(closed_, drawnTo);
    // Waiting for the frame that shows a batch's paint, batch by batch, would cost a frame per
    // colour selection; the run draws on and checks the batches that are old enough together.
    if (ElapsedMs(pending_.front().ClosedAt, now) < 2 * PaintDelayMs)
        return CheckResult::Undecided;
    size_t n = 0;
    while (n < closed_ && ElapsedMs(pending_[n].ClosedAt, now) >= PaintDelayMs) ++n;
    return CheckBatch(n, drawnTo);
}

CheckResult ColourVerifier::CheckBatch(size_t n, int32_t drawnTo) {
    // A point drawn again over its own earlier paint shows no change until its frame: a check
    // sooner would pass a redraw that went wrong.
    while (ElapsedMs(pending_[n - 1].ClosedAt, screen_.TickCount()) < PaintDelayMs) {
        yield_();
        screen_.Sleep(1);
    }
    // Paint reaches the screen a frame or more after the input, later under a backlog; the last
    // point shows when all of them have arrived.
    const ScreenPoint last = pending_[n - 1].Point.At;
    ReadPixelSettled(screen_, *dc_, last.X, last.Y, yield_);
    const size_t failing = FirstFailing(n);
    if (failing == n) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(n));
        closed_ -= n;
        return CheckResult::Passed;
    }
    failure_ = pending_[failing].IfFailed;
    // Everything drawn after the failing point is drawn again, and checked again.
    pending_.clear();
    closed_ = 0;
    redrawnTo_ = std::max(redrawnTo_, drawnTo);
    return CheckResult::Failed;
}

size_t ColourVerifier::FirstFailing(size_t n) {
    int32_t left = INT16_MAX, top = INT16_MAX, right = INT16_MIN, bottom = INT16_MIN;
    for (size_t k = 0; k < n; ++k) {
        const ScreenPoint at = pending_[k].Point.At;
        left = std::min<int32_t>(left, at.X);
        top = std::min<int32_t>(top, at.Y);
        right = std::max<int32_t>(right, at.X);
        bottom = std::max<int32_t>(bottom, at.Y);
    }
    const int32_t width = right - left + 1;
    const int32_t height = bottom - top + 1;
    region_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    // A point can still show the pointer mark, or paint a frame late; only what stays wrong
    // for six frames is a failure.
    const int32_t t0 = screen_.TickCount();
    for (;;) {
        dc_->ReadRegion(left, top, width, height, region_);
        size_t k = 0;
        for (; k < n; ++k) {
            const PendingCheck& p = pending_[k];
            const uint32_t pixel = region_[static_cast<size_t>(p.Point.At.Y - top) * width +
                                           static_cast<size_t>(p.Point.At.X - left)];
            if (CheckVerdict(p.Point, pixel, p.Expected) != 0)
                break;
        }
        if (k == n || ElapsedMs(t0, screen_.TickCount()) >= RereadLimitMs)
            return k;
        yield_();
        // The applet needs the processor to paint what is awaited.
        screen_.Sleep(1);
    }
}

}  // namespace inkrelay
