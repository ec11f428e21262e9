#pragma once
// The version dialog.

#include <QDialog>

class QLabel;
class QPushButton;

namespace inkrelay::ui {

struct Dialog1Controls {
    QLabel *Picture1 = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr,
           *Label4 = nullptr;
    QPushButton* Command1 = nullptr;
};

class Dialog1 : public QDialog {
    Q_OBJECT

  public:
    explicit Dialog1(QWidget* owner);

    const Dialog1Controls& Controls() const { return controls_; }

    // OK only hides the dialog; it stays loaded until the program ends.
    void Command1_Click();

  private:
    Dialog1Controls controls_;
};

}  // namespace inkrelay::ui
