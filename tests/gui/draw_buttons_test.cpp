// The drawing buttons through the main window: the capture with the magnifier in its box, and a
// run into the simulated applet with its boxes and progress.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "desktop_applet.h"
#include "gui_fixture.h"
#include "picture_box.h"

namespace inkrelay::test {
namespace {

class DrawButtonsTest : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }

    // Clicks `key` at `at` once the capture loop has yielded to the event loop.
    void ClickDuringCapture(ScreenPoint at, bool* sawBusyControls) {
        QTimer::singleShot(20, [this, at, sawBusyControls] {
            *sawBusyControls = !C().Command3->isEnabled() && !C().Command4->isEnabled() &&
                               !C().Command5->isEnabled();
            Screen().MovePointer(at.X, at.Y);
            Screen().PressKey(Key::LeftButton);
        });
    }
};

TEST_F(DrawButtonsTest, theBarCaptureShowsTheMagnifierAndTakesTheClick) {
    Screen().Fill(100, 50, 3, 1, 0x00FF00);
    bool busy = false;
    ClickDuringCapture({101, 50}, &busy);
    C().Command4->click();
    Screen().ReleaseKey(Key::LeftButton);
    EXPECT_TRUE(busy);
    EXPECT_EQ(Utf8(C().Text4->text()), "(101,50)");
    EXPECT_TRUE(C().Command4->isEnabled());
    const QImage& shown = C().Picture3->Picture();
    ASSERT_EQ(shown.size(), QSize(63, 39));
    EXPECT_EQ(shown.pixel(27, 18), qRgb(0, 255, 0));  // the pixel left of the pointer
    EXPECT_EQ(shown.pixel(29, 17), qRgb(255, 0, 0));  // the frame
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(DrawButtonsTest, drawingAsksRunsIntoTheAppletAndReportsItsEnd) {
    SimAppletOptions options;
    options.Applet = 1;
    options.Place = {{40, 300}, 8, 8, {300, 40}};
    DesktopApplet applet(Screen(), options);
    AppState& s = State();
    const int16_t list[] = {Mk, 10, 20, 30, Dt, 1, Cr, Ln, 2, 6};
    for (int k = 0; k < 10; ++k) s.EventMem[k + 1] = list[k];
    s.EventMemEnd = 10;
    s.ScanReady = s.DrawPosSet = s.RGBBarPosSet = true;
    s.Coords[Coord::DrawPosX] = 40;
    s.Coords[Coord::DrawPosY] = 300;
    s.Coords[Coord::RGBBarX] = 300;
    s.Coords[Coord::RGBBarY] = 40;
    UpdateControls();
    ASSERT_TRUE(C().Command6->isEnabled());
    Modals.AnswerBox(QMessageBox::Yes);
    Modals.AnswerBox(QMessageBox::Ok);
    C().Command6->click();
    ASSERT_EQ(Modals.Boxes().size(), 2u);
    EXPECT_EQ(Modals.Boxes()[0].Icon, QMessageBox::Warning);
    EXPECT_TRUE(Modals.Boxes()[0].Text.contains("\n【描き込み前の確認】\n"));
    EXPECT_EQ(Utf8(Modals.Boxes()[1].Text), "画像の描き込みが完了しました。");
    EXPECT_EQ(Modals.Boxes()[1].Icon, QMessageBox::Information);
    EXPECT_EQ(applet.Applet().Levels(), (std::array<int16_t, 3>{10, 20, 30}));
    EXPECT_EQ(Screen().PixelAt(41, 300), 0x966432u);
    EXPECT_EQ(Screen().PixelAt(46, 301), 0x966432u);
    EXPECT_EQ(C().ProgressBar1->value(), 0);
    EXPECT_TRUE(C().Command6->isEnabled());
    EXPECT_TRUE(std::filesystem::exists(Folder / "Inkrelay.log"));
}

}  // namespace
}  // namespace inkrelay::test
