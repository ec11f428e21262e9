// The image window: shown and hidden from the View menu, hidden by its close box.

#include <QAction>
#include <QLabel>
#include <QLineEdit>

#include "form2.h"
#include "gui_fixture.h"

namespace inkrelay::test {
namespace {

class Form2Test : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }

    bool ImageWindowShown() {
        return App().LoadedImageWindow() != nullptr && App().LoadedImageWindow()->isVisible();
    }
};

TEST_F(Form2Test, IsNotLoadedUntilFirstUsed) {
    EXPECT_EQ(App().LoadedImageWindow(), nullptr);
    EXPECT_FALSE(C().View_ImageWindow->isChecked());
}

TEST_F(Form2Test, TheViewItemShowsItTickedAndHidesItUnticked) {
    C().View_ImageWindow->trigger();
    ASSERT_TRUE(ImageWindowShown());
    const ui::Form2& window = *App().LoadedImageWindow();
    EXPECT_EQ(Utf8(window.windowTitle()), "インクリレー - 画像ウィンドウ");
    EXPECT_TRUE(C().View_ImageWindow->isChecked());
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(window.parentWidget(), nullptr);
    EXPECT_EQ(window.size(), Main().size());
    EXPECT_NE(window.minimumSize(), window.maximumSize());  // sizable

    C().View_ImageWindow->trigger();
    EXPECT_FALSE(ImageWindowShown());
    EXPECT_FALSE(C().View_ImageWindow->isChecked());

    Main().View_ImageWindow_Click();
    EXPECT_TRUE(ImageWindowShown());
    EXPECT_TRUE(C().View_ImageWindow->isChecked());
}

TEST_F(Form2Test, TheCloseBoxOnlyHidesItAndEndsAColourPick) {
    Main().View_ImageWindow_Click();
    ASSERT_TRUE(ImageWindowShown());
    State().PickingColour = true;
    UpdateControls();
    ASSERT_EQ(Utf8(C().StatusPanel1->text()), "復元する線にあわせて左クリック");

    EXPECT_FALSE(App().LoadedImageWindow()->close());
    ASSERT_NE(App().LoadedImageWindow(), nullptr);
    EXPECT_FALSE(ImageWindowShown());
    EXPECT_FALSE(C().View_ImageWindow->isChecked());
    EXPECT_FALSE(State().PickingColour);
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "");
    EXPECT_TRUE(C().File_Open->isEnabled());  // idle again
}

TEST_F(Form2Test, ItsVisibilityReachesTheStatusRules) {
    State().RangeSelected = true;
    State().Coords[Coord::RangeLeft] = 10;
    State().Coords[Coord::RangeTop] = 20;
    State().Coords[Coord::RangeRight] = 109;
    State().Coords[Coord::RangeBottom] = 69;
    UpdateControls();
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "");
    EXPECT_EQ(Utf8(C().Text1->text()), "(10,20)");
    EXPECT_EQ(Utf8(C().Text2->text()), "(109,69)");

    Main().View_ImageWindow_Click();
    UpdateControls();
    EXPECT_EQ(Utf8(C().StatusPanel1->text()), "選択範囲のサイズ:(100,50)");
}

TEST_F(Form2Test, ClosesForGoodWhenTheProgramEnds) {
    Main().View_ImageWindow_Click();
    State().PickingColour = true;
    EXPECT_EQ(Ending([&] { Main().File_Exit_Click(); }), 0);
    EXPECT_EQ(App().LoadedImageWindow(), nullptr);
    // The colour pick was not ended: the window closed without the hide path.
    EXPECT_TRUE(State().PickingColour);
}

}  // namespace
}  // namespace inkrelay::test
