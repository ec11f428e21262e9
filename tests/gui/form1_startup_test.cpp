// Form1 as the program leaves it after start-up: the window, its controls and its menus.

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "colour_swatch.h"
#include "gui_fixture.h"
#include "picture_box.h"

namespace inkrelay::test {
namespace {

using ui::Form1Controls;

class Form1StartupTest : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }
};

TEST_F(Form1StartupTest, EnablesWhatAnIdleProgramWithoutPictureAllows) {
    const Form1Controls& c = C();
    EXPECT_TRUE(c.File_Open->isEnabled());
    EXPECT_TRUE(c.File_Exit->isEnabled());
    EXPECT_FALSE(c.Edit_Paste->isEnabled());  // the clipboard is empty
    EXPECT_FALSE(c.Edit_SelectAll->isEnabled());
    EXPECT_FALSE(c.Edit_SelectSquare->menuAction()->isEnabled());
    EXPECT_FALSE(c.Edit_CancelSelection->isEnabled());
    EXPECT_TRUE(c.View_ImageWindow->isEnabled());
    EXPECT_FALSE(c.View_ImageWindow->isChecked());
    EXPECT_TRUE(c.Option1->isEnabled());
    EXPECT_TRUE(c.Option2->isEnabled());
    EXPECT_TRUE(c.Combo1->isEnabled());
    EXPECT_FALSE(c.Command1->isEnabled());  // no picture, normal mode
    EXPECT_TRUE(c.Command2->isEnabled());
    EXPECT_TRUE(c.Command3->isEnabled());
    EXPECT_TRUE(c.Command4->isEnabled());
    EXPECT_FALSE(c.Command5->isEnabled());
    EXPECT_FALSE(c.Command6->isEnabled());
}

TEST_F(Form1StartupTest, ShowsTheDefaultSettingsAndNoCoordinates) {
    const Form1Controls& c = C();
    EXPECT_TRUE(c.Option1->isChecked());
    EXPECT_FALSE(c.Option2->isChecked());
    EXPECT_EQ(c.Combo1->currentIndex(), 1);
    EXPECT_EQ(Utf8(c.Combo1->currentText()), "PaintBBS v2.**");
    for (const QLineEdit* text : {c.Text1, c.Text2, c.Text3, c.Text4}) {
        EXPECT_EQ(Utf8(text->text()), "(---,---)");
        EXPECT_TRUE(text->isReadOnly());
    }
    EXPECT_EQ(Utf8(c.StatusPanel1->text()), "");
    EXPECT_EQ(c.Picture1->ShownColour(), c.Picture1->palette().color(QPalette::Button));
    EXPECT_EQ(c.ProgressBar1->minimum(), 0);
    EXPECT_EQ(c.ProgressBar1->maximum(), 100);
    EXPECT_FALSE(c.ProgressBar1->isTextVisible());
}

TEST_F(Form1StartupTest, IsAFixedTopmostWindowWithoutMaximizeButton) {
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(Utf8(Main().windowTitle()), "インクリレー");
    EXPECT_FALSE(Main().windowIcon().isNull());
    ASSERT_NE(Main().centralWidget(), nullptr);
    EXPECT_EQ(Main().centralWidget()->size(), QSize(305, 301));
    EXPECT_EQ(Main().centralWidget()->y(), Main().menuBar()->height());
    EXPECT_EQ(Main().minimumSize(), Main().maximumSize());
    EXPECT_EQ(Main().size(), QSize(305, 301 + Main().menuBar()->height()));
    const Qt::WindowFlags flags = Main().windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

struct Placement {
    const char* Name;
    QWidget* Control;
    QRect Geometry;
    const char* Caption;  // nullptr where the control has none
};

TEST_F(Form1StartupTest, PlacesEveryControlWhereTheWindowWasDrawn) {
    const Form1Controls& c = C();
    const std::vector<Placement> placements = {
        {"Frame1", c.Frame1, {8, 8, 289, 41}, "復元モード"},
        {"Option1", c.Option1, {8, 16, 57, 17}, "通常"},
        {"Option2", c.Option2, {64, 16, 73, 17}, "単色線画"},
        {"Picture1", c.Picture1, {144, 16, 41, 17}, nullptr},
        {"Command1", c.Command1, {200, 14, 81, 21}, "色の指定"},
        {"Frame2", c.Frame2, {8, 56, 289, 49}, "復元先アプレット"},
        {"Combo1", c.Combo1, {8, 18, 273, 20}, nullptr},
        {"Frame3", c.Frame3, {8, 112, 177, 89}, "読み取り範囲"},
        {"Command2", c.Command2, {8, 16, 81, 21}, "範囲の指定"},
        {"Text1", c.Text1, {8, 40, 81, 18}, "(---,---)"},
        {"Text2", c.Text2, {8, 64, 81, 18}, "(---,---)"},
        {"Picture2", c.Picture2, {104, 16, 65, 65}, nullptr},
        {"Frame5", c.Frame5, {200, 112, 97, 89}, "描き込み位置"},
        {"Command3", c.Command3, {8, 16, 81, 21}, "位置の指定"},
        {"Text3", c.Text3, {8, 40, 81, 18}, "(---,---)"},
        {"Frame4", c.Frame4, {8, 208, 177, 65}, "RGB バーの位置"},
        {"Command4", c.Command4, {8, 16, 81, 21}, "位置の指定"},
        {"Text4", c.Text4, {8, 40, 81, 18}, "(---,---)"},
        {"Picture3", c.Picture3, {104, 16, 65, 41}, nullptr},
        {"Command5", c.Command5, {200, 216, 97, 21}, "読み取る(&S)"},
        {"Command6", c.Command6, {200, 252, 97, 21}, "描き込む(&D)"},
        {"StatusBar1", c.StatusBar1, {0, 280, 305, 21}, nullptr},
        {"ProgressBar1", c.ProgressBar1, {232, 284, 72, 15}, nullptr},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.Name);
        EXPECT_EQ(p.Control->geometry(), p.Geometry);
        EXPECT_TRUE(p.Control->isVisible());
        if (p.Caption != nullptr) {
            EXPECT_EQ(Utf8(CaptionOf(p.Control)), p.Caption);
        }
    }
    // The frames' controls are their children; the rest sit on the client area.
    EXPECT_EQ(c.Option1->parentWidget(), c.Frame1);
    EXPECT_EQ(c.Combo1->parentWidget(), c.Frame2);
    EXPECT_EQ(c.Picture2->parentWidget(), c.Frame3);
    EXPECT_EQ(c.Text3->parentWidget(), c.Frame5);
    EXPECT_EQ(c.Picture3->parentWidget(), c.Frame4);
    EXPECT_EQ(c.Command5->parentWidget(), Main().centralWidget());
    EXPECT_EQ(c.OptionGroup->buttons().size(), 2);
}

