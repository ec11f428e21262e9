#pragma once
// The drawing half's pauses, counted in passes of the message loop, and the read that waits for
// an applet's paint to reach the screen.

#include <cstdint>
#include <functional>

#include "desktop/desktop.h"

namespace inkrelay {

// Yields 2^n times (once for n = 0). n from 0 to 14 fits the 16-bit count; 15 and more raise
// overflow (6), a negative n invalid argument (5).
void YieldWait(const std::function<void()>& yield, int16_t n);

// Milliseconds from one tick count to a later one, taken modulo 2^32: the counter's wrap to
// negative after 24.8 days neither overflows nor ends a wait early.
constexpr int32_t ElapsedMs(int32_t from, int32_t to) {
    return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}

// Reads (x, y) until it is not white or a second has passed, yielding after every read: the
// first non-white colour, white after a second of white, ClrInvalid at once.
uint32_t ReadPixelSettled(Desktop& desktop, ScreenReader& dc, int32_t x, int32_t y,
                          const std::function<void()>& yield);

}  // namespace inkrelay
