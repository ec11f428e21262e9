#pragma once
// The colour check after a drawing event: which pixel shows whether the event took, what it
// must read, and the check of each event as it is drawn, which says whether the run goes on or
// goes back.

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "desktop/desktop.h"
#include "draw/run_position.h"
#include "scan/draw_list.h"

namespace inkrelay {

struct CheckPoint {
    ScreenPoint At;
    // After a pick-up only white fails; otherwise anything but the expected colour does.
    bool OnlyWhiteFails = false;
    int32_t ResumeAt = 0;  // the Mk or Gt that selected the colour
};

// The check of a drawing event of code 2 to 9 whose telling point is `drawn` (see
// EventReplayer::Draw), with the colour selected as `at` says.
CheckPoint CheckPointOf(EventCode code, ScreenPoint drawn, const RunPosition& at);

// The verdict: 0 for a pass, else the resume index (which is 0 too before any colour event).
int32_t CheckVerdict(const CheckPoint& point, uint32_t pixel, int32_t expectedColour);

// A failed check: what its error line records and where the replay goes back to.
struct FailedCheck {
    EventCode Code = Mk;
    RunPosition At;        // the run just past the failed event
    int32_t ResumeAt = 0;  // the Mk or Gt that selected its colour
    RunPosition Resume;    // what a declined abort would have gone back to after the event
};

enum class CheckResult {
    Undecided,  // nothing was read, or nothing could be told yet
    Passed,
    Failed,  // Failure() says which point and where to go back to
};

// The check of each event as it is drawn.
class ColourVerifier {
  public:
    ColourVerifier(Desktop& screen, std::function<void()> yield)
        : screen_(screen), yield_(std::move(yield)) {}

    // The check right after one event; no point for a Cr, whose verdict is the previous one.
    CheckResult CheckEvent(ScreenReader& dc, EventCode code, const std::optional<CheckPoint>& point,
                           int32_t expectedColour, const RunPosition& at);
    const FailedCheck& Failure() const { return failure_; }

  private:
    Desktop& screen_;
    std::function<void()> yield_;
    int32_t verdict_ = 0;  // the last check's resume index, 0 for a pass
    FailedCheck failure_;
};

}  // namespace inkrelay
