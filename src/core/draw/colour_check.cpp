#include "draw/colour_check.h"

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
    ErrCnt = AddInteger(ErrCnt, 1);
    LogLines[static_cast<size_t>(LogIdx)] = ErrorLine(
        hooks_.TimeOfDay(),
        {static_cast<EventCode>(code), ErrCnt, RGBBarNum, DET, i, RmkPnt, RgtPnt, RsmPnt}, mem_);
    if (DET < LastSettleExponent)
        ++DET;
    Row = SavedRow;
    LogIdx = NextLogSlot(LogIdx);
    screen_.MouseEvent(MouseAction::LeftUp);
    Settle();
    i = verdict_;
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

}  // namespace inkrelay
