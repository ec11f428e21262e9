#include "draw/colour_check.h"

#include "draw/yield_wait.h"

namespace inkrelay {

namespace {
constexpr uint32_t White = 0x00FFFFFFu;
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

CheckResult ColourVerifier::CheckEvent(ScreenReader& dc, EventCode code,
                                       const std::optional<CheckPoint>& point,
                                       int32_t expectedColour, const RunPosition& at) {
    // A failure held over to a Cr has sent the run back already; counting it again at every Cr
    // after the colour selection would fail a run over one wrong pixel.
    if (code == Cr && verdict_ != 0)
        return CheckResult::Undecided;
    if (point) {
        const uint32_t pixel = ReadPixelSettled(screen_, dc, point->At.X, point->At.Y, yield_);
        verdict_ = CheckVerdict(*point, pixel, expectedColour);
    }
    if (verdict_ == 0)
        return CheckResult::Passed;
    failure_ = {code, at, verdict_, {}};
    return CheckResult::Failed;
}

}  // namespace inkrelay
