// Form1 forwarding the user's actions to the core and showing the states that follow.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSignalBlocker>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "app/lifecycle.h"
#include "colour_swatch.h"
#include "gui_fixture.h"

namespace inkrelay::test {
namespace {

using ui::Form1Controls;

class Form1EventsTest : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }

    // Every control and menu item that a busy state can switch off.
    std::vector<std::pair<std::string, bool>> Enabled() {
        const Form1Controls& c = C();
        return {{"File_Open", c.File_Open->isEnabled()},
                {"File_Exit", c.File_Exit->isEnabled()},
                {"Edit_Paste", c.Edit_Paste->isEnabled()},
                {"Edit_SelectAll", c.Edit_SelectAll->isEnabled()},
                {"Edit_SelectSquare", c.Edit_SelectSquare->menuAction()->isEnabled()},
                {"Edit_CancelSelection", c.Edit_CancelSelection->isEnabled()},
                {"View_ImageWindow", c.View_ImageWindow->isEnabled()},
                {"Option1", c.Option1->isEnabled()},
                {"Option2", c.Option2->isEnabled()},
                {"Combo1", c.Combo1->isEnabled()},
                {"Command1", c.Command1->isEnabled()},
                {"Command2", c.Command2->isEnabled()},
                {"Command3", c.Command3->isEnabled()},
                {"Command4", c.Command4->isEnabled()},
                {"Command5", c.Command5->isEnabled()},
                {"Command6", c.Command6->isEnabled()}};
    }

    void ExpectOnlyEnabled(const std::set<std::string>& names) {
        for (const auto& [name, enabled] : Enabled())
            EXPECT_EQ(enabled, names.count(name) == 1) << name;
    }
};

TEST_F(Form1EventsTest, ScanningSwitchesOffAllButTheImageWindowItem) {
    State().Scanning = true;
    UpdateControls();
    ExpectOnlyEnabled({"View_ImageWindow"});
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "画像を読み取り中...");
    // The option buttons and the list keep what they showed.
    EXPECT_TRUE(C().Option1->isChecked());
    EXPECT_EQ(C().Combo1->currentIndex(), 1);

    State().Scanning = false;
    UpdateControls();
    ExpectOnlyEnabled({"File_Open", "File_Exit", "View_ImageWindow", "Option1", "Option2", "Combo1",
                       "Command2", "Command3", "Command4"});
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "");
}

TEST_F(Form1EventsTest, DrawingSwitchesOffEverything) {
    State().Drawing = true;
    UpdateControls();
    ExpectOnlyEnabled({});
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "画像を描き込み中...");
}

