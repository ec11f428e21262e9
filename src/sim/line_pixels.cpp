#include "line_pixels.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace inkrelay {

std::vector<ScreenPoint> LinePixels(ScreenPoint from, ScreenPoint to) {
    // 32-bit arithmetic: the error term of a 16-bit line does not fit 16 bits.
    int32_t x = from.X;
    int32_t y = from.Y;
    const int32_t dx = std::abs(to.X - x);
    const int32_t dy = -std::abs(to.Y - y);
    const int32_t sx = x < to.X ? 1 : -1;
    const int32_t sy = y < to.Y ? 1 : -1;
    int32_t error = dx + dy;
    std::vector<ScreenPoint> pixels;
    pixels.reserve(static_cast<size_t>(std::max(dx, -dy)) + 1);
    for (;;) {
        pixels.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y)});
        if (x == to.X && y == to.Y)
            return pixels;
        const int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

}  // namespace inkrelay
