#include "scan/line_art_scan.h"

#include <gtest/gtest.h>

#include "scan_pictures.h"
#include "test_pictures.h"

#include <random>
#include <vector>

namespace inkrelay {
namespace {

using test::CellsOf;

constexpr uint32_t Ink = 0x00563412;  // levels 4, 10, 17
constexpr uint32_t Paper = 0xFFFFFF;

// A picture of `width` × `height` paper with ink at the given points.
Picture InkPicture(int32_t width, int32_t height, const std::vector<std::pair<int, int>>& ink) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), Paper);
    for (auto [x, y] : ink) pixels[static_cast<size_t>(y * width + x)] = Ink;
    return Picture(width, height, std::move(pixels));
}

std::vector<int16_t> Scan(const Picture& picture, const RangeSlots& range) {
    static EventMemory mem;
    const ScanResult result = ScanLineArt(picture, range, Ink, mem);
    EXPECT_TRUE(result.Completed());
    return CellsOf(mem, result.EventMemEnd());
}

TEST(LineArtScan, noInkIsTheMkAloneAndAnIsolatedPixelIsOneVertex) {
    EXPECT_EQ(Scan(InkPicture(4, 4, {}), {0, 0, 3, 3}), (std::vector<int16_t>{Mk, 4, 10, 17}));
    EXPECT_EQ(Scan(InkPicture(6, 5, {{3, 4}}), {1, 1, 5, 4}),
              (std::vector<int16_t>{Mk, 4, 10, 17, St, 2, 3, Mv, 2, 3, Ed}));
}

TEST(LineArtScan, straightSegmentsGetAVertexEvery127Steps) {
    std::vector<std::pair<int, int>> five, long_;
    for (int x = 0; x < 5; ++x) five.push_back({x + 2, 1});
    for (int x = 0; x < 300; ++x) long_.push_back({x + 1, 0});
    EXPECT_EQ(Scan(InkPicture(8, 3, five), {0, 0, 7, 2}),
              (std::vector<int16_t>{Mk, 4, 10, 17, St, 2, 1, Mv, 2, 1, Mv, 6, 1, Ed}));
    EXPECT_EQ(Scan(InkPicture(302, 1, long_), {0, 0, 301, 0}),
              (std::vector<int16_t>{Mk, 4,   10, 17, St,  1, 0,  Mv,  1, 0,
                                    Mv, 128, 0,  Mv, 255, 0, Mv, 300, 0, Ed}));
}

TEST(LineArtScan, anLShapeIsTracedDownwardFirstAndAForkLeavesASecondStroke) {
    EXPECT_EQ(
        Scan(InkPicture(5, 6, {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 4}, {3, 4}}), {0, 0, 4, 5}),
        (std::vector<int16_t>{Mk, 4, 10, 17, St, 1, 1, Mv, 1, 1, Mv, 1, 4, Mv, 3, 4, Ed}));
    // A T: down the stem from its top-left, then the right arm is a stroke of its own.
    EXPECT_EQ(Scan(InkPicture(4, 3, {{0, 0}, {1, 0}, {0, 1}, {0, 2}}), {0, 0, 3, 2}),
              (std::vector<int16_t>{Mk, 4, 10, 17, St, 0, 0,  Mv, 0, 0, Mv,
                                    0,  2, Ed, St, 1,  0, Mv, 1,  0, Ed}));
    // Straight down beats left; above-left is the way back up.
    EXPECT_EQ(Scan(InkPicture(3, 3, {{2, 0}, {2, 1}, {1, 1}, {2, 2}}), {0, 0, 2, 2}),
              (std::vector<int16_t>{Mk, 4, 10, 17, St, 2, 0, Mv, 2, 0, Mv, 2, 2, Mv, 1, 1, Ed}));
    // Left beats below-left, then straight down beats everything.
    EXPECT_EQ(Scan(InkPicture(3, 3, {{2, 0}, {2, 1}, {1, 1}, {1, 2}}), {0, 0, 2, 2}),
              (std::vector<int16_t>{Mk, 4, 10, 17, St, 2, 0,  Mv, 2, 0,
                                    Mv, 2, 1,  Mv, 1,  1, Mv, 1,  2, Ed}));
}

