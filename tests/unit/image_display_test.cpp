// The image window's display: range drags, hover grips, panning, the colour pick, the focus and
// the busy rule.

#include <gtest/gtest.h>

#include "app/control_states.h"
#include "app/image_display.h"
#include "app/image_view.h"
#include "app/range_commands.h"
#include "expect_range.h"
#include "test_pictures.h"
#include "test_program.h"

namespace inkrelay {
namespace {

using test::ExpectRange;
using test::GradientColour;
using test::GradientPicture;
using test::TestProgram;

constexpr int16_t Left = DisplayButton::Left;
constexpr int16_t Right = DisplayButton::Right;

class ImageDisplay : public testing::Test {
  protected:
    // A shown 640 × 480 picture in an 800 × 600 client: the view origin stays at (0, 0).
    void SetUp() override { Load(640, 480, 800, 600); }

    void Load(int32_t width, int32_t height, int32_t clientWidth, int32_t clientHeight) {
        p.Ui.ImageClient = {clientWidth, clientHeight};
        p.State->ImageLoaded = true;
        ReplaceWorkingPicture(p.Run, GradientPicture(width, height));
        p.Ui.ShowImageWindow();
    }

    // A hover to find the grip, then a left drag through the points.
    void LeftDrag(int16_t x, int16_t y, std::initializer_list<std::pair<int16_t, int16_t>> to) {
        Picture1_MouseMove(p.Run, 0, x, y);
        Picture1_MouseDown(p.Run, Left, x, y);
        int16_t lastX = x, lastY = y;
        for (const auto& [toX, toY] : to) {
            Picture1_MouseMove(p.Run, Left, toX, toY);
            lastX = toX;
            lastY = toY;
        }
        Picture1_MouseUp(p.Run, Left, lastX, lastY);
    }

    bool Inverted(int32_t x, int32_t y) const {
        const Picture& picture = p.Image->WorkingPicture;
        return picture.PixelAt(x, y) == (picture.ImagePixelAt(x, y) ^ 0xFFFFFFu);
    }

