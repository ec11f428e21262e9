#include "draw/pointer_actions.h"

namespace inkrelay {

void PointerActions::MoveTo(int16_t x, int16_t y) {
    screen_.MovePointer(x, y);
    ++sent_;
}

void PointerActions::Press(MouseButton button) {
    screen_.PressButton(button);
    ++sent_;
}

void PointerActions::Release(MouseButton button) {
    screen_.ReleaseButton(button);
    ++sent_;
}

void PointerActions::PressAt(MouseButton button, int16_t x, int16_t y) {
    MoveTo(x, y);
    Settle();
    Press(button);
}

void PointerActions::SettleAndRelease(MouseButton button) {
    Settle();
    Release(button);
}

void PointerActions::ClickAt(MouseButton button, int16_t x, int16_t y) {
    PressAt(button, x, y);
    SettleAndRelease(button);
}

}  // namespace inkrelay
