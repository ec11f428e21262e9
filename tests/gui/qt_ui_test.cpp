// The window port: message boxes, progress, stacking, the message loop, and the small widgets.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "app/lifecycle.h"
#include "colour_swatch.h"
#include "form1.h"
#include "gui_fixture.h"
#include "message_box.h"
#include "picture_box.h"
#include "program_icon.h"

namespace inkrelay::test {
namespace {

TEST(DisplayTextTest, TurnsCarriageReturnsIntoLineBreaks) {
    EXPECT_EQ(Utf8(ui::DisplayText("一行目\r二行目")), "一行目\n二行目");
    EXPECT_EQ(Utf8(ui::DisplayText("a\r\nb\r\rc")), "a\nb\n\nc");
    EXPECT_EQ(Utf8(ui::DisplayText("改行なし")), "改行なし");
    EXPECT_EQ(Utf8(ui::DisplayText("")), "");
}

TEST(BoxIconTest, MapsEveryIcon) {
    EXPECT_EQ(ui::BoxIcon(MessageIcon::Critical), QMessageBox::Critical);
    EXPECT_EQ(ui::BoxIcon(MessageIcon::Exclamation), QMessageBox::Warning);
    EXPECT_EQ(ui::BoxIcon(MessageIcon::Information), QMessageBox::Information);
    EXPECT_EQ(ui::BoxIcon(MessageIcon::Question), QMessageBox::Question);
}

TEST(ColourFromBgrTest, ReadsRedFromTheLowByte) {
    EXPECT_EQ(ui::ColourFromBgr(0x00332211), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(ui::ColourFromBgr(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ui::ColourFromBgr(0x00FF0000), QColor(0, 0, 255));
    // The unused top byte is ignored.
    EXPECT_EQ(ui::ColourFromBgr(static_cast<int32_t>(0xFF00FF00u)), QColor(0, 255, 0));
}

TEST(PictureBoxTest, PaintsItsPictureInsideTheFrame) {
    ui::PictureBox box(nullptr);
    box.resize(65, 65);
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(QColor(0x12, 0x34, 0x56));
    box.SetPicture(picture);
    const QImage shot = box.grab().toImage();
    const QPoint inside = box.contentsRect().topLeft() + QPoint(4, 4);
    EXPECT_EQ(shot.pixelColor(inside), QColor(0x12, 0x34, 0x56));
    EXPECT_NE(shot.pixelColor(box.contentsRect().topLeft() + QPoint(30, 30)),
              QColor(0x12, 0x34, 0x56));
}

TEST(ProgramIconTest, HasBothSizesAndIsNotBlank) {
    const QIcon icon = ui::ProgramIcon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    const QImage image = ui::ProgramIconPixmap(32).toImage();
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() > 0)
                ++painted;
    EXPECT_GT(painted, 60);
    EXPECT_LT(painted, 32 * 32 / 2);  // a drawing, not a filled square
}

class QtUiTest : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }
    Ui& Windows() { return App().Core().Windows; }
};

TEST_F(QtUiTest, AskYesNoReturnsTheButtonPressed) {
    Modals.AnswerBox(QMessageBox::Yes);
    Modals.AnswerBox(QMessageBox::No);
    EXPECT_EQ(Windows().AskYesNo("描き込みますか？\rよろしいですか？", MessageIcon::Question),
              MessageAnswer::Yes);
    EXPECT_EQ(Windows().AskYesNo("中断しますか？", MessageIcon::Exclamation), MessageAnswer::No);
    ASSERT_EQ(Modals.Boxes().size(), 2u);
    const SeenBox& first = Modals.Boxes()[0];
    EXPECT_EQ(Utf8(first.Title), "インクリレー");
    EXPECT_EQ(Utf8(first.Text), "描き込みますか？\nよろしいですか？");
    EXPECT_EQ(first.Icon, QMessageBox::Question);
    EXPECT_EQ(first.Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(first.OnTop);
    EXPECT_EQ(Modals.Boxes()[1].Icon, QMessageBox::Warning);
}

TEST_F(QtUiTest, boxesBreakOnlyAtTheirLineEndsAndAnswerInJapanese) {
    int shownLines = 0;
    QString yes, no;
    Modals.Then([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        shownLines = static_cast<int>(
            std::lround(double(label->height()) / label->fontMetrics().lineSpacing()));
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    // The colour-depth message: two long lines that must not wrap inside a word.
    Windows().AskYesNo(ColourDepthMessage, MessageIcon::Critical);
    EXPECT_EQ(shownLines, 2);
    EXPECT_EQ(Utf8(yes), "はい(&Y)");
    EXPECT_EQ(Utf8(no), "いいえ(&N)");
}

// Esc held to stop a run repeats; a question it has raised must not be answered by the repeats.
TEST_F(QtUiTest, escapeLeavesAYesNoQuestionOpen) {
    bool stillOpen = false;
    Modals.Then([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        for (int k = 0; k < 5; ++k) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : box;
            QTest::keyClick(target, Qt::Key_Escape);
        }
        QCoreApplication::processEvents();
        stillOpen = box->isVisible();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(Windows().AskYesNo("画像の描き込みを中止しますか？", MessageIcon::Exclamation),
              MessageAnswer::Yes);
    EXPECT_TRUE(stillOpen);
}

TEST_F(QtUiTest, ShowMessageHasOnlyOk) {
    Modals.AnswerBox(QMessageBox::Ok);
    Windows().ShowMessage("ファイルが見つかりません。(53)", MessageIcon::Critical);
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Modals.Boxes()[0].Buttons, QMessageBox::Ok);
    EXPECT_EQ(Modals.Boxes()[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text), "ファイルが見つかりません。(53)");
}

TEST_F(QtUiTest, ProgressGoesToProgressBar1) {
    Windows().SetProgressRange(0, 250);
    Windows().SetProgressValue(120);
    EXPECT_EQ(C().ProgressBar1->minimum(), 0);
    EXPECT_EQ(C().ProgressBar1->maximum(), 250);
    EXPECT_EQ(C().ProgressBar1->value(), 120);
}

TEST_F(QtUiTest, KeepOnTopRestoresTheFlagWithoutMovingTheWindow) {
    Main().move(40, 60);
    const QPoint place = Main().pos();
    Main().setWindowFlag(Qt::WindowStaysOnTopHint, false);
    Main().show();
    ASSERT_FALSE(Main().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    Windows().KeepOnTop();
    EXPECT_TRUE(Main().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(Main().pos(), place);
}

TEST_F(QtUiTest, YieldOnceRunsWaitingEvents) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    Windows().YieldOnce();
    EXPECT_TRUE(ran);
}

TEST_F(QtUiTest, EndProgramHandsTheStatusToTheHook) {
    EXPECT_EQ(Ending([&] { Windows().EndProgram(3); }), 3);
}

}  // namespace
}  // namespace inkrelay::test
