// 読み取る(&S) through the main window: the list, the preview box and the messages.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/image_view.h"
#include "app/range_state.h"
#include "gui_fixture.h"
#include "picture_box.h"

namespace inkrelay::test {
namespace {

class ReadCommandTest : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }

    void SelectRedBluePicture() {
        // Left half red, right half blue.
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) pixels.push_back(x < 10 ? 0x0000FFu : 0xFF0000u);
        }
        ReplaceWorkingPicture(App().Core(), Picture(20, 10, std::move(pixels)));
        State().ImageLoaded = true;
        State().RangeSelected = true;
        StoreRange(State(), {0, 0, 19, 9});
        UpdateControls();
    }
};

TEST_F(ReadCommandTest, readingShowsTheCompletionThePreviewAndTheFreeShare) {
    SelectRedBluePicture();
    ASSERT_TRUE(C().Command5->isEnabled());
    Modals.AnswerBox(QMessageBox::Ok);
    C().Command5->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text), "画像の読み取りが完了しました。");

    // Per row: Mk or Gt, a run of ten, the other colour, a run of ten, Cr.
    EXPECT_TRUE(State().ScanReady);
    EXPECT_EQ(State().EventMemEnd, (4 + 3 + 4 + 3 + 1) + 9 * (3 + 3 + 3 + 3 + 1));
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "イベントメモリ残量：99%");

    // 20 × 10 fills the box's width and is centred vertically, red left and blue right.
    const QImage& preview = C().Picture2->Picture();
    ASSERT_FALSE(preview.isNull());
    const int middle = preview.height() / 2;
    EXPECT_EQ(preview.pixel(1, middle), qRgb(255, 0, 0));
    EXPECT_EQ(preview.pixel(preview.width() - 2, middle), qRgb(0, 0, 255));
    EXPECT_NE(preview.pixel(1, 0), qRgb(255, 0, 0));  // above the placed picture
    EXPECT_EQ(C().ProgressBar1->value(), 0);
}

TEST_F(ReadCommandTest, aRangeOver1200IsRefusedWithTheTwoLineMessage) {
    ReplaceWorkingPicture(App().Core(), Picture(1300, 2, std::vector<uint32_t>(2600, 0)));
    State().ImageLoaded = true;
    State().RangeSelected = true;
    StoreRange(State(), {0, 0, 1200, 1});
    UpdateControls();
    Modals.AnswerBox(QMessageBox::Ok);
    C().Command5->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Modals.Boxes()[0].Text,
              "読み取り範囲が広すぎます。\n読み取り範囲は、縦幅・横幅ともに1200ピクセル以内で指定"
              "してください。");
    EXPECT_FALSE(State().ScanReady);
    EXPECT_TRUE(C().Picture2->Picture().isNull());
}

}  // namespace
}  // namespace inkrelay::test
