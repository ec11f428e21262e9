#pragma once
// The options dialog: the restore, read and draw settings. Its logic lives in the core.

#include <QDialog>

#include "app/options_dialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace inkrelay {
struct Program;
}

namespace inkrelay::ui {

struct Dialog2Controls {
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
           *Label5 = nullptr;
    QComboBox *Combo1 = nullptr, *Combo2 = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr;
    QSlider* Slider1 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr;
};

class Dialog2 : public QDialog {
    Q_OBJECT

  public:
    Dialog2(Program& program, QWidget* owner);

    const Dialog2Controls& Controls() const { return controls_; }

    // OK stores the values and hides the dialog.
    void Command1_Click();
    // Cancel, Esc and the close box hide it with nothing stored.
    void Command2_Click();

  protected:
    // Every showing starts from the stored settings.
    void showEvent(QShowEvent* event) override;

  private:
    void Build();
    void ShowValues(const OptionsControls& values);
    OptionsControls ReadValues() const;

    Program& program_;
    OptionsDialogLogic logic_;
    Dialog2Controls controls_;
};

}  // namespace inkrelay::ui
