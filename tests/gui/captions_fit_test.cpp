// Every caption fits the fixed size of its control in the program's font and style.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "dialog1.h"
#include "dialog2.h"
#include "gui_fixture.h"

namespace inkrelay::test {
namespace {

class CaptionsFitTest : public GuiTest {
  protected:
    void SetUp() override { ASSERT_EQ(Launch(), std::nullopt); }
};

// A caption's width without its mnemonic marker.
int TextWidth(const QWidget* w, QString text) {
    text.remove('&');
    return w->fontMetrics().horizontalAdvance(text);
}

void ExpectFits(const QWidget* w, const QString& caption) {
    int needed = 0;
    if (qobject_cast<const QRadioButton*>(w) || qobject_cast<const QCheckBox*>(w) ||
        qobject_cast<const QLabel*>(w)) {
        needed = w->sizeHint().width();
    } else {
        needed = TextWidth(w, caption) + 6;  // a little room either side inside the bevel
    }
    EXPECT_LE(needed, w->width()) << Utf8(caption);
    EXPECT_LE(w->fontMetrics().height(), w->height()) << Utf8(caption);
}

TEST_F(CaptionsFitTest, MainWindow) {
    const ui::Form1Controls& c = C();
    for (const QAbstractButton* b : std::initializer_list<const QAbstractButton*>{
             c.Option1, c.Option2, c.Command1, c.Command2, c.Command3, c.Command4, c.Command5,
             c.Command6})
        ExpectFits(b, b->text());
    for (const QGroupBox* g : {c.Frame1, c.Frame2, c.Frame3, c.Frame4, c.Frame5})
        EXPECT_LE(TextWidth(g, g->title()) + 16, g->width()) << Utf8(g->title());
    for (int i = 0; i < c.Combo1->count(); ++i)
        EXPECT_LE(TextWidth(c.Combo1, c.Combo1->itemText(i)) + 24, c.Combo1->width())
            << Utf8(c.Combo1->itemText(i));
}

TEST_F(CaptionsFitTest, AllFiveMenusFitTheMenuBar) {
    const QMenuBar* bar = Main().menuBar();
    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), 5);
    for (QAction* menu : menus) {
        const QRect place = bar->actionGeometry(menu);
        EXPECT_FALSE(place.isEmpty()) << Utf8(menu->text());
        EXPECT_LE(place.right(), bar->width() - 1) << Utf8(menu->text());
    }
}

TEST_F(CaptionsFitTest, OptionsDialog) {
    const ui::Dialog2Controls& c = App().OptionsDialog().Controls();
    for (const QLabel* l : {c.Label1, c.Label2, c.Label3, c.Label4, c.Label5})
        ExpectFits(l, l->text());
    for (const QAbstractButton* b :
         std::initializer_list<const QAbstractButton*>{c.Check1, c.Check2, c.Command1, c.Command2})
        ExpectFits(b, b->text());
    for (const QComboBox* combo : {c.Combo1, c.Combo2})
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(TextWidth(combo, combo->itemText(i)) + 24, combo->width())
                << Utf8(combo->itemText(i));
}

TEST_F(CaptionsFitTest, VersionDialog) {
    const ui::Dialog1Controls& c = App().VersionDialog().Controls();
    for (const QLabel* l : {c.Label1, c.Label2, c.Label3, c.Label4}) ExpectFits(l, l->text());
    ExpectFits(c.Command1, c.Command1->text());
}

}  // namespace
}  // namespace inkrelay::test