TEST_F(Form1StartupTest, ListsTheAppletsInOrder) {
    const QComboBox* combo = C().Combo1;
    ASSERT_EQ(combo->count(), 6);
    EXPECT_EQ(Utf8(combo->itemText(0)), "PaintChatEasy v2.**");
    EXPECT_EQ(Utf8(combo->itemText(1)), "PaintBBS v2.**");
    EXPECT_EQ(Utf8(combo->itemText(2)), "OekakiBBS ver.2.**");
    EXPECT_EQ(Utf8(combo->itemText(3)), "しぃペインター通常版 v1.070以降");
    EXPECT_EQ(Utf8(combo->itemText(4)), "PaintBBS NEO");
    EXPECT_EQ(Utf8(combo->itemText(5)), "しぃペインター NEO");
    EXPECT_FALSE(combo->isEditable());
}

// Captions of a menu's items, separators as "-", with the shortcut after a tab.
std::vector<std::string> Items(const QMenu* menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            items.push_back("-");
            continue;
        }
        std::string item = Utf8(action->text());
        if (!action->shortcut().isEmpty())
            item += "\t" + Utf8(action->shortcut().toString(QKeySequence::PortableText));
        items.push_back(item);
    }
    return items;
}

TEST_F(Form1StartupTest, HasTheFiveMenusWithTheirItemsAndShortcuts) {
    const Form1Controls& c = C();
    std::vector<std::string> titles;
    for (const QAction* action : Main().menuBar()->actions())
        titles.push_back(Utf8(action->text()));
    EXPECT_EQ(titles, (std::vector<std::string>{"ファイル(&F)", "編集(&E)", "表示(&V)",
                                                "ツール(&T)", "ヘルプ(&H)"}));
    EXPECT_EQ(Items(c.File),
              (std::vector<std::string>{"開く(&O)\tCtrl+O", "-", "インクリレーの終了(&X)"}));
    EXPECT_EQ(Items(c.Edit),
              (std::vector<std::string>{"貼り付け(&P)\tCtrl+V", "-", "すべて選択(&A)\tCtrl+A",
                                        "正方形を選択(&S)", "選択を解除(&D)\tCtrl+D"}));
    EXPECT_EQ(
        Items(c.Edit_SelectSquare),
        (std::vector<std::string>{"100×100(&1)", "200×200(&2)", "300×300(&3)", "400×400(&4)",
                                  "500×500(&5)", "600×600(&6)", "700×700(&7)", "800×800(&8)"}));
    for (size_t i = 0; i < c.Edit_SelectSquare_Sizes.size(); ++i)
        EXPECT_EQ(c.Edit_SelectSquare_Sizes[i], c.Edit_SelectSquare->actions()[i]);
    EXPECT_EQ(Items(c.View), (std::vector<std::string>{"画像ウィンドウ(&I)"}));
    EXPECT_TRUE(c.View_ImageWindow->isCheckable());
    EXPECT_EQ(Items(c.Tool), (std::vector<std::string>{"オプション(&O)"}));
    EXPECT_EQ(Items(c.Help),
              (std::vector<std::string>{"Readme.txt を表示(&R)", "-", "バージョン情報(&A)"}));
    EXPECT_EQ(c.File_Open, c.File->actions()[0]);
    EXPECT_EQ(c.File_Exit, c.File->actions()[2]);
    EXPECT_EQ(c.Help_VersionInformation, c.Help->actions()[2]);
}

}  // namespace
}  // namespace inkrelay::test
