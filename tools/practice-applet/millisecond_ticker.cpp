#include "millisecond_ticker.h"

#include <algorithm>
#include <utility>

namespace inkrelay::practice {

MillisecondTicker::MillisecondTicker(std::function<void()> tick, std::function<void()> afterTicks)
    : tick_(std::move(tick)), afterTicks_(std::move(afterTicks)) {
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    connect(&timer_, &QTimer::timeout, this, &MillisecondTicker::OnTimer);
}

void MillisecondTicker::CatchUp() {
    const qint64 now = clock_.elapsed();
    // A stopped timer has seen every late paint land: the idle ticks would do nothing.
    if (!timer_.isActive())
        ticked_ = now;
    for (; ticked_ < now; ++ticked_) tick_();
}

void MillisecondTicker::KeepRunningFor(int milliseconds) {
    runUntil_ = std::max(runUntil_, clock_.elapsed() + milliseconds);
    if (!timer_.isActive())
        timer_.start();
}

void MillisecondTicker::OnTimer() {
    CatchUp();
    afterTicks_();
    if (ticked_ > runUntil_)
        timer_.stop();
}

}  // namespace inkrelay::practice
