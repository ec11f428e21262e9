// The options dialog: its controls, OK and the ways of leaving without storing.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "app/options_dialog.h"
#include "dialog2.h"
#include "gui_fixture.h"

namespace inkrelay::test {
namespace {

using ui::Dialog2;

class Dialog2Test : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }

    // A drawing run could start: read made, both positions taken.
    void MakeReadyToDraw() {
        State().ScanReady = true;
        State().DrawPosSet = true;
        State().RGBBarPosSet = true;
        UpdateControls();
        ASSERT_TRUE(C().Command6->isEnabled());
    }
};

TEST_F(Dialog2Test, IsBuiltAsDrawn) {
    Dialog2& d = App().OptionsDialog();
    const ui::Dialog2Controls& c = d.Controls();
    EXPECT_EQ(Utf8(d.windowTitle()), "オプション");
    EXPECT_EQ(d.size(), QSize(305, 257));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_TRUE(d.isModal());
    EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(d.windowIcon().isNull());

    EXPECT_EQ(c.Frame1->geometry(), QRect(8, 8, 289, 81));
    EXPECT_EQ(Utf8(c.Frame1->title()), "復元に関する設定");
    EXPECT_EQ(c.Combo1->geometry(), QRect(80, 20, 201, 20));
    ASSERT_EQ(c.Combo1->count(), 3);
    EXPECT_EQ(Utf8(c.Combo1->itemText(0)), "高画質 / 低速 (140608色)");
    EXPECT_EQ(Utf8(c.Combo1->itemText(1)), "中画質 / 中速 (42875色)");
    EXPECT_EQ(Utf8(c.Combo1->itemText(2)), "低画質 / 高速 (5832色)");
    ASSERT_EQ(c.Combo2->count(), 2);
    EXPECT_EQ(Utf8(c.Combo2->itemText(0)), "インクジェットプリンタ方式 / 低速");
    EXPECT_EQ(Utf8(c.Combo2->itemText(1)), "カラープライム方式 / 高速");
    EXPECT_EQ(Utf8(c.Label1->text()), "復元画質(&Q):");
    EXPECT_EQ(c.Label1->buddy(), c.Combo1);
    EXPECT_EQ(Utf8(c.Label3->text()), "復元方式(&F):");
    EXPECT_EQ(c.Label3->buddy(), c.Combo2);
    EXPECT_EQ(Utf8(c.Label2->text()), "描き込み速度(&S):");
    EXPECT_EQ(c.Label2->buddy(), c.Slider1);
    EXPECT_EQ(Utf8(c.Frame2->title()), "読み込みに関する設定");
    EXPECT_EQ(Utf8(c.Check1->text()), "読み込みが完了したら画像ウィンドウを閉じる(&A)");
    EXPECT_EQ(Utf8(c.Frame3->title()), "描き込みに関する設定");
    EXPECT_EQ(Utf8(c.Check2->text()), "色が正しく描き込まれているか検証する(&C)");
    EXPECT_EQ(Utf8(c.Label4->text()), "遅い");
    EXPECT_EQ(Utf8(c.Label5->text()), "速い");
    EXPECT_EQ(c.Slider1->geometry(), QRect(128, 14, 129, 33));
    EXPECT_EQ(c.Slider1->orientation(), Qt::Horizontal);
    EXPECT_EQ(c.Slider1->minimum(), 1);
    EXPECT_EQ(c.Slider1->maximum(), 5);
    EXPECT_EQ(c.Slider1->singleStep(), 1);
    EXPECT_EQ(c.Slider1->pageStep(), 1);
    EXPECT_NE(c.Slider1->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(c.Command1->geometry(), QRect(112, 228, 89, 21));
    EXPECT_TRUE(c.Command1->isDefault());
    EXPECT_EQ(Utf8(c.Command2->text()), "キャンセル");
    EXPECT_EQ(c.Command2->geometry(), QRect(208, 228, 89, 21));
}

TEST_F(Dialog2Test, ChangedQualityAfterAReadDropsTheReadAndIsStored) {
    MakeReadyToDraw();
    Modals.WithDialog<Dialog2>([](Dialog2& d) {
        EXPECT_EQ(d.Controls().Combo1->currentIndex(), 0);
        EXPECT_EQ(d.Controls().Combo2->currentIndex(), 0);
        EXPECT_TRUE(d.Controls().Check1->isChecked());
        EXPECT_TRUE(d.Controls().Check2->isChecked());
        EXPECT_EQ(d.Controls().Slider1->value(), 5);
        d.Controls().Combo1->setCurrentIndex(1);
        d.Controls().Command1->click();
    });
    Modals.AnswerBox(QMessageBox::Ok);
    Main().Tool_Option_Click();

    EXPECT_EQ(Modals.PendingSteps(), 0u);
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text),
              "復元に関する設定が変更されました。\n"
              "この変更を有効にするため、再度読み取りを行ってください。");
    EXPECT_EQ(Modals.Boxes()[0].Icon, QMessageBox::Information);
    EXPECT_EQ(State().Quality, 1);
    EXPECT_FALSE(State().ScanReady);
    EXPECT_FALSE(C().Command6->isEnabled());
    EXPECT_NE(SettingsText().find("\r\nQuality=1;\r\n"), std::string::npos) << SettingsText();
    // Hidden, not unloaded.
    ASSERT_NE(App().LoadedOptionsDialog(), nullptr);
    EXPECT_FALSE(App().LoadedOptionsDialog()->isVisible());
}

