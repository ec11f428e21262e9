#include "draw/yield_wait.h"

#include "runtime_error.h"

namespace inkrelay {

namespace {
constexpr uint32_t White = 0x00FFFFFFu;
constexpr int32_t SettleLimitMs = 1000;
}  // namespace

void YieldWait(const std::function<void()>& yield, int16_t n) {
    if (n < 0)
        throw RuntimeError(ErrorCode::InvalidArgument);
    if (n > 14)
        throw RuntimeError(ErrorCode::Overflow);  // 2^15 passes the 16-bit count
    const int32_t count = int32_t{1} << n;
    for (int32_t k = 0; k < count; ++k) yield();
}

uint32_t ReadPixelSettled(Desktop& desktop, ScreenReader& dc, int32_t x, int32_t y,
                          const std::function<void()>& yield) {
    uint32_t result = White;
    const int32_t t0 = desktop.TickCount();
    while (ElapsedMs(t0, desktop.TickCount()) < SettleLimitMs && result == White) {
        result = dc.ReadPixel(x, y);
        yield();
    }
    return result;
}

}  // namespace inkrelay
