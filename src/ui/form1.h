#pragma once
// The main window. Each handler forwards to the core; Apply shows what the control rules decided.

#include <QMainWindow>
#include <cstdint>

#include "form1_controls.h"

namespace inkrelay {
struct ControlStates;
}

namespace inkrelay::ui {

class InkrelayApp;

class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    explicit Form1(InkrelayApp& app);

    const Form1Controls& Controls() const { return controls_; }

    // Every non-empty field reaches its control; empty ones leave the control as it is.
    void Apply(const ControlStates& states);

    // Opening the File and Edit menus.
    void File_Click();
    void Edit_Click();

    void File_Open_Click();
    void File_Exit_Click();
    void Edit_Paste_Click();
    void Edit_SelectAll_Click();
    void Edit_SelectSquare_Click(int16_t side);
    void Edit_CancelSelection_Click();
    void View_ImageWindow_Click();
    void Tool_Option_Click();
    void Help_ShowReadme_Click();
    void Help_VersionInformation_Click();

    void Option1_Click();
    void Option2_Click();
    void Picture1_Click();
    void Combo1_Click(int listIndex);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

    // The close box; when the core allows the close the program ends inside this call.
    void Form_QueryUnload();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Connect();

    InkrelayApp& app_;
    Form1Controls controls_;
};

}  // namespace inkrelay::ui
