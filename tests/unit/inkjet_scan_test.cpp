#include "scan/inkjet_scan.h"

#include <gtest/gtest.h>

#include "scan_pictures.h"
#include "test_pictures.h"

#include <vector>

#include "scan/quantizer.h"

namespace inkrelay {
namespace {

using test::CellsOf;

TEST(Quantizer, rulesFollowTheQualityPerHalfOfTheChannel) {
    const QuantizerRules q0 = QuantizerRulesFor(0);
    const QuantizerRules q1 = QuantizerRulesFor(1);
    const QuantizerRules q2 = QuantizerRulesFor(2);
    EXPECT_EQ(QuantizeChannel(q0, 2), 0);
    EXPECT_EQ(QuantizeChannel(q0, 3), 1);
    EXPECT_EQ(QuantizeChannel(q0, 127), 25);
    EXPECT_EQ(QuantizeChannel(q0, 128), 26);
    EXPECT_EQ(QuantizeChannel(q1, 7), 0);
    EXPECT_EQ(QuantizeChannel(q1, 8), 3);
    EXPECT_EQ(QuantizeChannel(q1, 22), 3);
    EXPECT_EQ(QuantizeChannel(q1, 23), 6);
    EXPECT_EQ(QuantizeChannel(q1, 113), 24);
    EXPECT_EQ(QuantizeChannel(q1, 127), 24);
    EXPECT_EQ(QuantizeChannel(q1, 128), 26);
    EXPECT_EQ(QuantizeChannel(q1, 255), 51);
    EXPECT_EQ(QuantizeChannel(q2, 127), 24);
    EXPECT_EQ(QuantizeChannel(q2, 128), 27);
    EXPECT_EQ(QuantizeChannel(q2, 255), 51);
    EXPECT_EQ(QuantizeColour(q0, 0x00102030), (ColourLevels{10, 6, 3}));
}

TEST(Quantizer, whiteIsEveryLevel51AndTheNoColourSentinel) {
    EXPECT_TRUE(IsWhite(QuantizeColour(QuantizerRulesFor(0), 0xFDFDFD)));
    EXPECT_FALSE(IsWhite(QuantizeColour(QuantizerRulesFor(1), 0xFDFDFC)));
    EXPECT_TRUE(IsWhite(QuantizeColour(QuantizerRulesFor(2), 0xF8F8F8)));
    EXPECT_FALSE(IsWhite(QuantizeColour(QuantizerRulesFor(2), 0xF8F7F8)));
    EXPECT_TRUE(IsWhite(NoColour));
}

TEST(InkjetScan, onePixelRangeIsMkDtCrOrOnlyCrWhenWhite) {
    const Picture picture(2, 1, {0x00102030, 0xFFFFFF});
    EventMemory mem;
    ScanResult result = ScanInkjet(picture, {0, 0, 0, 0}, 0, mem);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(CellsOf(mem, result.EventMemEnd()), (std::vector<int16_t>{Mk, 10, 6, 3, Dt, 0, Cr}));
    result = ScanInkjet(picture, {1, 0, 1, 0}, 0, mem);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(CellsOf(mem, result.EventMemEnd()), (std::vector<int16_t>{Cr}));
}

TEST(InkjetScan, runsDotsMarkedLevelsAndAReturningColourPickedUpOnALaterRow) {
    constexpr uint32_t W = 0xFFFFFF, A = 0x000000, B = 0x0000FF, C = 0x003200FF;
    // The picture's first column and row lie outside the range.
    const Picture picture(5, 4, {W, W, W, W, W,  //
                                 W, W, W, W, W,  //
                                 W, A, A, B, A,  //
                                 W, B, C, W, W});
    EventMemory mem;
    const ScanResult result = ScanInkjet(picture, {1, 1, 4, 3}, 0, mem);
    ASSERT_TRUE(result.Completed());
    EXPECT_EQ(CellsOf(mem, result.EventMemEnd()),
              (std::vector<int16_t>{Cr,                             // white row
                                    Mk, 0,   0, 0,  Ln, 0,  1,      // A A: x2 = x1 + 1
                                    Mk, 51,  0, 0,  Dt, 2,          // B between other colours
                                    Gt, 0,   1, Dt, 3,  Cr,         // A again
                                    Gt, 2,   1, Dt, 0,              // B again, a row later
                                    Mk, -51, 0, 10, Dt, 1,  Cr}));  // red unchanged
}

TEST(InkjetScan, progressFallsOnPictureRowsThatAreMultiplesOfTenAndYieldsEveryRow) {
    const Picture picture = test::PlainPicture(3, 30, 0x000000);
    std::vector<int32_t> values;
    int32_t maximum = 0, yields = 0;
    const ScanHooks hooks{[&](int32_t m) { maximum = m; }, [&](int32_t v) { values.push_back(v); },
                          [&] { ++yields; }};
    EventMemory mem;
    ScanInkjet(picture, {0, 5, 2, 24}, 0, mem, hooks);
    EXPECT_EQ(maximum, 20);
    EXPECT_EQ(values, (std::vector<int32_t>{6, 16}));
    EXPECT_EQ(yields, 20);
}

TEST(InkjetScan, replayGivesTheQuantisedPictureForEveryQuality) {
    EventMemory mem;
    for (int16_t quality = 0; quality <= 2; ++quality) {
        for (const Picture& picture :
             {test::PalettePicture(45, 30, 7u + quality), test::PhotoLikePicture(60, 40, 3)}) {
            const RangeSlots range{3, 2, static_cast<int16_t>(picture.Width() - 4),
                                   static_cast<int16_t>(picture.Height() - 1)};
            const ScanResult result = ScanInkjet(picture, range, quality, mem);
            ASSERT_TRUE(result.Completed());
            test::ExpectReplayIsQuantisedPicture(picture, range, quality, mem,
                                                 result.EventMemEnd());
        }
    }
}

// Dots two apart in one colour cost 2 cells each, a row of 1200 columns 1201 with its Cr, a
// white row 1; with the first Mk, 1616 dotted rows and `whiteRows` white rows end the list at
// 4 + 1616 × 1201 + whiteRows cells.
Picture DottedPicture(int32_t whiteRows) {
    const int32_t width = 1200, dotted = 1616;
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < dotted + whiteRows; ++y) {
        for (int32_t x = 0; x < width; ++x)
            pixels.push_back(y < dotted && x % 2 == 0 ? 0x000000 : 0xFFFFFF);
    }
    return Picture(width, dotted + whiteRows, std::move(pixels));
}

TEST(InkjetScan, capacityStopsOnceTheNextCellPasses1941209) {
    EventMemory mem;
    Picture picture = DottedPicture(388);
    const RangeSlots range{0, 0, 1199, static_cast<int16_t>(picture.Height() - 1)};
    ScanResult result = ScanInkjet(picture, range, 0, mem);
    EXPECT_TRUE(result.Completed());
    EXPECT_EQ(result.NextCell, 1941209);

    picture = DottedPicture(389);
    const RangeSlots longer{0, 0, 1199, static_cast<int16_t>(picture.Height() - 1)};
    result = ScanInkjet(picture, longer, 0, mem);
    EXPECT_EQ(result.Outcome, ScanOutcome::StoppedByCapacity);
    EXPECT_EQ(result.NextCell, 1941210);
}

TEST(InkjetScan, aPictureFarBeyondTheListStopsWithoutWritingPastTheWorstPixel) {
    // Alternating colours: a pick-up and a dot for every pixel.
    std::vector<uint32_t> pixels;
    for (int32_t i = 0; i < 700 * 700; ++i) pixels.push_back((i + i / 700) % 2 ? 0x0000FF : 0);
    const Picture picture(700, 700, std::move(pixels));
    EventMemory mem;
    const ScanResult result = ScanInkjet(picture, {0, 0, 699, 699}, 0, mem);
    ASSERT_EQ(result.Outcome, ScanOutcome::StoppedByCapacity);
    EXPECT_GT(result.NextCell, FullColourCellLimit);
    EXPECT_LE(result.NextCell, FullColourCellLimit + 5);
    for (int32_t i = result.NextCell; i < EventMemSize; ++i) ASSERT_EQ(mem[i], 0) << i;
    SimCanvas canvas(700, 700);
    EXPECT_NO_THROW(canvas.Replay(mem, result.NextCell - 1));
}

}  // namespace
}  // namespace inkrelay
