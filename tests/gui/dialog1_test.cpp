// The version dialog.

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "dialog1.h"
#include "gui_fixture.h"

namespace inkrelay::test {
namespace {

using Dialog1Test = GuiTest;

TEST_F(Dialog1Test, TheHelpItemShowsTheVersionModallyAndOkHidesIt) {
    ASSERT_EQ(Launch(), std::nullopt);
    bool checked = false;
    Modals.WithDialog<ui::Dialog1>([&](ui::Dialog1& d) {
        const ui::Dialog1Controls& c = d.Controls();
        EXPECT_EQ(Utf8(d.windowTitle()), "インクリレーのバージョン情報");
        EXPECT_EQ(d.size(), QSize(289, 121));
        EXPECT_EQ(d.minimumSize(), d.maximumSize());
        EXPECT_TRUE(d.isModal());
        EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(Utf8(c.Label1->text()), "インクリレー");
        EXPECT_TRUE(c.Label1->font().bold());
        EXPECT_EQ(c.Label1->font().pointSize(), 9);
        EXPECT_EQ(Utf8(c.Label2->text()), "Version 2.10");
        EXPECT_FALSE(c.Label3->text().isEmpty());
        EXPECT_FALSE(c.Label4->text().isEmpty());
        EXPECT_EQ(c.Label3->geometry(), QRect(8, 48, 273, 17));
        EXPECT_EQ(c.Label4->geometry(), QRect(8, 64, 97, 17));
        EXPECT_EQ(c.Picture1->geometry(), QRect(8, 8, 32, 32));
        EXPECT_EQ(c.Picture1->pixmap().size(), QSize(32, 32));
        EXPECT_EQ(Utf8(c.Command1->text()), "OK");
        EXPECT_EQ(c.Command1->geometry(), QRect(100, 92, 89, 21));
        checked = true;
        c.Command1->click();
    });
    C().Help_VersionInformation->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(Modals.PendingSteps(), 0u);
    ASSERT_NE(App().LoadedVersionDialog(), nullptr);
    EXPECT_FALSE(App().LoadedVersionDialog()->isVisible());
}

}  // namespace
}  // namespace inkrelay::test
