#pragma once
// Pictures whose every pixel tells where it came from, for tests of loading and the view.

#include <cstdint>
#include <vector>

#include "image/picture.h"

namespace inkrelay::test {

// 0x00BBGGRR with red from x, green from y and blue from both, so shifted copies differ.
inline uint32_t GradientColour(int32_t x, int32_t y) {
    const auto r = static_cast<uint32_t>(x & 0xFF);
    const auto g = static_cast<uint32_t>(y & 0xFF);
    const auto b = static_cast<uint32_t>((x / 256 + 16 * (y / 256) + 37) & 0xFF);
    return r | g << 8 | b << 16;
}

inline Picture GradientPicture(int32_t width, int32_t height) {
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) pixels.push_back(GradientColour(x, y));
    }
    return Picture(width, height, std::move(pixels));
}

inline Picture PlainPicture(int32_t width, int32_t height, uint32_t colour) {
    return Picture(
        width, height,
        std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), colour));
}

}  // namespace inkrelay::test