TEST(LineArtScan, inkMatchesOnTheSame52LevelStepInEveryChannel) {
    std::vector<uint32_t> row;
    for (uint32_t red = 97; red <= 103; ++red) row.push_back(0x00C8C800 | red);
    const Picture picture(7, 1, row);
    EventMemory mem;
    const ScanResult result = ScanLineArt(picture, {0, 0, 6, 0}, 0x00C8C864, mem);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(CellsOf(mem, result.EventMemEnd()),
              (std::vector<int16_t>{Mk, 20, 40, 40, St, 1, 0, Mv, 1, 0, Mv, 5, 0, Ed}));
}

TEST(LineArtScan, replayPaintsExactlyTheMaskInTheLineColour) {
    EventMemory mem;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        std::mt19937 random(seed);
        std::vector<uint32_t> pixels;
        // Sparse to dense ink, with near misses that must stay unpainted.
        for (int i = 0; i < 70 * 50; ++i)
            pixels.push_back(random() % 8 < seed + 1 ? (random() % 4 ? 0x00573313 : 0x00563417)
                                                     : Paper);
        const Picture picture(70, 50, std::move(pixels));
        const RangeSlots range{4, 3, 65, 48};
        const ScanResult result = ScanLineArt(picture, range, Ink, mem);
        ASSERT_TRUE(result.Completed());
        SimCanvas canvas(62, 46);
        canvas.Replay(mem, result.EventMemEnd());
        int32_t mismatches = 0;
        for (int y = 0; y < 46; ++y) {
            for (int x = 0; x < 62; ++x) {
                const bool ink = picture.PixelAt(x + 4, y + 3) == 0x00573313;
                if (canvas.Painted(x, y) != ink ||
                    (ink && canvas.PixelAt(x, y) != (20u | 50u << 8 | 85u << 16)))
                    ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0) << seed;
    }
}

// Isolated dots cost 7 cells each (St, Mv, Ed) after the 4 of the Mk; a staircase below them
// writes a vertex at every step.
Picture DotsAndStaircase(int32_t dots, bool staircase) {
    std::vector<std::pair<int, int>> ink;
    for (int32_t i = 0; i < dots; ++i) ink.push_back({i % 600 * 2, i / 600 * 2});
    const int32_t top = (dots + 599) / 600 * 2;
    for (int32_t k = 0; staircase && k < 20; ++k) ink.push_back({k / 2 + k % 2, top + k / 2});
    return InkPicture(1200, top + 12, ink);
}

TEST(LineArtScan, capacityStopsAfterACellOrCutsAStrokeAfterAStep) {
    EventMemory mem;
    // 4 + 7 × 277,315 = 1,941,209 cells: the next cell is 1,941,210, not past the limit.
    Picture picture = DotsAndStaircase(277315, false);
    const RangeSlots range{0, 0, 1199, static_cast<int16_t>(picture.Height() - 1)};
    ScanResult result = ScanLineArt(picture, range, Ink, mem);
    EXPECT_TRUE(result.Completed());
    EXPECT_EQ(result.NextCell, 1941210);

    picture = DotsAndStaircase(277315, true);
    result = ScanLineArt(picture, range, Ink, mem);
    ASSERT_EQ(result.Outcome, ScanOutcome::StoppedByCapacity);
    EXPECT_EQ(result.NextCell, 1941217);
    const std::vector<int16_t> tail(mem.Data() + 1941210, mem.Data() + EventMemSize);
    EXPECT_EQ(tail, (std::vector<int16_t>{St, 0, 926, Mv, 0, 926, Ed, 0}));
}

}  // namespace
}  // namespace inkrelay
