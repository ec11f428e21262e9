// The Qt windows as the layout table draws them, row by row: each control found by its name at
// its place, under its parent, with its caption, in the table's tab order. The Win32 windows are
// built from the same rows.

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <vector>

#include "app/window_layout.h"
#include "dialog1.h"
#include "dialog2.h"
#include "gui_fixture.h"

namespace inkrelay::test {
namespace {

QString Qt8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void ExpectBuiltFrom(const WindowLayout& layout, QWidget* window, QWidget* client) {
    SCOPED_TRACE(Utf8(Qt8(layout.Title)));
    EXPECT_EQ(window->windowTitle(), Qt8(layout.Title));
    EXPECT_EQ(client->size(), QSize(layout.ClientWidth, layout.ClientHeight));
    std::vector<QWidget*> focusable;
    for (const ControlPlace& place : layout.Controls) {
        SCOPED_TRACE(std::string(place.Name));
        auto* control = client->findChild<QWidget*>(Qt8(place.Name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), QRect(place.Left, place.Top, place.Width, place.Height));
        QWidget* parent =
            place.Parent.empty() ? client : client->findChild<QWidget*>(Qt8(place.Parent));
        EXPECT_EQ(control->parentWidget(), parent);
        if (!place.Caption.empty()) {
            EXPECT_EQ(Utf8(CaptionOf(control)), place.Caption);
        }
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            EXPECT_EQ(button->isDefault(), place.Default);
        }
        if (!place.Buddy.empty()) {
            EXPECT_EQ(qobject_cast<QLabel*>(control)->buddy(),
                      client->findChild<QWidget*>(Qt8(place.Buddy)));
        }
        if ((control->focusPolicy() & Qt::TabFocus) != 0)
            focusable.push_back(control);
    }
    // Tab walks the focusable controls in the table's order.
    ASSERT_FALSE(focusable.empty());
    QWidget* at = focusable.front();
    for (size_t k = 1; k < focusable.size(); ++k) {
        do {
            at = at->nextInFocusChain();
        } while ((at->focusPolicy() & Qt::TabFocus) == 0);
        EXPECT_EQ(at, focusable[k])
            << Utf8(at->objectName()) << " before " << Utf8(focusable[k]->objectName());
    }
}

using LayoutTableTest = GuiTest;

TEST_F(LayoutTableTest, EveryWindowStandsAsItsRowsSay) {
    ASSERT_EQ(Launch(), std::nullopt);
    ExpectBuiltFrom(Form1Layout(), &Main(), Main().centralWidget());
    ExpectBuiltFrom(Dialog1Layout(), &App().VersionDialog(), &App().VersionDialog());
    ExpectBuiltFrom(Dialog2Layout(), &App().OptionsDialog(), &App().OptionsDialog());
}

}  // namespace
}  // namespace inkrelay::test
