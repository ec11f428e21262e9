#pragma once
// Gives the model one Tick() per millisecond of wall-clock time, so that its PaintLag, a count of
// ticks, is a delay in milliseconds and the late paint is the model's own, not a second queue.
// The timer runs only for a while after each input, so an idle window is not woken 1000 times a
// second.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace inkrelay::practice {

class MillisecondTicker final : public QObject {
  public:
    // afterTicks runs after the timer has caught up, to show what the ticks painted.
    MillisecondTicker(std::function<void()> tick, std::function<void()> afterTicks);

    // The ticks of the milliseconds passed since the last; before an input, so paints due by
    // then land first.
    void CatchUp();
    // Keeps the timer catching up by itself for the next milliseconds.
    void KeepRunningFor(int milliseconds);

  private:
    void OnTimer();

    std::function<void()> tick_;
    std::function<void()> afterTicks_;
    QElapsedTimer clock_;
    qint64 ticked_ = 0;
    qint64 runUntil_ = 0;
    QTimer timer_;
};

}  // namespace inkrelay::practice
