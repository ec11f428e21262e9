#include "image/range_selection.h"

#include <gtest/gtest.h>

#include "code_of.h"

#include <array>
#include <functional>
#include <random>

#include "runtime_error.h"

namespace inkrelay {
namespace {

using test::CodeOf;

constexpr RangeSlots Box{100, 100, 200, 180};

DragState LeftPress(int16_t x, int16_t y, const RangeSlots& range) {
    return {x, y, range.Left, range.Top, range.Right, range.Bottom};
}

void ExpectRange(const RangeSlots& got, int16_t left, int16_t top, int16_t right, int16_t bottom) {
    EXPECT_EQ(got.Left, left);
    EXPECT_EQ(got.Top, top);
    EXPECT_EQ(got.Right, right);
    EXPECT_EQ(got.Bottom, bottom);
}

TEST(HitTestRange, findsEachGripAndTheBandEdgesFollowTheStrictComparisons) {
    struct Case {
        int16_t Px, Py, Grip;
    };
    // Columns 92 < px < 108, 107 < px < 193, 192 < px < 208; rows 92 < py < 108,
    // 107 < py < 173, 172 < py < 188.
    for (const Case c :
         {Case{100, 100, 7}, {150, 100, 8}, {200, 100, 9}, {100, 140, 4}, {150, 140, 5},
          {200, 140, 6},     {100, 180, 1}, {150, 180, 2}, {200, 180, 3}, {92, 140, 0},
          {93, 140, 4},      {107, 140, 4}, {108, 140, 5}, {192, 140, 5}, {193, 140, 6},
          {207, 140, 6},     {208, 140, 0}, {150, 92, 0},  {150, 93, 8},  {150, 107, 8},
          {150, 108, 5},     {150, 172, 5}, {150, 173, 2}, {150, 187, 2}, {150, 188, 0},
          {50, 50, 0},       {150, 250, 0}, {93, 93, 7},   {207, 187, 3}})
        EXPECT_EQ(HitTestRange(c.Px, c.Py, Box), c.Grip) << "(" << c.Px << "," << c.Py << ")";
}

TEST(HitTestRange, overlappingGripsOfASmallRangeGoToTheRightColumnAndTheTopRow) {
    EXPECT_EQ(HitTestRange(104, 150, {100, 100, 109, 200}), 6);
    EXPECT_EQ(HitTestRange(150, 104, {100, 100, 200, 109}), 8);
    EXPECT_EQ(HitTestRange(104, 104, {100, 100, 109, 109}), 9);
    for (int16_t py = -7; py <= 7; ++py)
        for (int16_t px = -7; px <= 7; ++px)
            ASSERT_EQ(HitTestRange(px, py, {}), 9) << px << "," << py;
    EXPECT_EQ(HitTestRange(8, 0, {}), 0);
    EXPECT_EQ(HitTestRange(0, 8, {}), 0);
}

TEST(HitTestRange, pointerShapesFollowTheGrips) {
    const std::array<PointerShape, 10> shapes = {
        PointerShape::Arrow,  PointerShape::SizeNESW, PointerShape::SizeNS, PointerShape::SizeNWSE,
        PointerShape::SizeWE, PointerShape::SizeAll,  PointerShape::SizeWE, PointerShape::SizeNWSE,
        PointerShape::SizeNS, PointerShape::SizeNESW};
    for (int16_t grip = 0; grip <= 9; ++grip) EXPECT_EQ(PointerForGrip(grip), shapes[grip]) << grip;
    EXPECT_EQ(PointerForGrip(10), PointerShape::Arrow);
    EXPECT_EQ(PointerForGrip(-1), PointerShape::Arrow);
}

TEST(DragRange, newRangeKeepsThePressPointAndClampsOnlyTheCornerUnderThePointer) {
    // View (50, 40): the press at display (50, 60) is picture point (100, 100).
    const DragState press = LeftPress(50, 60, {});
    RangeSlots range = DragRange(0, press, 120, 90, 50, 40, 640, 480, {});
    ExpectRange(range, 100, 100, 170, 130);
    range = DragRange(0, press, -200, -300, 50, 40, 640, 480, range);
    ExpectRange(range, 100, 100, 0, 0);
    ExpectRange(NormaliseRange(range), 0, 0, 100, 100);
    ExpectRange(DragRange(0, press, 5000, 5000, 50, 40, 640, 480, {}), 100, 100, 639, 479);
    // A press on the display's frame beyond the picture stays where it was.
    ExpectRange(DragRange(0, LeftPress(201, 5, {}), 10, 10, 0, 0, 200, 100, {}), 201, 5, 10, 10);
}

TEST(DragRange, eachEdgeGripMovesOnlyItsEdgesClampedToThePicture) {
    const DragState press = LeftPress(50, 60, Box);
    struct Case {
        int16_t Grip, Left, Top, Right, Bottom;
    };
    for (const Case c : {Case{7, 115, 80, 200, 180},
                         {8, 100, 80, 200, 180},
                         {9, 100, 80, 215, 180},
                         {4, 115, 100, 200, 180},
                         {6, 100, 100, 215, 180},
                         {1, 115, 100, 200, 160},
                         {2, 100, 100, 200, 160},
                         {3, 100, 100, 215, 160}}) {
        SCOPED_TRACE(c.Grip);
        ExpectRange(DragRange(c.Grip, press, 65, 40, 0, 0, 640, 480, Box), c.Left, c.Top, c.Right,
                    c.Bottom);
    }
    ExpectRange(DragRange(3, press, 5000, 5000, 0, 0, 640, 480, Box), 100, 100, 639, 479);
    ExpectRange(DragRange(7, press, -5000, -5000, 0, 0, 640, 480, Box), 0, 0, 200, 180);
    const RangeSlots crossed = DragRange(4, press, 200, 60, 0, 0, 640, 480, Box);
    ExpectRange(crossed, 250, 100, 200, 180);
    ExpectRange(NormaliseRange(crossed), 200, 100, 250, 180);
    ExpectRange(DragRange(12, press, 65, 40, 0, 0, 640, 480, Box), 100, 100, 200, 180);
}

TEST(DragRange, movingByTheBodyKeepsTheSizeAndNeverLeavesThePicture) {
    const DragState press = LeftPress(50, 60, Box);
    ExpectRange(DragRange(5, press, 65, 40, 0, 0, 640, 480, Box), 115, 80, 215, 160);
    ExpectRange(DragRange(5, press, 5000, 5000, 0, 0, 640, 480, Box), 539, 399, 639, 479);
    ExpectRange(DragRange(5, press, -5000, -5000, 0, 0, 640, 480, Box), 0, 0, 100, 80);
    // The view plays no part in a move.
    ExpectRange(DragRange(5, press, 65, 40, 300, 200, 640, 480, Box), 115, 80, 215, 160);
}

TEST(DragRange, fromTheEmptyRangeTheTopRightGripDrawsARangeFromTheOrigin) {
    const int16_t grip = HitTestRange(3, 4, {});
    ASSERT_EQ(grip, 9);
    const RangeSlots dragged =
        DragRange(grip, LeftPress(3, 4, {}), 3 + 40, 4 + 25, 0, 0, 640, 480, {});
    ExpectRange(NormaliseRange(dragged), 0, 0, 40, 25);
}

TEST(DragRange, sixteenBitOverflowIsRaised) {
    EXPECT_EQ(CodeOf([] { DragRange(0, LeftPress(32767, 0, {}), 0, 0, 1, 0, 640, 480, {}); }),
              ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { DragRange(3, LeftPress(0, 0, Box), 0, 0, 0, 0, 40000, 480, Box); }),
              ErrorCode::Overflow);
}

TEST(SelectFromOrigin, cutsTheSquareToThePictureAndZeroGivesMinusOne) {
    ExpectRange(SelectFromOrigin(32767, 640, 480), 0, 0, 639, 479);
    ExpectRange(SelectFromOrigin(800, 500, 300), 0, 0, 499, 299);
    ExpectRange(SelectFromOrigin(800, 1000, 1000), 0, 0, 799, 799);
    ExpectRange(SelectFromOrigin(100, 50, 200), 0, 0, 49, 99);
    ExpectRange(SelectFromOrigin(0, 640, 480), 0, 0, -1, -1);
    EXPECT_EQ(CodeOf([] { SelectFromOrigin(-32768, 640, 480); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { SelectFromOrigin(100, 40000, 480); }), ErrorCode::Overflow);
}

TEST(NormaliseRange, swapsOnlyTheCrossedPair) {
    ExpectRange(NormaliseRange({5, 1, 2, 9}), 2, 1, 5, 9);
    ExpectRange(NormaliseRange({1, 9, 5, 2}), 1, 2, 5, 9);
    ExpectRange(NormaliseRange({7, 7, 7, 7}), 7, 7, 7, 7);
}

bool Inside(const RangeSlots& r, int32_t w, int32_t h) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= w - 1 && r.Bottom <= h - 1;
}

// Press, moves and release against random pictures, views and ranges.
TEST(DragRange, randomDragsEndNormalisedInsideThePictureAndMovesKeepTheSize) {
    std::mt19937 random(7031);
    auto uniform = [&](int32_t lo, int32_t hi) {
        return static_cast<int16_t>(std::uniform_int_distribution<int32_t>(lo, hi)(random));
    };
    std::array<int, 10> gripsSeen{};
    for (int trial = 0; trial < 20000; ++trial) {
        const int32_t w = trial % 4 == 0 ? uniform(1, 24) : uniform(1, 3000);
        const int32_t h = trial % 5 == 0 ? uniform(1, 24) : uniform(1, 3000);
        const int16_t viewX = uniform(0, w - 1), viewY = uniform(0, h - 1);
        RangeSlots range;
        if (trial % 3 != 0) {
            range = NormaliseRange(
                {uniform(0, w - 1), uniform(0, h - 1), uniform(0, w - 1), uniform(0, h - 1)});
        }
        const RangeSlots start = range;
        // Aim at the range's corners, edges and body half of the time.
        int16_t px = uniform(-20, w + 20), py = uniform(-20, h + 20);
        if (trial % 2 == 0) {
            const int16_t xs[] = {range.Left, static_cast<int16_t>((range.Left + range.Right) / 2),
                                  range.Right};
            const int16_t ys[] = {range.Top, static_cast<int16_t>((range.Top + range.Bottom) / 2),
                                  range.Bottom};
            px = static_cast<int16_t>(xs[uniform(0, 2)] + uniform(-9, 9));
            py = static_cast<int16_t>(ys[uniform(0, 2)] + uniform(-9, 9));
        }
        const int16_t grip = HitTestRange(px, py, range);
        ++gripsSeen[grip];
        const auto anchorX = static_cast<int16_t>(px - viewX);
        const auto anchorY = static_cast<int16_t>(py - viewY);
        const DragState press = LeftPress(anchorX, anchorY, range);
        int16_t x = anchorX, y = anchorY;
        for (int move = uniform(1, 6); move > 0; --move) {
            x = uniform(-3500, 3500);
            y = uniform(-3500, 3500);
            if (uniform(0, 9) == 0) {
                x = anchorX;
                y = anchorY;
            }
            range = DragRange(grip, press, x, y, viewX, viewY, w, h, range);
        }
        if (x == anchorX && y == anchorY)
            continue;  // a click: the release drops the range
        const RangeSlots released = NormaliseRange(range);
        const bool pressInside = px >= 0 && py >= 0 && px < w && py < h;
        if (grip == 0 && !pressInside)
            continue;
        SCOPED_TRACE(testing::Message() << "trial " << trial << " grip " << grip);
        ASSERT_LE(released.Left, released.Right);
        ASSERT_LE(released.Top, released.Bottom);
        ASSERT_TRUE(Inside(released, w, h));
        if (grip == 5) {
            ASSERT_EQ(released.Right - released.Left, start.Right - start.Left);
            ASSERT_EQ(released.Bottom - released.Top, start.Bottom - start.Top);
        }
        if (grip == 0) {
            ASSERT_TRUE(released.Left == px || released.Right == px);
            ASSERT_TRUE(released.Top == py || released.Bottom == py);
        }
    }
    for (int grip = 0; grip <= 9; ++grip) EXPECT_GT(gripsSeen[grip], 100) << grip;
}

}  // namespace
}  // namespace inkrelay
