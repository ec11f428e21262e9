#pragma once
// Drawing at the applet's own pace. A browser applet takes its input from a queue, in order, at
// a finite rate, and shows paint at its next frame; input sent faster only builds a backlog,
// and a check that gives up while the applet works through it fails a point that was never
// lost. So the run keeps the points it drew until the canvas shows them: the canvas is the
// acknowledgement. It sends only a window ahead of the last point that showed, about two
// frames of what the applet has been seen to take, and calls a point failed only when the
// applet has shown a later point or has shown nothing new for a clear interval.

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "desktop/desktop.h"
#include "draw/colour_check.h"

namespace inkrelay {

// What a paced run has seen of the applet, for tests and benchmarks.
struct PaceStats {
    int64_t Polls = 0;         // reads of the tracked points
    int64_t WaitedMs = 0;      // spent waiting for the window to open or the points to show
    int64_t Window = 0;        // the window at the end, in input events
    int64_t ConsumedEps = 0;   // the rate the window was last sized from, input events a second
    int64_t IdleFailures = 0;  // points failed because the applet showed nothing new
};

class PacedVerifier {
  public:
    // verify: points that do not show are failures; otherwise they are only waited for.
    PacedVerifier(Desktop& screen, std::function<void()> yield, bool verify);

    // The canvas the run draws on, taken to start white. Before this no point counts as fresh
    // paint, and every one waits for a later point or a quiet canvas.
    void Reset(ScreenPoint origin, int32_t width, int32_t height);
    // The event at `start` drew `point`; `sent` counts every input event sent up to it.
    void Track(const CheckPoint& point, int32_t expectedColour, int32_t start,
               const FailedCheck& ifFailed, int64_t sent);
    bool HasPending() const { return !pending_.empty(); }

    // Reads the tracked points, and while more than the window of input is on its way waits
    // for them to show. drawnTo: where the run stands. Esc is the run's to poll, once an event.
    CheckResult KeepPace(ScreenReader& dc, int64_t sent, int32_t drawnTo);
    // Waits until every tracked point has shown or is decided.
    CheckResult Drain(ScreenReader& dc, int32_t drawnTo);
    // Whether the run is still drawing again what a failure sent it back over.
    bool Redrawing(int32_t drawnTo) const { return drawnTo < redrawnTo_; }
    // Points of events from `start` on are drawn again, and tracked again.
    void Forget(int32_t start);
    const FailedCheck& Failure() const { return failure_; }
    PaceStats Stats() const;

  private:
    struct Tracked {
        CheckPoint Point;
        int32_t Expected = 0;
        int32_t Start = 0;
        FailedCheck IfFailed;
        int64_t Sent = 0;       // input events sent up to this point's event
        int32_t TrackedAt = 0;  // tick count
        bool Read = false;
        uint32_t FirstPixel = 0;
        uint32_t LastPixel = 0;
        // No earlier point of the run asked for this colour here: showing it, the point shows
        // its own paint.
        bool Fresh = false;
        bool SeenWrong = false;  // read once not showing its colour
        bool Shows = false;      // at the last read
    };

    // One read of every tracked point and what follows from it.
    CheckResult Poll(ScreenReader& dc);
    void ReadPoints(ScreenReader& dc);
    CheckResult Decide(int32_t now);
    CheckResult FailFirst();
    void Acknowledge(size_t n);
    int64_t Window() const;
    int32_t IdleLimitMs() const;
    // The later of the last change shown and the first read of the oldest point.
    int32_t IdleSince() const;
    void Wait();

    Desktop& screen_;
    std::function<void()> yield_;
    bool verify_;
    // What the run has asked each canvas pixel to show, row by row from origin_.
    std::vector<uint32_t> asked_;
    ScreenPoint origin_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::deque<Tracked> pending_;  // in the order drawn
    std::vector<uint32_t> region_;
    std::vector<uint32_t> pixels_;  // of pending_, at the last read
    FailedCheck failure_;
    int64_t acked_ = 0;  // input events the applet is known to have handled
    int32_t lastChange_ = 0;
    bool changeSeen_ = false;  // the applet has shown any of the run's paint
    int32_t longestGapMs_ = 0;
    int32_t suspectSince_ = 0;  // when the first point was found wrong behind a later one
    bool suspect_ = false;
    int32_t redrawnTo_ = 0;  // how far the run had drawn when a check last sent it back
    int32_t drawnTo_ = 0;
    int64_t consumedEps_;
    int64_t blockedMs_ = 0;
    int64_t blockedAcks_ = 0;
    PaceStats stats_;
};

}  // namespace inkrelay
