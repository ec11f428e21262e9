#pragma once
// Gives a browser applet's model real time: microseconds on a monotonic clock, and a call at
// each of its 60 Hz frame boundaries so that frames are shown and held moves handed on. Like
// the millisecond ticker it runs only for a while after each input, so an idle window sleeps.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace inkrelay::practice {

class FrameClock final : public QObject {
  public:
    // clock gets the time at each frame boundary; afterClock runs next, to show what it changed.
    FrameClock(int64_t frameMicros, std::function<void(int64_t)> clock,
               std::function<void()> afterClock);

    // Microseconds since the clock was made, which is the model's time.
    int64_t Now() const;
    int64_t FrameMicros() const { return frameMicros_; }
    // Keeps calling at the frame boundaries for the next micros.
    void KeepRunningFor(int64_t micros);

  private:
    void OnTimer();
    void WaitForNextFrame(int64_t now);

    int64_t frameMicros_;
    std::function<void(int64_t)> clock_;
    std::function<void()> afterClock_;
    QElapsedTimer elapsed_;
    int64_t runUntil_ = 0;
    QTimer timer_;
};

}  // namespace inkrelay::practice
