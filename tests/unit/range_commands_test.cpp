// The Edit menu's range commands and the range button.

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
using test::GradientPicture;
using test::TestProgram;

class RangeCommands : public testing::Test {
  protected:
    void Load(int32_t width, int32_t height) {
        ReplaceWorkingPicture(p.Run, GradientPicture(width, height));
        p.State->ImageLoaded = true;
    }

    TestProgram p;
};

TEST_F(RangeCommands, selectAllTakesTheWholePictureAndShowsItOnTheReadouts) {
    Load(640, 480);
    Edit_SelectAll_Click(p.Run);
    EXPECT_TRUE(p.State->RangeSelected);
    ExpectRange(*p.State, 0, 0, 639, 479);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
    EXPECT_EQ(p.Ui.FocusCount, 1);
    EXPECT_EQ(p.Ui.Current.Text1, "(0,0)");
    EXPECT_EQ(p.Ui.Current.Text2, "(639,479)");
    EXPECT_EQ(p.Ui.Current.StatusText, "選択範囲のサイズ:(640,480)");
    EXPECT_EQ(p.Ui.Current.EditCancelSelection, true);
}

TEST_F(RangeCommands, aSquareIsCutToThePicture) {
    Load(500, 300);
    Edit_SelectSquare_Click(p.Run, 800);
    ExpectRange(*p.State, 0, 0, 499, 299);
    Load(1000, 1000);
    Edit_SelectSquare_Click(p.Run, 800);
    ExpectRange(*p.State, 0, 0, 799, 799);
    Edit_SelectSquare_Click(p.Run, 100);
    ExpectRange(*p.State, 0, 0, 99, 99);
    EXPECT_TRUE(p.State->RangeSelected);
    EXPECT_EQ(p.Ui.Current.StatusText, "選択範囲のサイズ:(100,100)");
}

TEST_F(RangeCommands, theDisplaysFocusDrawsExactlyOneOutlineOfTheSelectedRange) {
    Load(640, 480);
    Edit_SelectSquare_Click(p.Run, 100);
    const Picture& picture = p.Image->WorkingPicture;
    for (int i = 0; i < 2; ++i) {
        Picture1_GotFocus(p.Run);
        EXPECT_EQ(picture.PixelAt(0, 0), picture.ImagePixelAt(0, 0) ^ 0xFFFFFFu);
        EXPECT_EQ(picture.PixelAt(99, 50), picture.ImagePixelAt(99, 50) ^ 0xFFFFFFu);
        EXPECT_EQ(picture.PixelAt(50, 50), picture.ImagePixelAt(50, 50));
        EXPECT_EQ(picture.PixelAt(100, 50), picture.ImagePixelAt(100, 50));
    }
    // The display shows what the focus drew.
    ASSERT_FALSE(p.Ui.PaintedPixels.empty());
    EXPECT_EQ(p.Ui.PaintedPixels[0], picture.PixelAt(0, 0));
}

TEST_F(RangeCommands, cancelDropsTheRangeAndTheDisplaysFocusZeroesIt) {
    Load(640, 480);
    Edit_SelectAll_Click(p.Run);
    Picture1_GotFocus(p.Run);
    Edit_CancelSelection_Click(p.Run);
    EXPECT_FALSE(p.State->RangeSelected);
    ExpectRange(*p.State, 0, 0, -1, -1);
    EXPECT_EQ(p.Ui.Current.Text1, NoCoordinates);
    EXPECT_EQ(p.Ui.Current.Text2, NoCoordinates);
    EXPECT_EQ(p.Ui.Current.EditCancelSelection, false);
    Picture1_GotFocus(p.Run);
    ExpectRange(*p.State, 0, 0, 0, 0);
    EXPECT_EQ(p.Image->WorkingPicture.PixelAt(0, 0), p.Image->WorkingPicture.ImagePixelAt(0, 0));
}

TEST_F(RangeCommands, theRangeButtonShowsTheImageWindowAndGivesTheFocusBack) {
    Load(200, 100);
    const size_t applied = p.Ui.Applied.size();
    Command2_Click(p.Run);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
    EXPECT_EQ(p.Ui.FocusCount, 1);
    EXPECT_GT(p.Ui.Applied.size(), applied);
    EXPECT_FALSE(p.State->RangeSelected);
}

}  // namespace
}  // namespace inkrelay
