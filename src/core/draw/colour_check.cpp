#include "draw/colour_check.h"

#include <algorithm>
#include <cstdint>

#include "checked_int.h"
#include "draw/drawing_run.h"
#include "draw/yield_wait.h"

namespace inkrelay {

namespace {
constexpr uint32_t White = 0x00FFFFFFu;
constexpr int16_t LastSettleExponent = 12;
constexpr int16_t FailuresPerLayout = 16;
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
    screen_.MouseEvent(MouseAction::LeftUp);
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
         {static_cast<EventCode>(code), i, RmkPnt, RgtPnt, RsmPnt, SavedRow, point->ResumeAt}});
}

DrawRun::BatchResult DrawRun::CheckBatch() {
    if (pending_.empty())
        return BatchResult::Passed;
    // Paint reaches the screen a frame or more after the input; the last point shows when all
    // of the batch has arrived.
    const ScreenPoint last = pending_.back().Point.At;
    ReadPixelSettled(screen_, *dc_, last.X, last.Y, hooks_.Yield);
    int32_t left = INT16_MAX, top = INT16_MAX, right = INT16_MIN, bottom = INT16_MIN;
    for (const PendingCheck& p : pending_) {
        left = std::min<int32_t>(left, p.Point.At.X);
        top = std::min<int32_t>(top, p.Point.At.Y);
        right = std::max<int32_t>(right, p.Point.At.X);
        bottom = std::max<int32_t>(bottom, p.Point.At.Y);
    }
    const int32_t width = right - left + 1;
    const int32_t height = bottom - top + 1;
    region_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    dc_->ReadRegion(left, top, width, height, region_);
    std::optional<FailedCheck> failure;
    for (const PendingCheck& p : pending_) {
        const uint32_t pixel = region_[static_cast<size_t>(p.Point.At.Y - top) * width +
                                       static_cast<size_t>(p.Point.At.X - left)];
        if (CheckVerdict(p.Point, pixel, p.Expected) != 0) {
            failure = p.IfFailed;
            break;
        }
    }
    pending_.clear();
    if (!failure) {
        ErrCnt = 0;
        if (DET > 0)
            --DET;
        return BatchResult::Passed;
    }
    return Fail(*failure) ? BatchResult::Failed : BatchResult::Resumed;
}

}  // namespace inkrelay
