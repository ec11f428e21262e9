#pragma once
// The largest picture the program takes in, whichever way it comes.

#include <cstdint>

namespace inkrelay {

// Sides from here on overflow the image window's 16-bit layout.
inline constexpr int32_t RefusedPictureSide = 32766;

constexpr bool PictureSideRefused(int64_t width, int64_t height) {
    return width >= RefusedPictureSide || height >= RefusedPictureSide;
}

}  // namespace inkrelay
