#pragma once
// Form1's controls and menu items under their numbered names. Form1 builds them; tests read them.

#include <array>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace inkrelay::ui {

class ColourSwatch;
class PictureBox;

inline constexpr int SquareSelectionCount = 8;  // 100×100 .. 800×800

struct Form1Controls {
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr,
              *Frame5 = nullptr;
    QRadioButton *Option1 = nullptr, *Option2 = nullptr;
    QButtonGroup* OptionGroup = nullptr;
    ColourSwatch* Picture1 = nullptr;
    PictureBox *Picture2 = nullptr, *Picture3 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;
    QWidget* StatusBar1 = nullptr;
    QLabel *StatusPanel1 = nullptr, *StatusPanel2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    QMenu *File = nullptr, *Edit = nullptr, *Edit_SelectSquare = nullptr, *View = nullptr,
          *Tool = nullptr, *Help = nullptr;
    QAction *File_Open = nullptr, *File_Exit = nullptr, *Edit_Paste = nullptr,
            *Edit_SelectAll = nullptr, *Edit_CancelSelection = nullptr, *View_ImageWindow = nullptr,
            *Tool_Option = nullptr, *Help_ShowReadme = nullptr, *Help_VersionInformation = nullptr;
    // Edit_SelectSquare_100 .. Edit_SelectSquare_800.
    std::array<QAction*, SquareSelectionCount> Edit_SelectSquare_Sizes{};
};

// The controls of the client area from the layout table; client takes its fixed size.
void BuildForm1Client(QWidget* client, Form1Controls& controls);
// The five menus with their items, mnemonics and shortcuts, from the layout table.
void BuildForm1Menus(QMenuBar* bar, Form1Controls& controls);

}  // namespace inkrelay::ui
