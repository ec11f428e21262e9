// The read command around the scanners, the preview and the restore-mode buttons.

#include <gtest/gtest.h>

#include "app/image_view.h"
#include "app/lifecycle.h"
#include "app/range_state.h"
#include "app/restore_mode.h"
#include "app/scan_command.h"
#include "scan/scan_preview.h"
#include "test_pictures.h"
#include "test_program.h"

namespace inkrelay {
namespace {

using test::PlainPicture;
using test::TestProgram;

constexpr uint32_t Red = 0x0000FF;
constexpr uint32_t Blue = 0xFF0000;

class ScanCommand : public testing::Test {
  protected:
    void SetUp() override { StartUp(p.Run); }

    void Select(Picture picture, RangeSlots range) {
        ReplaceWorkingPicture(p.Run, std::move(picture));
        p.State->ImageLoaded = true;
        p.State->RangeSelected = true;
        StoreRange(*p.State, range);
        p.Ui.ShowImageWindow();
    }

    TestProgram p;
};

TEST_F(ScanCommand, aSideOver1200IsRefusedBeforeTheScanningStateAnd1200IsRead) {
    Select(PlainPicture(1201, 1200, 0xFFFFFF), {0, 0, 1200, 1199});
    Command5_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{RangeTooLargeMessage}));
    EXPECT_FALSE(p.State->ScanReady);
    EXPECT_EQ(p.Ui.Applied.size(), 1u);  // only the start-up's update

    p.Ui.Messages.clear();
    StoreRange(*p.State, {1, 0, 1200, 1199});
    Command5_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{ScanCompletedMessage}));
    EXPECT_EQ(p.State->EventMemEnd, 1200);  // a white range: one Cr a row
}

TEST_F(ScanCommand, aCompletedReadSetsTheListShowsThePreviewAndClosesTheImageWindow) {
    Picture picture = PlainPicture(4, 3, Red);
    Select(picture, {1, 1, 2, 2});
    p.Image->WorkingPicture.ToggleRangeOutline(1, 1, 2, 2);
    p.State->Mode = 1;
    Command5_Click(p.Run);

    EXPECT_TRUE(p.State->ScanReady);
    EXPECT_FALSE(p.State->Scanning);
    EXPECT_EQ(p.State->Mode, 0);
    // Mk, then a two-pixel Ln and Cr on each row: the outline was cleared before reading.
    EXPECT_EQ(p.State->EventMemEnd, 4 + 2 * (3 + 1));
    EXPECT_EQ(p.State->EventMem[2], 51);
    EXPECT_EQ(p.Image->WorkingPicture, picture);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{ScanCompletedMessage}));
    EXPECT_EQ(p.Ui.Messages[0].Icon, MessageIcon::Information);
    ASSERT_TRUE(p.Ui.Preview);
    EXPECT_EQ(p.Ui.Preview->Image.PixelAt(30, 30), Red);
    EXPECT_FALSE(p.Ui.ImageWindowShown);
    EXPECT_EQ(p.Ui.ProgressValues.back(), 0);
    EXPECT_EQ(p.Ui.Current.StatusText, "イベントメモリ残量：99%");
    EXPECT_TRUE(p.Ui.Current.Command5.value_or(false));
}

TEST_F(ScanCommand, theLineArtButtonChoosesTheScannerAndThePreviewKeepsOnlyTheLineColour) {
    std::vector<uint32_t> pixels = {Red, Blue, Red, 0xFFFFFF};
    Select(Picture(2, 2, pixels), {0, 0, 1, 1});
    p.State->ScanCol = static_cast<int32_t>(Red);
    p.State->AutoClose = false;
    p.Ui.Inputs.Selected = SelectedOption::Option2;
    Command5_Click(p.Run);
    EXPECT_EQ(p.State->Mode, 1);
    EXPECT_EQ(p.State->EventMem[1], Mk);
    EXPECT_EQ(p.State->EventMem[5], St);
    ASSERT_TRUE(p.Ui.Preview);
    EXPECT_EQ(p.Ui.Preview->Image.PixelAt(0, 0), Red);
    EXPECT_EQ(p.Ui.Preview->Image.PixelAt(60, 0), 0xFFFFFFu);  // the blue pixel, whitened
    EXPECT_TRUE(p.Ui.ImageWindowShown);
}

