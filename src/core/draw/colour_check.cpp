#include "draw/colour_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "checked_int.h"
#include "draw/drawing_run.h"
#include "draw/yield_wait.h"

namespace inkrelay {

namespace {
constexpr uint32_t White = 0x00FFFFFFu;
constexpr int16_t LastSettleExponent = 12;
constexpr int16_t FailuresPerLayout = 16;
// Two 60 Hz frames: a browser applet that keeps up shows a point's paint by then.
constexpr int32_t PaintDelayMs = 34;
// Six frames for a point that still shows wrong: the pointer mark an applet leaves after a
// release lasts until its next frame.
constexpr int32_t RereadLimitMs = 100;
}  // namespace

std::optional<CheckPoint> CheckPointOf(int16_t code, const EventMemory& mem,
                                       const CheckContext& c) {
    const auto x = [&](int32_t cell) { return AddInteger(c.DrawPos.X, mem[cell]); };
    const auto y = [&](int32_t cell) { return AddInteger(c.DrawPos.Y, mem[cell]); };
    switch (code) {
        case Dt:
        case Ln:
            if (c.RmkPnt < c.RgtPnt)
                return CheckPoint{{x(c.i - 1), c.Row}, true, c.RgtPnt};
            return CheckPoint{{x(c.i - 1), c.Row}, false, c.RmkPnt};
        case CD:
        case CL:
        case St:
        case Mv: return CheckPoint{{x(c.i - 2), y(c.i - 1)}, false, c.RmkPnt};
        case Ed: return CheckPoint{{x(c.i - 3), y(c.i - 2)}, false, c.RmkPnt};
        default: return std::nullopt;
    }
}

int32_t CheckVerdict(const CheckPoint& point, uint32_t pixel, int32_t expectedColour) {
    const bool fails =
        point.OnlyWhiteFails ? pixel == White : pixel != static_cast<uint32_t>(expectedColour);
    return fails ? point.ResumeAt : 0;
}

bool DrawRun::CheckStep(int16_t code) {
    // A failure held over to a Cr has sent the run back already; counting it again at every Cr
    // after the colour selection would fail a run over one wrong pixel.
    if (code == Cr && verdict_ != 0)
        return false;
    if (const std::optional<CheckPoint> point =
            CheckPointOf(code, mem_, {i, settings_.DrawPos, Row, RmkPnt, RgtPnt})) {
        const uint32_t pixel =
            ReadPixelSettled(screen_, *dc_, point->At.X, point->At.Y, hooks_.Yield);
        verdict_ = CheckVerdict(*point, pixel, ExpectedColour);
    }
    if (verdict_ == 0) {
        ErrCnt = 0;
        if (DET > 0)
            --DET;
        return false;
    }
    return Fail({static_cast<EventCode>(code), i, RmkPnt, RgtPnt, RsmPnt, SavedRow, verdict_});
}

bool DrawRun::Fail(const FailedCheck& f) {
    ErrCnt = AddInteger(ErrCnt, 1);
    LogLines[static_cast<size_t>(LogIdx)] =
        ErrorLine(hooks_.TimeOfDay(),
                  {f.Code, ErrCnt, RGBBarNum, DET, f.After, f.RmkPnt, f.RgtPnt, f.RsmPnt}, mem_);
    if (DET < LastSettleExponent)
        ++DET;
    Row = f.SavedRow;
    LogIdx = NextLogSlot(LogIdx);
    screen_.ReleaseButton(MouseButton::Left);
    Settle();
    i = f.ResumeAt;
    if (ErrCnt == FailuresPerLayout) {
        if (RGBBarNum == 0) {
            ErrCnt = 0;
            DET = 1;
            RGBBarNum = 1;
        } else {
            hooks_.FocusMainWindow();
            hooks_.Show(DrawingFailedText, DrawNotice::Critical);
            succeeded_ = false;
            i = end_;
            return true;
        }
    }
    return false;
}

bool DrawRun::Batched() const {
    return settings_.Check && profile_.BatchedCheck && !settings_.PerEventCheck;
}

void DrawRun::RememberCheck(int16_t code, int32_t start) {
    // An Ed's point is the St's or Mv's before it, remembered already.
    if (code == Ed)
        return;
    const std::optional<CheckPoint> point =
        CheckPointOf(code, mem_, {i, settings_.DrawPos, Row, RmkPnt, RgtPnt});
    if (!point)
        return;
    pending_.push_back(
        {*point,
         ExpectedColour,
         start,
         {static_cast<EventCode>(code), i, RmkPnt, RgtPnt, RsmPnt, SavedRow, point->ResumeAt},
         resume_});
}

DrawRun::BatchResult DrawRun::CloseBatch(bool runEnd) {
    const int32_t now = screen_.TickCount();
    for (size_t k = closed_; k < pending_.size(); ++k) pending_[k].ClosedAt = now;
    closed_ = pending_.size();
    if (closed_ == 0)
        return BatchResult::Passed;
    // After a failure each batch is checked as it closes, until one passes and the run is past
    // what it had drawn: a failure sends the run back over every batch drawn since, and an
    // applet that loses presses often would lose another on the way back every time.
    if (runEnd || ErrCnt > 0 || i < redrawnTo_)
        return CheckBatch(closed_);
    // Waiting for the frame that shows a batch's paint, batch by batch, would cost a frame per
    // colour selection; the run draws on and checks the batches that are old enough together.
    if (ElapsedMs(pending_.front().ClosedAt, now) < 2 * PaintDelayMs)
        return BatchResult::Passed;
    size_t n = 0;
    while (n < closed_ && ElapsedMs(pending_[n].ClosedAt, now) >= PaintDelayMs) ++n;
    return CheckBatch(n);
}

DrawRun::BatchResult DrawRun::CheckBatch(size_t n) {
    // A point drawn again over its own earlier paint shows no change until its frame: a check
    // sooner would pass a redraw that went wrong.
    while (ElapsedMs(pending_[n - 1].ClosedAt, screen_.TickCount()) < PaintDelayMs) {
        hooks_.Yield();
        screen_.Sleep(1);
    }
    // Paint reaches the screen a frame or more after the input, later under a backlog; the last
    // point shows when all of them have arrived.
    const ScreenPoint last = pending_[n - 1].Point.At;
    ReadPixelSettled(screen_, *dc_, last.X, last.Y, hooks_.Yield);
    const size_t failing = FirstFailing(n);
    if (failing == n) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(n));
        closed_ -= n;
        ErrCnt = 0;
        if (DET > 0)
            --DET;
        return BatchResult::Passed;
    }
    const PendingCheck failed = pending_[failing];
    // Everything drawn after the failing point is drawn again, and checked again.
    pending_.clear();
    closed_ = 0;
    const FailedCheck& f = failed.IfFailed;
    redrawnTo_ = std::max(redrawnTo_, i);
    if (Fail(f))
        return BatchResult::Failed;
    // The selections since are undone: which came last decides what the points check.
    RmkPnt = f.RmkPnt;
    RgtPnt = f.RgtPnt;
    // Until the colour is selected again the bars may hold any of the colours drawn since.
    barsUnknown_ = true;
    // A declined abort from here goes back to the failing event, not past it.
    RsmPnt = f.RsmPnt;
    resume_ = failed.Resume;
    return BatchResult::Resumed;
}

size_t DrawRun::FirstFailing(size_t n) {
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
        hooks_.Yield();
        // The applet needs the processor to paint what is awaited.
        screen_.Sleep(1);
    }
}

}  // namespace inkrelay
