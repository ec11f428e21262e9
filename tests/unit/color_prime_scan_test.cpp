#include "scan/color_prime_scan.h"

#include <gtest/gtest.h>

#include "scan_pictures.h"
#include "test_pictures.h"

#include <algorithm>
#include <random>
#include <vector>

#include "scan/inkjet_scan.h"

namespace inkrelay {
namespace {

using test::CellsOf;

TEST(SortKeys, gapSequenceFor100KeysAndTheSortedResult) {
    std::vector<int32_t> gaps;
    for (int32_t gap = 100; gaps.size() < 15;) gaps.push_back(gap = NextCombGap(gap));
    EXPECT_EQ(gaps, (std::vector<int32_t>{76, 58, 44, 33, 25, 19, 14, 11, 8, 6, 4, 3, 2, 1, 1}));

    std::mt19937_64 random(5);
    for (size_t size : {0, 1, 2, 100, 1000}) {
        std::vector<int64_t> keys;
        for (size_t i = 0; i < size; ++i)
            keys.push_back(PixelKey(0, 0, 0, 0, 0) + random() % 1000000);
        std::vector<int64_t> expected = keys;
        std::sort(expected.begin(), expected.end());
        SortKeys(keys);
        EXPECT_EQ(keys, expected) << size;
    }
    EXPECT_EQ(PixelKey(12, 3, 51, 1199, 7), 112'03'51'0007'1199);
}

TEST(ColorPrimeScan, whiteRangeIsAnEmptyCompletedListAndOnePixelIsMkCD) {
    const Picture picture(2, 1, {0xFFFFFF, 0x00102030});
    EventMemory mem;
    ScanResult result = ScanColorPrime(picture, {0, 0, 0, 0}, 0, mem);
    EXPECT_TRUE(result.Completed());
    EXPECT_EQ(result.EventMemEnd(), 0);
    result = ScanColorPrime(picture, {0, 0, 1, 0}, 0, mem);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(CellsOf(mem, result.EventMemEnd()), (std::vector<int16_t>{Mk, 10, 6, 3, CD, 1, 0}));
}

TEST(ColorPrimeScan, colourByColourInLevelOrderWithRunsOnlyAlongARow) {
    constexpr uint32_t K = 0x000000, B3 = 0x0F0000, G3 = 0x000F00, R3 = 0x00000F, RB = 0x0F000F;
    const Picture picture(3, 3,
                          {K, K, R3,   //
                           G3, RB, K,  //
                           K, B3, G3});
    EventMemory mem;
    ScanResult result = ScanColorPrime(picture, {0, 0, 2, 2}, 0, mem);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(CellsOf(mem, result.EventMemEnd()),
              (std::vector<int16_t>{Mk, 0,  0, 0, CL, 0, 1, 0,  CD, 2, 1, CD, 0, 2,  // (0, 0, 0)
                                    Mk, 0,  0, 3, CD, 1, 2,                          // (0, 0, 3)
                                    Mk, 0,  3, 0, CD, 0, 1, CD, 2,  2,               // (0, 3, 0)
                                    Mk, 3,  0, 0, CD, 2, 0,                          // (3, 0, 0)
                                    Mk, -3, 0, 3, CD, 1, 1}));                       // red kept

    const Picture column(1, 2, {K, K});
    result = ScanColorPrime(column, {0, 0, 0, 1}, 0, mem);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(CellsOf(mem, result.EventMemEnd()),
              (std::vector<int16_t>{Mk, 0, 0, 0, CD, 0, 0, CD, 0, 1}));
}

TEST(ColorPrimeScan, progressCoversCollectionThenEmission) {
    const Picture picture = test::PlainPicture(100, 25, 0x000000);
    std::vector<int32_t> maxima, values;
    const ScanHooks hooks{[&](int32_t m) { maxima.push_back(m); },
                          [&](int32_t v) { values.push_back(v); }, nullptr};
    EventMemory mem;
    ScanColorPrime(picture, {0, 5, 99, 24}, 0, mem, hooks);
    EXPECT_EQ(maxima, (std::vector<int32_t>{40, 4002}));
    EXPECT_EQ(values, (std::vector<int32_t>{6, 16, 20, 2001, 3001, 4001, 4002}));
}

TEST(ColorPrimeScan, replayGivesTheQuantisedPictureForEveryQuality) {
    EventMemory mem;
    for (int16_t quality = 0; quality <= 2; ++quality) {
        for (const Picture& picture :
             {test::PalettePicture(45, 30, 11u + quality), test::PhotoLikePicture(60, 40, 4)}) {
            const RangeSlots range{2, 3, static_cast<int16_t>(picture.Width() - 2),
                                   static_cast<int16_t>(picture.Height() - 2)};
            const ScanResult result = ScanColorPrime(picture, range, quality, mem);
            ASSERT_TRUE(result.Completed());
            test::ExpectReplayIsQuantisedPicture(picture, range, quality, mem,
                                                 result.EventMemEnd());
        }
    }
}

// `dots` black dots two apart, 600 to a row: one Mk and 3 cells per dot.
Picture DotPicture(int32_t dots) {
    const int32_t width = 1200, height = (dots + 599) / 600;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height),
                                 0xFFFFFF);
    for (int32_t i = 0; i < dots; ++i) pixels[static_cast<size_t>(i) * 2] = 0x000000;
    return Picture(width, height, std::move(pixels));
}

TEST(ColorPrimeScan, capacityStopsOnceTheNextCellPasses1941209) {
    EventMemory mem;
    // 4 + 3 × 647,068 = 1,941,208 cells.
    Picture picture = DotPicture(647068);
    ScanResult result =
        ScanColorPrime(picture, {0, 0, 1199, static_cast<int16_t>(picture.Height() - 1)}, 0, mem);
    EXPECT_TRUE(result.Completed());
    EXPECT_EQ(result.NextCell, 1941209);

    picture = DotPicture(647069);
    result =
        ScanColorPrime(picture, {0, 0, 1199, static_cast<int16_t>(picture.Height() - 1)}, 0, mem);
    EXPECT_EQ(result.Outcome, ScanOutcome::StoppedByCapacity);
    EXPECT_EQ(result.NextCell, 1941212);
    for (int32_t i = result.NextCell; i < EventMemSize; ++i) ASSERT_EQ(mem[i], 0) << i;
}

}  // namespace
}  // namespace inkrelay
