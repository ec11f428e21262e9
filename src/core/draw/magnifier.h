#pragma once
// The magnifier of the RGB bar capture: 21 x 13 screen pixels around the pointer, each drawn as
// a 3 x 3 cell, with a red frame round the centre cell.

#include <array>
#include <cstdint>

#include "desktop/desktop.h"

namespace inkrelay {

inline constexpr int32_t MagnifierColumns = 21;
inline constexpr int32_t MagnifierRows = 13;
inline constexpr int32_t MagnifierCell = 3;
inline constexpr int32_t MagnifierWidth = MagnifierColumns * MagnifierCell;  // 63
inline constexpr int32_t MagnifierHeight = MagnifierRows * MagnifierCell;    // 39

// The picture drawn into the magnifier box, row by row, colours 0x00BBGGRR.
struct MagnifierImage {
    std::array<uint32_t, MagnifierWidth * MagnifierHeight> Pixels{};
    uint32_t At(int32_t x, int32_t y) const {
        return Pixels[static_cast<size_t>(y * MagnifierWidth + x)];
    }
};

// Reads the pixels around the pointer in one region read; those off the screen (outside
// screenWidth x screenHeight) are black.
MagnifierImage Magnify(ScreenReader& dc, ScreenPoint pointer, int32_t screenWidth,
                       int32_t screenHeight);

}  // namespace inkrelay