    TestProgram p;
};

TEST_F(ImageDisplay, aClickWithoutMovementDropsTheRange) {
    Edit_SelectAll_Click(p.Run);
    Picture1_GotFocus(p.Run);
    LeftDrag(50, 60, {});
    EXPECT_FALSE(p.State->RangeSelected);
    ExpectRange(*p.State, 0, 0, 0, 0);
    EXPECT_FALSE(Inverted(639, 0));
    EXPECT_EQ(p.Ui.Current.Text1, NoCoordinates);

    // Coming back onto the press point counts as no movement.
    LeftDrag(10, 10, {{30, 40}, {10, 10}});
    EXPECT_FALSE(p.State->RangeSelected);
    EXPECT_FALSE(p.State->RangeDragging);
    ExpectRange(*p.State, 0, 0, 0, 0);
    EXPECT_FALSE(Inverted(30, 10));
}

TEST_F(ImageDisplay, aDragBeyondTheTopLeftEdgeEndsClampedAndInOrder) {
    Picture1_MouseMove(p.Run, 0, 100, 100);
    ASSERT_EQ(p.State->RangeGrip, 0);
    Picture1_MouseDown(p.Run, Left, 100, 100);
    EXPECT_TRUE(p.State->ImageMouseDown);
    Picture1_MouseMove(p.Run, Left, -50, -30);
    EXPECT_TRUE(p.State->RangeDragging);
    ExpectRange(*p.State, 100, 100, 0, 0);
    EXPECT_EQ(p.Ui.Current.Text1, "(100,100)");
    EXPECT_EQ(p.Ui.Current.Text2, "(0,0)");
    EXPECT_EQ(p.Ui.Current.StatusText, "選択範囲のサイズ:(101,101)");
    EXPECT_TRUE(Inverted(50, 0));
    EXPECT_TRUE(Inverted(100, 50));

    Picture1_MouseUp(p.Run, Left, -50, -30);
    EXPECT_TRUE(p.State->RangeSelected);
    EXPECT_FALSE(p.State->RangeDragging);
    EXPECT_FALSE(p.State->ImageMouseDown);
    ExpectRange(*p.State, 0, 0, 100, 100);
    EXPECT_EQ(p.Ui.Current.Text1, "(0,0)");
    EXPECT_EQ(p.Ui.Current.Text2, "(100,100)");
    // One outline, and the display shows it.
    EXPECT_TRUE(Inverted(0, 100));
    EXPECT_FALSE(Inverted(50, 50));
    ASSERT_EQ(p.Ui.PaintedPixels.size(), 640u * 480u);
    EXPECT_EQ(p.Ui.PaintedPixels[100 * 640 + 7], p.Image->WorkingPicture.PixelAt(7, 100));
    EXPECT_NE(p.Ui.PaintedPixels[100 * 640 + 7], GradientColour(7, 100));
}

TEST_F(ImageDisplay, movingByTheBodyKeepsTheSizeInsideThePicture) {
    LeftDrag(100, 100, {{199, 149}});
    ExpectRange(*p.State, 100, 100, 199, 149);
    Picture1_MouseMove(p.Run, 0, 150, 120);
    EXPECT_EQ(p.State->RangeGrip, 5);
    EXPECT_EQ(p.Ui.Pointer, PointerShape::SizeAll);
    Picture1_MouseDown(p.Run, Left, 150, 120);
    Picture1_MouseMove(p.Run, Left, 1150, -380);
    ExpectRange(*p.State, 540, 0, 639, 49);
    Picture1_MouseMove(p.Run, Left, -2000, 2000);
    ExpectRange(*p.State, 0, 430, 99, 479);
    Picture1_MouseUp(p.Run, Left, -2000, 2000);
    EXPECT_TRUE(p.State->RangeSelected);
    ExpectRange(*p.State, 0, 430, 99, 479);
    EXPECT_TRUE(Inverted(0, 430));
    EXPECT_TRUE(Inverted(99, 479));
    EXPECT_FALSE(Inverted(100, 100));  // the old outline went with the move
}

TEST_F(ImageDisplay, withNoRangeTheTopLeftCornerIsTheTopRightGrip) {
    for (const auto& [x, y] : {std::pair<int16_t, int16_t>{0, 0}, {7, 7}, {3, 5}}) {
        Picture1_MouseMove(p.Run, 0, x, y);
        EXPECT_EQ(p.State->RangeGrip, 9);
        EXPECT_EQ(p.Ui.Pointer, PointerShape::SizeNESW);
    }
    Picture1_MouseMove(p.Run, 0, 8, 3);
    EXPECT_EQ(p.State->RangeGrip, 0);
    EXPECT_EQ(p.Ui.Pointer, PointerShape::Arrow);

    LeftDrag(3, 4, {{33, 24}});
    EXPECT_TRUE(p.State->RangeSelected);
    ExpectRange(*p.State, 0, 0, 30, 20);
}

TEST_F(ImageDisplay, theHoverShowsEachGripsPointer) {
    LeftDrag(100, 100, {{300, 200}});
    const std::vector<std::tuple<int16_t, int16_t, int16_t, PointerShape>> cases{
        {100, 100, 7, PointerShape::SizeNWSE}, {200, 100, 8, PointerShape::SizeNS},
        {300, 100, 9, PointerShape::SizeNESW}, {100, 150, 4, PointerShape::SizeWE},
        {200, 150, 5, PointerShape::SizeAll},  {300, 150, 6, PointerShape::SizeWE},
        {100, 200, 1, PointerShape::SizeNESW}, {200, 200, 2, PointerShape::SizeNS},
        {300, 200, 3, PointerShape::SizeNWSE}, {50, 50, 0, PointerShape::Arrow},
    };
    for (const auto& [x, y, grip, shape] : cases) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        Picture1_MouseMove(p.Run, 0, x, y);
        EXPECT_EQ(p.State->RangeGrip, grip);
        EXPECT_EQ(p.Ui.Pointer, shape);
    }
    // A drag by the bottom-right grip moves only those two edges.
    LeftDrag(300, 200, {{350, 260}});
    ExpectRange(*p.State, 100, 100, 350, 260);
}

TEST_F(ImageDisplay, theRightButtonPansALargePictureWithinItsEdges) {
    Load(1000, 800, 400, 300);
    Picture1_MouseDown(p.Run, Right, 200, 150);
    EXPECT_EQ(p.Ui.Pointer, PointerShape::SizeAll);
    Picture1_MouseMove(p.Run, Right, 150, 90);
    EXPECT_EQ(p.State->Coords[Coord::ViewX], 50);
    EXPECT_EQ(p.State->Coords[Coord::ViewY], 60);
    EXPECT_EQ(p.Ui.PaintedPixels[0], GradientColour(50, 60));
    Picture1_MouseMove(p.Run, Right, -5000, -5000);
    EXPECT_EQ(p.State->Coords[Coord::ViewX], 602);
    EXPECT_EQ(p.State->Coords[Coord::ViewY], 502);
    EXPECT_EQ(p.Ui.PaintedPixels.back(), GradientColour(999, 799));
    Picture1_MouseUp(p.Run, Right, -5000, -5000);
    EXPECT_EQ(p.Ui.Pointer, PointerShape::Arrow);
    EXPECT_FALSE(p.State->RangeSelected);

    // A larger window pulls the view back so the block stays on the picture.
    p.Ui.ImageClient = {800, 600};
    Form2_Resize(p.Run);
    EXPECT_EQ(p.State->Coords[Coord::ViewX], 202);
    EXPECT_EQ(p.State->Coords[Coord::ViewY], 202);
}

TEST_F(ImageDisplay, aPictureThatFitsDoesNotPan) {
    Load(200, 150, 400, 300);
    Picture1_MouseDown(p.Run, Right, 100, 100);
    Picture1_MouseMove(p.Run, Right, 10, 20);
    EXPECT_EQ(p.State->Coords[Coord::ViewX], 0);
    EXPECT_EQ(p.State->Coords[Coord::ViewY], 0);
}

TEST_F(ImageDisplay, theColourPickTakesTheDisplayedPixelAndTheLeftReleaseEndsIt) {
    Load(1000, 800, 400, 300);
    Picture1_MouseDown(p.Run, Right, 100, 100);
    Picture1_MouseMove(p.Run, Right, 60, 70);
    Picture1_MouseUp(p.Run, Right, 60, 70);
    ASSERT_EQ(p.State->Coords[Coord::ViewX], 40);
    ASSERT_EQ(p.State->Coords[Coord::ViewY], 30);

    p.State->PickingColour = true;
    p.Ui.Inputs.Selected = SelectedOption::Option2;
    Picture1_MouseMove(p.Run, 0, 10, 20);
    EXPECT_EQ(p.State->ScanCol, static_cast<int32_t>(GradientColour(50, 50)));
    EXPECT_EQ(p.Ui.Pointer, PointerShape::Arrow);
    ASSERT_TRUE(p.Ui.Current.Picture1Back);
    EXPECT_EQ(p.Ui.Current.Picture1Back->Colour, static_cast<int32_t>(GradientColour(50, 50)));
    EXPECT_EQ(p.Ui.Current.StatusText, "復元する線にあわせて左クリック");

    // The left button does not draw a range while picking.
    Picture1_MouseDown(p.Run, Left, 10, 20);
    Picture1_MouseMove(p.Run, Left, 200, 200);
    ExpectRange(*p.State, 0, 0, 0, 0);
    EXPECT_FALSE(p.State->RangeDragging);
    Picture1_MouseUp(p.Run, Left, 200, 200);
    EXPECT_FALSE(p.State->PickingColour);
    EXPECT_FALSE(p.State->RangeSelected);
    EXPECT_EQ(p.State->ScanCol, static_cast<int32_t>(GradientColour(50, 50)));
    EXPECT_NE(p.Ui.Current.StatusText, "復元する線にあわせて左クリック");
}

TEST_F(ImageDisplay, duringAReadTheDisplayIgnoresTheMouseAndTheFocus) {
    LeftDrag(100, 100, {{200, 200}});
    p.State->Scanning = true;
    const auto coords = p.State->Coords;
    const int16_t grip = p.State->RangeGrip;
    const int32_t scanCol = p.State->ScanCol;
    const Picture picture = p.Image->WorkingPicture;
    const int paints = p.Ui.PaintCount;
    const size_t applied = p.Ui.Applied.size();

    Picture1_MouseMove(p.Run, 0, 100, 100);
    Picture1_MouseDown(p.Run, Left, 100, 100);
    Picture1_MouseMove(p.Run, Left, 10, 10);
    Picture1_MouseUp(p.Run, Left, 10, 10);
    Picture1_MouseDown(p.Run, Right, 10, 10);
    Picture1_MouseMove(p.Run, Right, 50, 50);
    Picture1_MouseUp(p.Run, Right, 50, 50);
    p.State->PickingColour = true;
    Picture1_MouseMove(p.Run, 0, 10, 10);
    p.State->PickingColour = false;
    p.Image->WorkingPicture.Cls();
    Picture1_GotFocus(p.Run);

    EXPECT_EQ(p.State->Coords, coords);
    EXPECT_EQ(p.State->RangeGrip, grip);
    EXPECT_EQ(p.State->ScanCol, scanCol);
    EXPECT_FALSE(p.State->ImageMouseDown);
    EXPECT_TRUE(p.State->RangeSelected);
    EXPECT_EQ(p.Ui.PaintCount, paints);
    EXPECT_EQ(p.Ui.Applied.size(), applied);
    EXPECT_EQ(p.Ui.Pointer, PointerShape::Arrow);
    // The focus did not redraw the outline the read had cleared.
    EXPECT_NE(p.Image->WorkingPicture, picture);
    EXPECT_FALSE(Inverted(100, 100));
}

}  // namespace
}  // namespace inkrelay
