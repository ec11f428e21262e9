#include "draw/paced_check.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "draw/yield_wait.h"

namespace inkrelay {

namespace {
// What the real browser applets were seen to take of plain dots; the window starts from it.
constexpr int64_t StartingEps = 1750;
// Two 60 Hz frames of input: the applet has the next frame's work while this one's shows.
constexpr int64_t WindowMs = 34;
constexpr int64_t MinWindow = 12;
constexpr int64_t MaxWindow = 400;
// Before an applet has shown any paint of the run it may be dead or somewhere else: a wait
// longer than a few frames under a two-frame window would only slow its failure.
constexpr int32_t IdleBeforeAnyPaintMs = 150;
// Once it has shown paint, only a stand-still longer than any it has made and then recovered
// from, and longer than a busy browser's, counts as the applet having handled everything.
constexpr int32_t IdleAfterPaintMs = 3000;
constexpr int32_t IdleLimitCapMs = 10000;
// A point still wrong six frames after a later one showed: the pointer mark an applet leaves
// after a release lasts until its next frame.
constexpr int32_t RereadLimitMs = 100;
// Rates are taken over this much time spent waiting, as frames hand paint on in bursts.
constexpr int64_t RateSpanMs = 100;
// One grab of the points' bounding box, unless it is much larger than the points.
constexpr int64_t RegionLimit = 65536;
constexpr uint32_t White = 0x00FFFFFFu;
// Asked for by a dot in a picked-up colour, whose value the run does not know.
constexpr uint32_t PickedColour = 0xFF000000u;
}  // namespace

PacedVerifier::PacedVerifier(Desktop& screen, std::function<void()> yield, bool verify)
    : screen_(screen), yield_(std::move(yield)), verify_(verify), consumedEps_(StartingEps) {}

void PacedVerifier::Reset(ScreenPoint origin, int32_t width, int32_t height) {
    origin_ = origin;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    asked_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), White);
}

void PacedVerifier::Track(const CheckPoint& point, int32_t expectedColour, int32_t start,
                          const FailedCheck& ifFailed, int64_t sent) {
    Tracked t;
    const int32_t x = point.At.X - origin_.X;
    const int32_t y = point.At.Y - origin_.Y;
    if (x >= 0 && y >= 0 && x < width_ && y < height_) {
        uint32_t& asked =
            asked_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        const uint32_t colour =
            point.OnlyWhiteFails ? PickedColour : static_cast<uint32_t>(expectedColour);
        t.Fresh = point.OnlyWhiteFails
                      ? asked == White
                      : asked != colour && asked != PickedColour && colour != White;
        asked = colour;
    }
    t.Point = point;
    t.Expected = expectedColour;
    t.Start = start;
    t.IfFailed = ifFailed;
    t.Sent = sent;
    pending_.push_back(t);
}

void PacedVerifier::Forget(int32_t start) {
    std::erase_if(pending_, [start](const Tracked& t) { return t.Start >= start; });
    suspect_ = false;
}

int64_t PacedVerifier::Window() const {
    return std::clamp<int64_t>(consumedEps_ * WindowMs / 1000, MinWindow, MaxWindow);
}

int32_t PacedVerifier::IdleLimitMs() const {
    if (!changeSeen_)
        return IdleBeforeAnyPaintMs;
    return std::min(std::max(IdleAfterPaintMs, 2 * longestGapMs_), IdleLimitCapMs);
}

PaceStats PacedVerifier::Stats() const {
    PaceStats stats = stats_;
    stats.Window = Window();
    stats.ConsumedEps = consumedEps_;
    return stats;
}

void PacedVerifier::Wait() {
    yield_();
    // The applet needs the processor to take what is awaited.
    screen_.Sleep(1);
}

CheckResult PacedVerifier::KeepPace(ScreenReader& dc, int64_t sent, int32_t drawnTo) {
    drawnTo_ = drawnTo;
    if (pending_.empty())
        return CheckResult::Undecided;
    CheckResult result = CheckResult::Undecided;
    const auto take = [&](CheckResult polled) {
        if (polled != CheckResult::Undecided)
            result = polled;
    };
    // Between waits the points are read once the backlog is half a window, so what has shown
    // leaves the list and the window opens before it is full.
    if (sent - acked_ > Window() / 2) {
        take(Poll(dc));
        if (result == CheckResult::Failed)
            return result;
    }
    if (pending_.empty() || sent - acked_ <= Window())
        return result;
    const int32_t t0 = screen_.TickCount();
    const int64_t acked0 = acked_;
    while (!pending_.empty() && sent - acked_ > Window()) {
        Wait();
        take(Poll(dc));
        if (result == CheckResult::Failed)
            break;
    }
    const int32_t waited = ElapsedMs(t0, screen_.TickCount());
    stats_.WaitedMs += waited;
    // Only time spent waiting tells the applet's rate: then it had input to take all along.
    if (result != CheckResult::Failed && acked_ >= acked0) {
        blockedMs_ += waited;
        blockedAcks_ += acked_ - acked0;
        if (blockedMs_ >= RateSpanMs) {
            const int64_t eps = blockedAcks_ * 1000 / blockedMs_;
            consumedEps_ = (consumedEps_ + eps) / 2;
            blockedMs_ = 0;
            blockedAcks_ = 0;
        }
    }
    return result;
}

