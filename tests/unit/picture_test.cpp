#include "image/picture.h"

#include <gtest/gtest.h>

#include "code_of.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "runtime_error.h"

namespace inkrelay {
namespace {

using test::CodeOf;

// Every pixel distinct, so a pixel inverted in the wrong place cannot go unnoticed.
Picture Numbered(int32_t width, int32_t height) {
    std::vector<uint32_t> pixels;
    for (int32_t i = 0; i < width * height; ++i)
        pixels.push_back(static_cast<uint32_t>(0x102030 + i * 0x010305));
    return Picture(width, height, pixels);
}

// The outline as a set: on one of the two columns between the rows, or on one of the two rows
// between the columns, corners in any order.
bool OnOutline(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int32_t x0 = std::min(left, right), x1 = std::max(left, right);
    const int32_t y0 = std::min(top, bottom), y1 = std::max(top, bottom);
    return ((x == x0 || x == x1) && y >= y0 && y <= y1) ||
           ((y == y0 || y == y1) && x >= x0 && x <= x1);
}

void ExpectInvertedExactly(const Picture& picture, const std::vector<bool>& inverted) {
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const uint32_t image = picture.ImagePixelAt(x, y);
            const bool flip = inverted[static_cast<size_t>(y) * picture.Width() + x];
            ASSERT_EQ(picture.PixelAt(x, y), flip ? image ^ 0xFFFFFF : image)
                << "at (" << x << "," << y << ")";
        }
    }
}

TEST(Picture, holdsItsPixelsRowByRowAndAnswersInvalidColourOffThePicture) {
    const Picture picture(3, 2, {1, 2, 3, 4, 5, 0xFF060708});
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.PixelAt(2, 0), 3u);
    EXPECT_EQ(picture.PixelAt(0, 1), 4u);
    EXPECT_EQ(picture.PixelAt(2, 1), 0x060708u);  // the top byte is no colour
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}})
        EXPECT_EQ(picture.PixelAt(x, y), Picture::InvalidColour) << x << "," << y;
}

TEST(Picture, refusesNegativeSidesAndPixelCountsThatDoNotMatch) {
    EXPECT_EQ(CodeOf([] { Picture(-1, 0, {}); }), ErrorCode::InvalidArgument);
    EXPECT_EQ(CodeOf([] { Picture(2, 2, {1, 2, 3}); }), ErrorCode::InvalidArgument);
    EXPECT_EQ(CodeOf([] { Picture(2, 1, {1, 2}); }), 0);
}

TEST(Picture, emptyPictureHasNoPixelsAndToleratesOutlinesAndCls) {
    Picture picture;
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.PixelAt(0, 0), Picture::InvalidColour);
    picture.ToggleRangeOutline(0, 0, 5, 5);
    picture.Cls();
    EXPECT_EQ(picture, Picture());
}

TEST(PictureOutline, invertsTheBoxOutlineOnceWithBothCornersIncluded) {
    Picture picture = Numbered(10, 8);
    const Picture bare = picture;
    picture.ToggleRangeOutline(2, 1, 6, 5);
    std::vector<bool> expected(80);
    int32_t count = 0;
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 10; ++x)
            count += (expected[y * 10 + x] = OnOutline(x, y, 2, 1, 6, 5)) ? 1 : 0;
    EXPECT_EQ(count, 16);  // a 5 × 5 box: four sides of 5 sharing four corners
    ExpectInvertedExactly(picture, expected);
    EXPECT_EQ(picture.PixelAt(2, 1), bare.PixelAt(2, 1) ^ 0xFFFFFF);
    EXPECT_EQ(picture.PixelAt(6, 5), bare.PixelAt(6, 5) ^ 0xFFFFFF);
    EXPECT_EQ(picture.PixelAt(3, 3), bare.PixelAt(3, 3));  // inside stays
    picture.ToggleRangeOutline(2, 1, 6, 5);
    EXPECT_EQ(picture, bare);
}

TEST(PictureOutline, crossedCornersDrawTheSameOutline) {
    Picture straight = Numbered(10, 8);
    Picture crossed = straight;
    Picture mixed = straight;
    straight.ToggleRangeOutline(2, 1, 6, 5);
    crossed.ToggleRangeOutline(6, 5, 2, 1);
    mixed.ToggleRangeOutline(6, 1, 2, 5);
    EXPECT_EQ(crossed, straight);
    EXPECT_EQ(mixed, straight);
}

TEST(PictureOutline, oneWideOneHighAndSinglePixelRangesInvertEachPixelOnce) {
    struct Case {
        int32_t Left, Top, Right, Bottom, Pixels;
    };
    for (const Case c : {Case{3, 1, 3, 5, 5}, Case{1, 4, 7, 4, 7}, Case{4, 4, 4, 4, 1},
                         Case{2, 2, 3, 3, 4}, Case{2, 2, 4, 3, 6}}) {
        Picture picture = Numbered(10, 8);
        const Picture bare = picture;
        picture.ToggleRangeOutline(c.Left, c.Top, c.Right, c.Bottom);
        int32_t changed = 0;
        for (int32_t y = 0; y < 8; ++y) {
            for (int32_t x = 0; x < 10; ++x) {
                const bool on = OnOutline(x, y, c.Left, c.Top, c.Right, c.Bottom);
                EXPECT_EQ(picture.PixelAt(x, y),
                          on ? bare.PixelAt(x, y) ^ 0xFFFFFF : bare.PixelAt(x, y));
                changed += picture.PixelAt(x, y) != bare.PixelAt(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(changed, c.Pixels) << c.Left << "," << c.Top << "-" << c.Right << "," << c.Bottom;
        picture.ToggleRangeOutline(c.Left, c.Top, c.Right, c.Bottom);
        EXPECT_EQ(picture, bare);
    }
}

TEST(PictureOutline, isClippedToThePictureAndTouchesOnlyPixelsInside) {
    Picture picture = Numbered(10, 8);
    const Picture bare = picture;
    picture.ToggleRangeOutline(-3, -2, 4, 20);  // only the right column lies inside
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 10; ++x)
            EXPECT_EQ(picture.PixelAt(x, y) != bare.PixelAt(x, y), x == 4) << x << "," << y;
    picture.ToggleRangeOutline(-3, -2, 4, 20);
    EXPECT_EQ(picture, bare);
    picture.ToggleRangeOutline(-50, -50, 100, 100);  // around the picture: nothing inside
    picture.ToggleRangeOutline(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(picture, bare);
}

TEST(PictureOutline, randomOutlinesAgreeWithTheOutlineSetAndClsRestoresTheImage) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int32_t> coordinate(-6, 18);
    for (int trial = 0; trial < 200; ++trial) {
        Picture picture = Numbered(1 + trial % 13, 1 + trial % 7);
        const Picture bare = picture;
        std::vector<bool> expected(static_cast<size_t>(picture.Width()) * picture.Height());
        for (int toggle = 0; toggle < 4; ++toggle) {
            const int32_t l = coordinate(random), t = coordinate(random);
            const int32_t r = coordinate(random), b = coordinate(random);
            picture.ToggleRangeOutline(l, t, r, b);
            for (int32_t y = 0; y < picture.Height(); ++y)
                for (int32_t x = 0; x < picture.Width(); ++x)
                    if (OnOutline(x, y, l, t, r, b))
                        expected[y * picture.Width() + x].flip();
            ASSERT_NO_FATAL_FAILURE(ExpectInvertedExactly(picture, expected));
        }
        picture.Cls();
        ASSERT_EQ(picture, bare);
    }
}

}  // namespace
}  // namespace inkrelay