TEST_F(ScanCommand, aFullListKeepsTheEarlierReadOutOfUseAndTheImageWindowOpen) {
    std::vector<uint32_t> pixels(1200 * 400);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i % 2 ? Red : Blue;
    Select(Picture(1200, 400, std::move(pixels)), {0, 0, 1199, 399});
    p.State->EventMemEnd = 77;
    Command5_Click(p.Run);
    EXPECT_FALSE(p.State->ScanReady);
    EXPECT_EQ(p.State->EventMemEnd, 77);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{TooManyColoursMessage}));
    EXPECT_EQ(p.Ui.Messages[0].Icon, MessageIcon::Critical);
    EXPECT_FALSE(p.Ui.Preview);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
    EXPECT_FALSE(p.Ui.Current.Command6.value_or(true));
}

TEST(FitPreview, fitsTheLongerSideAndCentresTheOther) {
    EXPECT_EQ(FitPreview(61, 61, 1, 1), (PreviewPlacement{0, 0, 61, 61}));
    EXPECT_EQ(FitPreview(100, 100, 200, 100), (PreviewPlacement{0, 25, 100, 50}));
    EXPECT_EQ(FitPreview(100, 100, 100, 300), (PreviewPlacement{33, 0, 33, 100}));
    EXPECT_EQ(FitPreview(100, 60, 5, 5), (PreviewPlacement{0, 0, 100, 60}));  // the square fills
}

TEST(DrawScanPreview, copiesNearestPixelsOfTheBareImage) {
    Picture picture(2, 1, {Red, Blue});
    picture.ToggleRangeOutline(0, 0, 1, 0);
    const ScanPreview preview = DrawScanPreview(picture, {0, 0, 1, 0}, 10, 10, std::nullopt);
    EXPECT_EQ(preview.Placement, (PreviewPlacement{0, 2, 10, 5}));
    EXPECT_EQ(preview.Image.PixelAt(4, 0), Red);
    EXPECT_EQ(preview.Image.PixelAt(5, 4), Blue);
}

TEST_F(ScanCommand, aModeChangeAfterAReadOffersToReadAgain) {
    Select(PlainPicture(3, 3, Red), {0, 0, 2, 2});
    p.State->AutoClose = false;
    Command5_Click(p.Run);
    const int32_t fullColourEnd = p.State->EventMemEnd;
    p.Ui.Messages.clear();

    p.Ui.Answers.push_back(MessageAnswer::No);
    p.Ui.Inputs.Selected = SelectedOption::Option2;
    Option2_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{ModeChangedQuestion}));
    EXPECT_EQ(p.State->LastAnswer, 7);
    EXPECT_EQ(p.State->Mode, 1);
    EXPECT_EQ(p.State->EventMemEnd, fullColourEnd);  // the list stays usable
    EXPECT_TRUE(p.State->ScanReady);

    // Back to 通常 with Mode 1: asked again; Yes reads with the full-colour scanner.
    p.Ui.Messages.clear();
    p.State->EventMemEnd = 0;
    p.Ui.Answers.push_back(MessageAnswer::Yes);
    p.Ui.Inputs.Selected = SelectedOption::Option1;
    Option1_Click(p.Run);
    EXPECT_EQ(p.Ui.Texts(), (std::vector<std::string>{ModeChangedQuestion, ScanCompletedMessage}));
    EXPECT_EQ(p.State->EventMemEnd, fullColourEnd);
    EXPECT_EQ(p.State->Mode, 0);

    // Without a range nothing is asked.
    p.Ui.Messages.clear();
    p.State->RangeSelected = false;
    Option2_Click(p.Run);
    EXPECT_TRUE(p.Ui.Messages.empty());
    EXPECT_EQ(p.State->Mode, 1);
}

TEST_F(ScanCommand, theColourPickWaitsOnThePictureAndTheSwatchReportsTheColour) {
    Select(PlainPicture(3, 3, Red), {0, 0, 2, 2});
    p.Ui.HideImageWindow();
    Command1_Click(p.Run);
    EXPECT_TRUE(p.State->PickingColour);
    EXPECT_TRUE(p.Ui.ImageWindowShown);
    EXPECT_EQ(p.Ui.FocusCount, 1);
    EXPECT_EQ(p.Ui.Current.StatusText, "復元する線にあわせて左クリック");

    p.State->ScanCol = 18 + 52 * 256 + 86 * 65536;
    Picture1_Click(p.Run);
    EXPECT_EQ(p.Ui.Messages.back().Text, "読み込み色の RGB 値は、 R:18 / G:52 / B:86 です。");
    EXPECT_EQ(p.Ui.Messages.back().Icon, MessageIcon::Information);
}

}  // namespace
}  // namespace inkrelay
