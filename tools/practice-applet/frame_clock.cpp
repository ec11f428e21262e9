#include "frame_clock.h"

#include <algorithm>
#include <utility>

namespace inkrelay::practice {

FrameClock::FrameClock(int64_t frameMicros, std::function<void(int64_t)> clock,
                       std::function<void()> afterClock)
    : frameMicros_(std::max<int64_t>(frameMicros, 1)),
      clock_(std::move(clock)),
      afterClock_(std::move(afterClock)) {
    elapsed_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &FrameClock::OnTimer);
}

int64_t FrameClock::Now() const {
    return elapsed_.nsecsElapsed() / 1000;
}

void FrameClock::KeepRunningFor(int64_t micros) {
    const int64_t now = Now();
    runUntil_ = std::max(runUntil_, now + micros);
    if (!timer_.isActive())
        WaitForNextFrame(now);
}

void FrameClock::OnTimer() {
    const int64_t now = Now();
    clock_(now);
    afterClock_();
    if (now < runUntil_)
        WaitForNextFrame(now);
}

void FrameClock::WaitForNextFrame(int64_t now) {
    // Timed to the boundary itself, not a fixed interval, so no frame shows late by a whole frame.
    const int64_t next = (now / frameMicros_ + 1) * frameMicros_;
    timer_.start(static_cast<int>((next - now + 999) / 1000));
}

}  // namespace inkrelay::practice
