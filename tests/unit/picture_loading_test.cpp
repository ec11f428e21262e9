// Pictures into the working picture from the open dialog, the loaders and the clipboard.

#include <gtest/gtest.h>

#include "app/control_states.h"
#include "app/error_report.h"
#include "app/picture_loading.h"
#include "png_writer.h"
#include "runtime_error.h"
#include "temp_dir.h"
#include "test_pictures.h"
#include "test_program.h"

namespace inkrelay {
namespace {

using test::GradientPicture;
using test::PlainPicture;
using test::TestProgram;

class PictureLoading : public testing::Test {
  protected:
    // A first picture with a selected range and a panned view, as a later load finds them.
    void LoadFirstPicture() {
        p.Ui.PictureFiles["/pictures/first.bmp"] = first;
        p.Ui.OpenAnswers.push_back("/pictures/first.bmp");
        File_Open_Click(p.Run);
        ASSERT_EQ(p.Ui.Messages.size(), 0u);
        AppState& s = *p.State;
        s.RangeSelected = true;
        s.Coords[Coord::RangeLeft] = 10;
        s.Coords[Coord::RangeTop] = 20;
        s.Coords[Coord::RangeRight] = 30;
        s.Coords[Coord::RangeBottom] = 40;
        s.Coords[Coord::ViewX] = 7;
        p.Ui.FocusCount = 0;
        p.Ui.ImageWindowShown = false;
    }

    void ExpectFirstPictureKept() {
        EXPECT_EQ(p.Image->WorkingPicture, first);
        EXPECT_TRUE(p.State->ImageLoaded);
        EXPECT_TRUE(p.State->RangeSelected);
        EXPECT_TRUE(p.Ui.ImageViewVisible);
        EXPECT_EQ(p.State->Coords[Coord::RangeLeft], 10);
        EXPECT_EQ(p.State->Coords[Coord::RangeBottom], 40);
        EXPECT_EQ(p.State->Coords[Coord::ViewX], 7);
        EXPECT_FALSE(p.Ui.ImageWindowShown);
        EXPECT_EQ(p.Ui.FocusCount, 0);
    }

    TestProgram p;
    Picture first = GradientPicture(640, 480);
};

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

TEST_F(PictureLoading, pngAndPNGGoThroughThePngDecoderOtherSpellingsThroughTheGeneralLoader) {
    test::PngImage image;
    image.Width = 3;
    image.Height = 2;
    image.Samples = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    const std::string bytes = test::EncodePng(image);
    for (const std::string name : {"lower.png", "upper.PNG"}) {
        SCOPED_TRACE(name);
        const std::string path = (p.Folder / name).string();
        test::WriteFile(path, bytes);
        p.Ui.OpenAnswers.push_back(path);
        File_Open_Click(p.Run);
        EXPECT_TRUE(p.Ui.Messages.empty());
        EXPECT_TRUE(p.Ui.LoadedPaths.empty());
        ASSERT_EQ(p.Image->WorkingPicture.Width(), 3);
        ASSERT_EQ(p.Image->WorkingPicture.Height(), 2);
        EXPECT_EQ(p.Image->WorkingPicture.PixelAt(0, 0), 0x0000FFu);
        EXPECT_EQ(p.Image->WorkingPicture.PixelAt(2, 0), 0xFF0000u);
        EXPECT_EQ(p.Image->WorkingPicture.PixelAt(1, 1), 0x3C3228u);
        p.Image->WorkingPicture = Picture();
    }
    const std::string mixed = (p.Folder / "mixed.Png").string();
    test::WriteFile(mixed, bytes);
    const Picture general = PlainPicture(5, 5, 0x123456);
    p.Ui.PictureFiles[mixed] = general;
    p.Ui.OpenAnswers.push_back(mixed);
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.LoadedPaths, std::vector<std::string>{mixed});
    EXPECT_EQ(p.Image->WorkingPicture, general);
}

TEST_F(PictureLoading, aDamagedOrMissingPngIsAnInvalidPictureNotAnEmptyOne) {
    LoadFirstPicture();
    const std::string damaged = (p.Folder / "damaged.png").string();
    test::WriteFile(damaged, test::PngSignature() + "not a png stream at all");
    p.Ui.OpenAnswers.push_back(damaged);
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), std::vector<std::string>{"ピクチャが不正です。(481)"});
    ExpectFirstPictureKept();

    p.Ui.Messages.clear();
    p.Ui.OpenAnswers.push_back((p.Folder / "missing.png").string());
    File_Open_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), std::vector<std::string>{"ファイルが見つかりません。(53)"});
    ExpectFirstPictureKept();
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
