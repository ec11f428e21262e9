#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "app/control_states.h"
#include "colour_swatch.h"
#include "form1.h"

namespace inkrelay::ui {

namespace {

template <typename Control>
void SetEnabled(Control* control, const std::optional<bool>& enabled) {
    if (enabled)
        control->setEnabled(*enabled);
}

template <typename Control>
void SetText(Control* control, const std::optional<std::string>& text) {
    if (text)
        control->setText(QString::fromStdString(*text));
}

void SetOption(QButtonGroup* group, QRadioButton* button, bool on) {
    if (on) {
        button->setChecked(true);
        return;
    }
    // An exclusive group refuses to leave every button off, and the rules may ask for that.
    group->setExclusive(false);
    button->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

void Form1::Apply(const ControlStates& s) {
    const Form1Controls& c = controls_;
    SetEnabled(c.File_Open, s.FileOpen);
    SetEnabled(c.File_Exit, s.FileExit);
    SetEnabled(c.Edit_Paste, s.EditPaste);
    SetEnabled(c.Edit_SelectAll, s.EditSelectAll);
    SetEnabled(c.Edit_SelectSquare->menuAction(), s.EditSelectSquare);
    SetEnabled(c.Edit_CancelSelection, s.EditCancelSelection);
    SetEnabled(c.View_ImageWindow, s.ViewImageWindow);
    SetEnabled(c.Option1, s.Option1Enabled);
    SetEnabled(c.Option2, s.Option2Enabled);
    if (s.Picture1Back)
        c.Picture1->SetColour(*s.Picture1Back);
    // Buttons go off before one goes on, so the group never sees two on at once.
    for (const bool on : {false, true}) {
        if (s.Option1Value == on)
            SetOption(c.OptionGroup, c.Option1, on);
        if (s.Option2Value == on)
            SetOption(c.OptionGroup, c.Option2, on);
    }
    SetEnabled(c.Combo1, s.Combo1Enabled);
    if (s.Combo1Index)
        c.Combo1->setCurrentIndex(*s.Combo1Index);
    SetEnabled(c.Command1, s.Command1);
    SetEnabled(c.Command2, s.Command2);
    SetEnabled(c.Command3, s.Command3);
    SetEnabled(c.Command4, s.Command4);
    SetEnabled(c.Command5, s.Command5);
    SetEnabled(c.Command6, s.Command6);
    SetText(c.Text1, s.Text1);
    SetText(c.Text2, s.Text2);
    SetText(c.Text3, s.Text3);
    SetText(c.Text4, s.Text4);
    SetText(c.StatusPanel1, s.StatusText);
}

}  // namespace inkrelay::ui
