#pragma once
// The colour check after a drawing event: which pixel shows whether the event took, what it
// must read, and the verifier that reads them, one by one or in batches, and says whether the
// run goes on or goes back.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

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
    Undecided,  // nothing was read, or nothing old enough
    Passed,
    Failed,  // Failure() says which point and where to go back to
};

class ColourVerifier {
  public:
    // batched: the points are remembered and read together; otherwise each is read as drawn.
    ColourVerifier(Desktop& screen, std::function<void()> yield, bool batched);

    // The screen is read from Open to Close, the run's own device context.
    void Open();
    void Close();
    bool Batched() const { return batched_; }

    // The check right after one event; no point for a Cr, whose verdict is the previous one.
    CheckResult CheckEvent(EventCode code, const std::optional<CheckPoint>& point,
                           int32_t expectedColour, const RunPosition& at);

    // Keeps the point of the event at `start` for its batch.
    void Remember(const CheckPoint& point, int32_t expectedColour, int32_t start,
                  const FailedCheck& ifFailed);
    bool HasPending() const { return !pending_.empty(); }
    size_t OpenCount() const { return pending_.size() - closed_; }
    // Closes the open batch and checks the closed points whose paint has had time to reach the
    // screen: at the run's end, and after a failure until the run is past what it had drawn
    // (drawnTo, where the run stands now), all of them.
    CheckResult CloseBatch(bool runEnd, bool afterFailure, int32_t drawnTo);
    // Points of events from `start` on are drawn again, and checked again.
    void Forget(int32_t start);
    const FailedCheck& Failure() const { return failure_; }

  private:
    // A drawing event whose pixel a batch checks later.
    struct PendingCheck {
        CheckPoint Point;
        int32_t Expected = 0;
        int32_t Start = 0;  // the event's own index
        FailedCheck IfFailed;
        int32_t ClosedAt = 0;  // tick count when its batch closed
    };

    // Waits for the last of the first n points' paint, then reads them in one grab.
    CheckResult CheckBatch(size_t n, int32_t drawnTo);
    // The first of the first n points that does not show its colour, or n.
    size_t FirstFailing(size_t n);

    Desktop& screen_;
    std::function<void()> yield_;
    bool batched_;
    std::unique_ptr<ScreenReader> dc_;
    int32_t verdict_ = 0;  // the last check's resume index, 0 for a pass
    FailedCheck failure_;
    std::vector<PendingCheck> pending_;  // in the order drawn
    size_t closed_ = 0;                  // the first closed_ pending points are in closed batches
    int32_t redrawnTo_ = 0;              // how far the run had drawn when a check last sent it back
    std::vector<uint32_t> region_;
};

}  // namespace inkrelay