TEST_F(Form1EventsTest, CloseBoxWhileScanningIsRefusedWithAMessage) {
    State().Scanning = true;
    Modals.AnswerBox(QMessageBox::Ok);
    EXPECT_FALSE(Main().close());
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text), BusyCloseMessage);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Title), "インクリレー");
    EXPECT_EQ(Modals.Boxes()[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(Modals.Boxes()[0].Buttons, QMessageBox::Ok);
    EXPECT_TRUE(Modals.Boxes()[0].OnTop);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(State().Closing);
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(Form1EventsTest, CloseBoxWhileDrawingIsRefusedToo) {
    State().Drawing = true;
    Modals.AnswerBox(QMessageBox::Ok);
    EXPECT_EQ(Ending([&] { Main().Form_QueryUnload(); }), std::nullopt);
    ASSERT_EQ(Modals.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(Modals.Boxes()[0].Text), BusyCloseMessage);
    EXPECT_TRUE(Main().isVisible());
}

TEST_F(Form1EventsTest, OpeningAMenuLooksAtTheClipboardAgain) {
    EXPECT_FALSE(C().Edit_Paste->isEnabled());
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    {
        // A change the clipboard does not announce is still seen when a menu opens.
        const QSignalBlocker quiet(QGuiApplication::clipboard());
        QGuiApplication::clipboard()->setImage(picture);
        EXPECT_FALSE(C().Edit_Paste->isEnabled());
        emit C().Edit->aboutToShow();
        EXPECT_TRUE(C().Edit_Paste->isEnabled());

        QGuiApplication::clipboard()->setText("no picture");
        emit C().File->aboutToShow();
        EXPECT_FALSE(C().Edit_Paste->isEnabled());
    }
}

TEST_F(Form1EventsTest, OptionButtonsSetTheModeAndTheSwatch) {
    State().ScanCol = 0x0000FF;  // red
    C().Option2->click();
    EXPECT_EQ(State().Mode, 1);
    EXPECT_TRUE(C().Option2->isChecked());
    EXPECT_FALSE(C().Option1->isChecked());
    EXPECT_EQ(C().Picture1->ShownColour(), QColor(255, 0, 0));
    EXPECT_FALSE(C().Command1->isEnabled());  // no picture to pick the colour from

    C().Option1->click();
    EXPECT_EQ(State().Mode, 0);
    EXPECT_TRUE(C().Option1->isChecked());
    EXPECT_EQ(C().Picture1->ShownColour(), C().Picture1->palette().color(QPalette::Button));
}

TEST_F(Form1EventsTest, ChoosingAnAppletStoresItButSettingTheListDoesNot) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(C().Combo1, &down);
    QCoreApplication::sendEvent(C().Combo1, &down);
    EXPECT_EQ(C().Combo1->currentIndex(), 3);
    EXPECT_EQ(State().Applet, 3);

    C().Combo1->setCurrentIndex(0);
    EXPECT_EQ(State().Applet, 3);

    EXPECT_EQ(Ending([&] { Main().File_Exit_Click(); }), ExitStatus::Normal);
    EXPECT_NE(SettingsText().find("\r\nApplet=3;\r\n"), std::string::npos) << SettingsText();
}

TEST_F(Form1EventsTest, TheSwatchPaintsTheColourItShows) {
    State().ScanCol = 0x00336699;  // blue 0x33, green 0x66, red 0x99
    C().Option2->click();
    ASSERT_TRUE(C().Option2->isChecked());
    const QImage shot = C().Picture1->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(0x99, 0x66, 0x33));
}

// Settings the program starts from.
class Form1SettingsStartTest : public GuiTest {
  protected:
    void StartWith(const std::string& mainSettings) {
        WriteFile(SettingsFile(), "[Main Settings]\r\n" + mainSettings);
        ASSERT_EQ(Launch(), std::nullopt);
    }
};

TEST_F(Form1SettingsStartTest, StoredSingleColourModeSelectsOption2) {
    StartWith("Mode=1;\r\nApplet=2;\r\nScanCol=65280;\r\n");
    EXPECT_TRUE(C().Option2->isChecked());
    EXPECT_FALSE(C().Option1->isChecked());
    EXPECT_EQ(C().Combo1->currentIndex(), 2);
    // The swatch follows the button the rules saw selected, so it is up to date after a look.
    emit C().File->aboutToShow();
    EXPECT_EQ(C().Picture1->ShownColour(), QColor(0, 255, 0));
}

TEST_F(Form1SettingsStartTest, AnUnknownModeSelectsNeitherButton) {
    StartWith("Mode=7;\r\nScanCol=16711680;\r\n");
    EXPECT_FALSE(C().Option1->isChecked());
    EXPECT_FALSE(C().Option2->isChecked());
    // Neither button selected counts as not normal: the swatch shows the colour.
    emit C().Edit->aboutToShow();
    EXPECT_EQ(C().Picture1->ShownColour(), QColor(0, 0, 255));
    // Choosing again works from the state where neither is on.
    C().Option1->click();
    EXPECT_TRUE(C().Option1->isChecked());
    EXPECT_EQ(State().Mode, 0);
}

}  // namespace
}  // namespace inkrelay::test
