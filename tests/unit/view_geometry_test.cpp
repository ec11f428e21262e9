#include "image/view_geometry.h"

#include <gtest/gtest.h>

#include "code_of.h"

#include <functional>

#include "runtime_error.h"

namespace inkrelay {
namespace {

using test::CodeOf;

DragState RightPress(int16_t x, int16_t y, int16_t viewX, int16_t viewY) {
    DragState drag;
    drag.DragAnchorX = x;
    drag.DragAnchorY = y;
    drag.DragStartLeft = viewX;
    drag.DragStartTop = viewY;
    return drag;
}

TEST(ViewClamp, clampsWithTheLowerBoundWinningWhenTheBoundsCross) {
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);
    EXPECT_EQ(IntMax(-32768, 32767), 32767);
    EXPECT_EQ(Clamp(5, 0, 10), 5);
    EXPECT_EQ(Clamp(-5, 0, 10), 0);
    EXPECT_EQ(Clamp(15, 0, 10), 10);
    EXPECT_EQ(Clamp(5, 3, 1), 3);
    EXPECT_EQ(Clamp(-5, 3, 1), 3);
}

TEST(ImageViewLayout, smallPictureGetsADisplayTwoPixelsLargerCentredAndNoPanning) {
    const ImageViewLayout layout = LayOutImageView(400, 300, 200, 150, 50, 40);
    EXPECT_EQ(layout.Width, 202);
    EXPECT_EQ(layout.Height, 152);
    EXPECT_EQ(layout.Left, 99);
    EXPECT_EQ(layout.Top, 74);
    EXPECT_EQ(layout.ViewX, 0);
    EXPECT_EQ(layout.ViewY, 0);
    // The pan alone may reach 2 (200 - 200 inner + 2); the refresh that follows takes it back.
    const ViewOrigin panned = PanView(RightPress(100, 100, 0, 0), 20, 30, 200, 150, 200, 150);
    EXPECT_EQ(panned.ViewX, 2);
    EXPECT_EQ(panned.ViewY, 2);
    const ImageViewLayout refreshed =
        LayOutImageView(400, 300, 200, 150, panned.ViewX, panned.ViewY);
    EXPECT_EQ(refreshed.ViewX, 0);
    EXPECT_EQ(refreshed.ViewY, 0);
}

TEST(ImageViewLayout, largePictureFillsTheClientAreaAndTheViewStopsTwoPixelsPastTheEdge) {
    const ImageViewLayout layout = LayOutImageView(400, 300, 1000, 800, 30000, 30000);
    EXPECT_EQ(layout.Left, 0);
    EXPECT_EQ(layout.Top, 0);
    EXPECT_EQ(layout.Width, 400);
    EXPECT_EQ(layout.Height, 300);
    EXPECT_EQ(layout.ViewX, 602);
    EXPECT_EQ(layout.ViewY, 502);
    EXPECT_EQ(LayOutImageView(400, 300, 1000, 800, 250, 120).ViewX, 250);
    EXPECT_EQ(LayOutImageView(400, 300, 1000, 800, -7, 120).ViewX, 0);
}

TEST(ImageViewLayout, enlargingTheWindowAfterPanningPullsTheViewBack) {
    const ImageViewLayout far = LayOutImageView(400, 300, 1000, 800, 602, 502);
    const ImageViewLayout wider = LayOutImageView(800, 700, 1000, 800, far.ViewX, far.ViewY);
    EXPECT_EQ(wider.Width, 800);
    EXPECT_EQ(wider.ViewX, 202);  // 1000 - 800 + 2
    EXPECT_EQ(wider.ViewY, 102);
    const ImageViewLayout fits = LayOutImageView(1100, 900, 1000, 800, far.ViewX, far.ViewY);
    EXPECT_EQ(fits.Width, 1002);
    EXPECT_EQ(fits.ViewX, 0);
    EXPECT_EQ(fits.Left, 49);
}

TEST(ImageViewLayout, centringRoundsTowardsMinusInfinityAndTheDisplayStaysAtLeastThreePixels) {
    EXPECT_EQ(LayOutImageView(401, 300, 200, 150, 0, 0).Left, 99);  // 199 / 2
    for (auto [client, left] : {std::pair{2, -1}, {1, -1}, {0, -2}}) {
        const ImageViewLayout layout = LayOutImageView(client, client, 200, 150, 0, 0);
        EXPECT_EQ(layout.Width, 3) << client;
        EXPECT_EQ(layout.Height, 3) << client;
        EXPECT_EQ(layout.Left, left) << client;
        EXPECT_EQ(layout.Top, left) << client;
    }
    const ImageViewLayout empty = LayOutImageView(400, 300, 0, 0, 9, 9);
    EXPECT_EQ(empty.Width, 3);
    EXPECT_EQ(empty.Left, 198);
    EXPECT_EQ(empty.ViewX, 0);
    const ImageViewLayout onePixel = LayOutImageView(400, 300, 1, 1, 0, 0);
    EXPECT_EQ(onePixel.Width, 3);
    EXPECT_EQ(onePixel.Top, 148);
}

TEST(ImageViewLayout, picturesOf32766PixelsOrMoreOverflow) {
    EXPECT_EQ(CodeOf([] { LayOutImageView(400, 300, 32765, 10, 0, 0); }), 0);
    EXPECT_EQ(LayOutImageView(400, 300, 32765, 10, 32767, 0).ViewX, 32367);  // 32765 - 400 + 2
    EXPECT_EQ(CodeOf([] { LayOutImageView(400, 300, 32766, 10, 0, 0); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { LayOutImageView(400, 300, 10, 32766, 0, 0); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { LayOutImageView(400, 300, 40000, 10, 0, 0); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { LayOutImageView(40000, 300, 10, 10, 0, 0); }), ErrorCode::Overflow);
}

TEST(PanView, thePictureFollowsThePointerWithinThePannableRange) {
    // 1000 × 800 in a display of 398 × 298 inner pixels.
    const DragState press = RightPress(200, 150, 300, 200);
    const ViewOrigin right = PanView(press, 210, 150, 1000, 800, 398, 298);
    EXPECT_EQ(right.ViewX, 290);  // pointer 10 right: the picture shows 10 pixels further left
    EXPECT_EQ(right.ViewY, 200);
    const ViewOrigin up = PanView(press, 200, 100, 1000, 800, 398, 298);
    EXPECT_EQ(up.ViewY, 250);
    const ViewOrigin past = PanView(press, -500, -500, 1000, 800, 398, 298);
    EXPECT_EQ(past.ViewX, 604);  // 1000 - 398 + 2; the layout's clamp then takes it to 602
    EXPECT_EQ(past.ViewY, 504);
    EXPECT_EQ(LayOutImageView(400, 300, 1000, 800, past.ViewX, past.ViewY).ViewX, 602);
    const ViewOrigin before = PanView(press, 1000, 1000, 1000, 800, 398, 298);
    EXPECT_EQ(before.ViewX, 0);
    EXPECT_EQ(before.ViewY, 0);
}

TEST(PanView, overflowsLikeTheWindowsSixteenBitArithmetic) {
    EXPECT_EQ(CodeOf([] { PanView(RightPress(-1, 0, 0, 0), 32767, 0, 1000, 800, 398, 298); }),
              ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { PanView(RightPress(0, 0, 0, 0), 0, 0, 40000, 800, 398, 298); }),
              ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([] { PanView(RightPress(0, 0, 0, 0), 0, 0, 1000, 800, 398, 298); }), 0);
}

}  // namespace
}  // namespace inkrelay
