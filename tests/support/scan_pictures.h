#pragma once
// Pictures and checks shared by the scanner tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "image/picture.h"
#include "image/range_selection.h"
#include "scan/draw_list.h"
#include "scan/quantizer.h"
#include "sim_canvas.h"

namespace inkrelay::test {

// Colours from a small palette in runs of random length, with white runs between them, so
// that runs, returning colours and white all occur.
inline Picture PalettePicture(int32_t width, int32_t height, uint32_t seed) {
    const uint32_t palette[] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080,
                                0xFFFFFF, 0x7F8081, 0xFDFEFF, 0x123456, 0xF8F8F8};
    std::mt19937 random(seed);
    std::vector<uint32_t> pixels;
    while (pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        const uint32_t colour = palette[random() % std::size(palette)];
        for (uint32_t n = random() % 5 + 1; n > 0; --n) pixels.push_back(colour);
    }
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    return Picture(width, height, std::move(pixels));
}

// Smooth gradients with a little noise and a white sky, like a photograph.
inline Picture PhotoLikePicture(int32_t width, int32_t height, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (y < height / 4) {
                pixels.push_back(0xFFFFFF);
                continue;
            }
            const auto channel = [&](int32_t base) {
                return static_cast<uint32_t>(std::clamp(base + int32_t(random() % 7) - 3, 0, 255));
            };
            pixels.push_back(channel(x * 255 / width) | channel(y * 255 / height) << 8 |
                             channel(255 - (x + y) * 127 / (width + height)) << 16);
        }
    }
    return Picture(width, height, std::move(pixels));
}

inline std::vector<int16_t> CellsOf(const EventMemory& mem, int32_t end) {
    std::vector<int16_t> cells;
    for (int32_t i = 1; i <= end; ++i) cells.push_back(mem[i]);
    return cells;
}

// The replay shows every non-white pixel in its quantised colour and leaves white unpainted.
inline void ExpectReplayIsQuantisedPicture(const Picture& picture, const RangeSlots& range,
                                           int16_t quality, const EventMemory& mem, int32_t end) {
    const QuantizerRules rules = QuantizerRulesFor(quality);
    SimCanvas canvas(range.Right - range.Left + 1, range.Bottom - range.Top + 1);
    canvas.Replay(mem, end);
    int32_t mismatches = 0;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x) {
            const ColourLevels c =
                QuantizeColour(rules, picture.PixelAt(x + range.Left, y + range.Top));
            const bool ok =
                IsWhite(c) ? !canvas.Painted(x, y)
                           : canvas.Painted(x, y) &&
                                 canvas.PixelAt(x, y) == (static_cast<uint32_t>(c.R * 5) |
                                                          static_cast<uint32_t>(c.G * 5) << 8 |
                                                          static_cast<uint32_t>(c.B * 5) << 16);
            if (!ok && ++mismatches <= 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") quality " << quality;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace inkrelay::test
