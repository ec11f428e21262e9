#include "draw/magnifier.h"

namespace inkrelay {

namespace {
constexpr uint32_t Black = 0;
constexpr uint32_t FrameRed = 0x000000FFu;
constexpr int32_t HalfColumns = MagnifierColumns / 2;  // 10
constexpr int32_t HalfRows = MagnifierRows / 2;        // 6
}  // namespace

MagnifierImage Magnify(ScreenReader& dc, ScreenPoint pointer, int32_t screenWidth,
                       int32_t screenHeight) {
    std::array<uint32_t, MagnifierColumns * MagnifierRows> around{};
    const int32_t left = int32_t{pointer.X} - HalfColumns;
    const int32_t top = int32_t{pointer.Y} - HalfRows;
    dc.ReadRegion(left, top, MagnifierColumns, MagnifierRows, around);

    MagnifierImage image;
    for (int32_t row = 0; row < MagnifierRows; ++row) {
        for (int32_t column = 0; column < MagnifierColumns; ++column) {
            const int32_t x = left + column;
            const int32_t y = top + row;
            // The screen size of the state record decides, not whatever the read returned there.
            const bool onScreen = x >= 0 && y >= 0 && x < screenWidth && y < screenHeight;
            const uint32_t colour =
                onScreen ? around[static_cast<size_t>(row * MagnifierColumns + column)] : Black;
            for (int32_t dy = 0; dy < MagnifierCell; ++dy)
                for (int32_t dx = 0; dx < MagnifierCell; ++dx)
                    image.Pixels[static_cast<size_t>((row * MagnifierCell + dy) * MagnifierWidth +
                                                     column * MagnifierCell + dx)] = colour;
        }
    }
    // The unfilled frame from (29, 17) to (33, 21), one pixel outside the centre cell.
    constexpr int32_t f0x = HalfColumns * MagnifierCell - 1, f1x = f0x + MagnifierCell + 1;
    constexpr int32_t f0y = HalfRows * MagnifierCell - 1, f1y = f0y + MagnifierCell + 1;
    for (int32_t x = f0x; x <= f1x; ++x) {
        image.Pixels[static_cast<size_t>(f0y * MagnifierWidth + x)] = FrameRed;
        image.Pixels[static_cast<size_t>(f1y * MagnifierWidth + x)] = FrameRed;
    }
    for (int32_t y = f0y; y <= f1y; ++y) {
        image.Pixels[static_cast<size_t>(y * MagnifierWidth + f0x)] = FrameRed;
        image.Pixels[static_cast<size_t>(y * MagnifierWidth + f1x)] = FrameRed;
    }
    return image;
}

}  // namespace inkrelay