CheckResult PacedVerifier::Drain(ScreenReader& dc, int32_t drawnTo) {
    drawnTo_ = drawnTo;
    CheckResult result = CheckResult::Undecided;
    const int32_t t0 = screen_.TickCount();
    while (!pending_.empty()) {
        const CheckResult polled = Poll(dc);
        if (polled == CheckResult::Failed) {
            result = polled;
            break;
        }
        if (polled == CheckResult::Passed)
            result = polled;
        if (!pending_.empty())
            Wait();
    }
    stats_.WaitedMs += ElapsedMs(t0, screen_.TickCount());
    return result;
}

CheckResult PacedVerifier::Poll(ScreenReader& dc) {
    ++stats_.Polls;
    ReadPoints(dc);
    return Decide(screen_.TickCount());
}

void PacedVerifier::ReadPoints(ScreenReader& dc) {
    int32_t left = INT16_MAX, top = INT16_MAX, right = INT16_MIN, bottom = INT16_MIN;
    for (const Tracked& t : pending_) {
        left = std::min<int32_t>(left, t.Point.At.X);
        top = std::min<int32_t>(top, t.Point.At.Y);
        right = std::max<int32_t>(right, t.Point.At.X);
        bottom = std::max<int32_t>(bottom, t.Point.At.Y);
    }
    const int32_t width = right - left + 1;
    const int32_t height = bottom - top + 1;
    pixels_.resize(pending_.size());
    if (int64_t{width} * height <= RegionLimit) {
        region_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        dc.ReadRegion(left, top, width, height, region_);
        for (size_t k = 0; k < pending_.size(); ++k) {
            const ScreenPoint at = pending_[k].Point.At;
            pixels_[k] = region_[static_cast<size_t>(at.Y - top) * static_cast<size_t>(width) +
                                 static_cast<size_t>(at.X - left)];
        }
        return;
    }
    for (size_t k = 0; k < pending_.size(); ++k)
        pixels_[k] = dc.ReadPixel(pending_[k].Point.At.X, pending_[k].Point.At.Y);
}

int32_t PacedVerifier::IdleSince() const {
    const int32_t tracked = pending_.front().TrackedAt;
    return ElapsedMs(lastChange_, tracked) > 0 ? tracked : lastChange_;
}

CheckResult PacedVerifier::Decide(int32_t now) {
    // The newest point known to be taken by the applet, and so everything sent before it; and
    // the newest seen wrong and then right, the only proof a failure may rest on.
    std::optional<size_t> taken, turned;
    bool changed = false;
    for (size_t k = 0; k < pending_.size(); ++k) {
        Tracked& t = pending_[k];
        const uint32_t pixel = pixels_[k];
        const bool shows = CheckVerdict(t.Point, pixel, t.Expected) == 0;
        if (!t.Read) {
            t.Read = true;
            t.FirstPixel = pixel;
            t.TrackedAt = now;
            changed |= shows && t.Fresh;
        } else {
            changed |= pixel != t.LastPixel;
        }
        // Fresh paint that shows is the point's own. A point that showed its colour before
        // its paint came (a redraw over its own earlier paint) is taken only once a later one
        // is; and a wrong colour may be the applet's mark under a press it is still busy
        // after. Without the check any change will do, as nothing is failed on it.
        if (shows && t.SeenWrong)
            turned = k;
        if ((shows && (t.SeenWrong || t.Fresh)) || (!verify_ && pixel != t.FirstPixel))
            taken = k;
        t.SeenWrong |= !shows;
        t.Shows = shows;
        t.LastPixel = pixel;
    }
    if (changed) {
        if (changeSeen_)
            longestGapMs_ = std::max(longestGapMs_, ElapsedMs(IdleSince(), now));
        lastChange_ = now;
        changeSeen_ = true;
    }
    const bool idle = ElapsedMs(IdleSince(), now) >= IdleLimitMs();

    // Points pass in order, each showing its colour and known to be taken.
    size_t passed = 0;
    while (passed < pending_.size() && pending_[passed].Shows &&
           (idle || (taken && passed <= *taken)))
        ++passed;
    if (!verify_ && taken)
        passed = std::max(passed, *taken + 1);
    if (!verify_ && idle)
        passed = pending_.size();
    if (taken)
        acked_ = std::max(acked_, pending_[*taken].Sent);
    CheckResult result = CheckResult::Undecided;
    if (passed > 0) {
        Acknowledge(passed);
        result = CheckResult::Passed;
    }
    if (pending_.empty())
        return result;
    if (!verify_ || (pending_.front().Shows && !idle))
        return result;  // shows, and waits for a later point to be taken

    // The first point does not show its colour.
    if (turned && *turned >= passed) {
        if (!suspect_) {
            suspect_ = true;
            suspectSince_ = now;
        } else if (ElapsedMs(suspectSince_, now) >= RereadLimitMs) {
            return FailFirst();
        }
    } else {
        suspect_ = false;
    }
    if (!idle)
        return result;
    ++stats_.IdleFailures;
    return FailFirst();
}

void PacedVerifier::Acknowledge(size_t n) {
    acked_ = std::max(acked_, pending_[n - 1].Sent);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(n));
    suspect_ = false;
}

CheckResult PacedVerifier::FailFirst() {
    failure_ = pending_.front().IfFailed;
    // Everything drawn after the failing point is drawn again, and checked again.
    pending_.clear();
    suspect_ = false;
    redrawnTo_ = std::max(redrawnTo_, drawnTo_);
    return CheckResult::Failed;
}

}  // namespace inkrelay
