// Pictures into the working picture from the open dialog, the loaders and the clipboard.

#include <gtest/gtest.h>

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/picture_loading.h"
#include "picture_loading_fixture.h"
#include "runtime_error.h"
#include "test_pictures.h"

namespace inkrelay {
namespace {

using test::GradientPicture;
using test::PlainPicture;

TEST_F(PictureLoading, aLoadedFileBecomesTheWorkingPictureWithTheViewAndRangeReset) {
    LoadFirstPicture();
    const Picture second = GradientPicture(200, 150);
    p.Ui.PictureFiles["/pictures/second.jpg"] = second;
    p.Ui.OpenAnswers.push_back("/pictures/second.jpg");
    File_Open_Click(p.Run);

    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.Image->WorkingPicture, second);
    EXPECT_TRUE(p.State->ImageLoaded);
    EXPECT_FALSE(p.State->RangeSelected);
    EXPECT_EQ(p.State->Coords[Coord::ViewX], 0);
    EXPECT_EQ(p.State->Coords[Coord::ViewY], 0);
    EXPECT_TRUE(p.Ui.ImageViewVisible);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
    EXPECT_EQ(p.Ui.FocusCount, 1);
    // 200 × 150 in 400 × 300: two pixels larger than the picture and centred.
    ASSERT_TRUE(p.Ui.PaintedLayout);
    EXPECT_EQ(p.Ui.PaintedLayout->Left, 99);
    EXPECT_EQ(p.Ui.PaintedLayout->Top, 74);
    EXPECT_EQ(p.Ui.PaintedLayout->Width, 202);
    EXPECT_EQ(p.Ui.PaintedLayout->Height, 152);
    ASSERT_EQ(p.Ui.PaintedPixels.size(), 200u * 150u);
    EXPECT_EQ(p.Ui.PaintedPixels[149 * 200 + 33], second.PixelAt(33, 149));
    EXPECT_EQ(p.Ui.Current.Text1, NoCoordinates);
    EXPECT_EQ(p.Ui.Current.Text2, NoCoordinates);
    EXPECT_EQ(p.Ui.Current.EditSelectAll, true);
}

TEST_F(PictureLoading, theDialogOffersTheSixPictureTypesFirstOneFirst) {
    File_Open_Click(p.Run);
    ASSERT_EQ(p.Ui.OpenDialogCount, 1);
    ASSERT_EQ(p.Ui.OpenFilters.size(), 6u);
    EXPECT_EQ(p.Ui.OpenFilters[0].Label, "すべてのピクチャ ファイル");
    EXPECT_EQ(p.Ui.OpenFilters[0].Patterns, "*.bmp;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.png");
    EXPECT_EQ(p.Ui.OpenFilters[2].Label, "JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)");
    EXPECT_EQ(p.Ui.OpenFilters[4].Patterns, "*.png");
    EXPECT_EQ(p.Ui.OpenFilters[5].Label, "すべてのファイル");
    EXPECT_EQ(p.Ui.OpenFilters[5].Patterns, "*.*");
}

TEST_F(PictureLoading, aCancelledOrEmptyDialogChangesNothing) {
    LoadFirstPicture();
    p.State->RangeSelected = true;
    const int paints = p.Ui.PaintCount;
    File_Open_Click(p.Run);
    p.Ui.OpenAnswers.push_back(std::string());
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.OpenDialogCount, 3);
    EXPECT_TRUE(p.State->RangeSelected);
    EXPECT_TRUE(p.Ui.ImageViewVisible);
    EXPECT_EQ(p.Ui.PaintCount, paints);
    EXPECT_EQ(p.Image->WorkingPicture, first);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.Ui.LoadedPaths.size(), 1u);
}

TEST_F(PictureLoading, aFailedLoadIsReportedAndKeepsThePreviousPicture) {
    LoadFirstPicture();
    for (const int32_t code : {ErrorCode::InvalidPicture, ErrorCode::FileNotFound,
                               ErrorCode::PermissionDenied, ErrorCode::PathFileAccessError}) {
        SCOPED_TRACE(code);
        p.Ui.Messages.clear();
        p.Ui.FailingFiles["/pictures/broken.bmp"] = code;
        p.Ui.OpenAnswers.push_back("/pictures/broken.bmp");
        File_Open_Click(p.Run);
        ASSERT_EQ(p.Ui.Messages.size(), 1u);
        EXPECT_EQ(p.Ui.Messages[0].Text, ComposeErrorMessage(code).Text);
        ExpectFirstPictureKept();  // the display is shown again too
    }
    EXPECT_EQ(ComposeErrorMessage(ErrorCode::InvalidPicture).Text, "ピクチャが不正です。(481)");
}

TEST_F(PictureLoading, aSideOf32766OrMoreIsRefusedAndOneLessIsTaken) {
    LoadFirstPicture();
    p.Ui.PictureFiles["/wide"] = PlainPicture(32766, 1, 0);
    p.Ui.PictureFiles["/tall"] = PlainPicture(2, 40000, 0);
    for (const std::string path : {"/wide", "/tall"}) {
        SCOPED_TRACE(path);
        p.Ui.Messages.clear();
        p.Ui.OpenAnswers.push_back(path);
        File_Open_Click(p.Run);
        EXPECT_EQ(p.Ui.Texts(), std::vector<std::string>{"ピクチャが不正です。(481)"});
        ExpectFirstPictureKept();
    }
    p.Ui.Messages.clear();
    p.Ui.PictureFiles["/widest"] = PlainPicture(32765, 1, 0);
    p.Ui.OpenAnswers.push_back("/widest");
    File_Open_Click(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.Image->WorkingPicture.Width(), 32765);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
}

TEST_F(PictureLoading, aPasteTakesTheClipboardsPictureLikeALoad) {
    LoadFirstPicture();
    const Picture pasted = GradientPicture(50, 60);
    p.Ui.Clipboard = pasted;
    Edit_Paste_Click(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.Image->WorkingPicture, pasted);
    EXPECT_EQ(p.State->Coords[Coord::ViewX], 0);
    EXPECT_FALSE(p.State->RangeSelected);
    EXPECT_TRUE(p.Ui.ImageViewVisible);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
    EXPECT_EQ(p.Ui.FocusCount, 1);
}

TEST_F(PictureLoading, aPasteWithoutAPictureReports460AndKeepsThePicture) {
    Edit_Paste_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(),
              std::vector<std::string>{"クリップボードのデータ形式が不正です。(460)"});
    EXPECT_FALSE(p.State->ImageLoaded);
    EXPECT_TRUE(p.Image->WorkingPicture.IsEmpty());

    p.Ui.Messages.clear();
    LoadFirstPicture();
    Edit_Paste_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(),
              std::vector<std::string>{"クリップボードのデータ形式が不正です。(460)"});
    ExpectFirstPictureKept();
}

}  // namespace
}  // namespace inkrelay
