#pragma once
// The engine's pointer gestures on the desktop, each step followed by the run's settle pause
// where the applet needs one. The bar clicks and the event replay act only through these, and
// they count what they send, so a run can tell how far ahead of the applet it is.

#include <cstdint>
#include <functional>
#include <utility>

#include "desktop/desktop.h"

namespace inkrelay {

class PointerActions {
  public:
    // settle is the run's pause around button events; it may change during the run.
    PointerActions(Desktop& screen, std::function<void()> settle)
        : screen_(screen), settle_(std::move(settle)) {}

    void Settle() const { settle_(); }
    void MoveTo(int16_t x, int16_t y);
    void Press(MouseButton button);
    void Release(MouseButton button);
    // Move, settle, press: the start of a click or a drag.
    void PressAt(MouseButton button, int16_t x, int16_t y);
    // Settle, release: the end of one.
    void SettleAndRelease(MouseButton button);
    // A whole click: a dot, a pick-up, a bar level.
    void ClickAt(MouseButton button, int16_t x, int16_t y);

    // Moves and button events sent so far.
    int64_t Sent() const { return sent_; }

  private:
    Desktop& screen_;
    std::function<void()> settle_;
    int64_t sent_ = 0;
};

}  // namespace inkrelay