TEST_F(Dialog2Test, OkWithTheSameRestoreSettingsKeepsTheRead) {
    MakeReadyToDraw();
    Modals.WithDialog<Dialog2>([](Dialog2& d) {
        d.Controls().Slider1->setValue(3);
        d.Controls().Check1->setChecked(false);
        d.Controls().Command1->click();
    });
    Main().Tool_Option_Click();
    EXPECT_EQ(Modals.PendingSteps(), 0u);
    EXPECT_TRUE(Modals.Boxes().empty());
    EXPECT_EQ(State().Speed, 3);
    EXPECT_FALSE(State().AutoClose);
    EXPECT_TRUE(State().ScanReady);
    EXPECT_TRUE(C().Command6->isEnabled());
    const std::string text = SettingsText();
    EXPECT_NE(text.find("\r\nSpeed=3;\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nAutoClose=0;\r\n"), std::string::npos) << text;
}

TEST_F(Dialog2Test, CancelEscapeAndCloseBoxStoreNothing) {
    int shownSpeed = 0;
    Modals.WithDialog<Dialog2>([](Dialog2& d) {
        d.Controls().Slider1->setValue(2);
        d.Controls().Combo2->setCurrentIndex(1);
        d.Controls().Command2->click();
    });
    Modals.WithDialog<Dialog2>([&](Dialog2& d) {
        shownSpeed = d.Controls().Slider1->value();
        d.Controls().Check2->setChecked(false);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&d, &escape);
    });
    Modals.WithDialog<Dialog2>([](Dialog2& d) {
        EXPECT_TRUE(d.Controls().Check2->isChecked());
        EXPECT_EQ(d.Controls().Combo2->currentIndex(), 0);
        d.Controls().Slider1->setValue(1);
        d.close();
    });
    Main().Tool_Option_Click();
    EXPECT_EQ(State().Speed, 5);
    EXPECT_EQ(State().Formula, 0);
    Main().Tool_Option_Click();
    EXPECT_EQ(shownSpeed, 5);
    EXPECT_TRUE(State().Check);
    Main().Tool_Option_Click();
    EXPECT_EQ(Modals.PendingSteps(), 0u);
    EXPECT_EQ(State().Speed, 5);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    ASSERT_NE(App().LoadedOptionsDialog(), nullptr);
    EXPECT_FALSE(App().LoadedOptionsDialog()->isVisible());
}

TEST_F(Dialog2Test, TheToolMenuItemOpensIt) {
    bool opened = false;
    Modals.WithDialog<Dialog2>([&](Dialog2& d) {
        opened = d.isVisible();
        d.Controls().Command2->click();
    });
    C().Tool_Option->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(Modals.PendingSteps(), 0u);
}

}  // namespace
}  // namespace inkrelay::test
