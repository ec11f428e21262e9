#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window.h"
#include "app/window_layout.h"
#include "colour_swatch.h"
#include "form1_controls.h"
#include "layout_builder.h"
#include "picture_box.h"
#include "read_only_text.h"

namespace inkrelay::ui {

void BuildForm1Client(QWidget* client, Form1Controls& c) {
    const BuiltControls built(Form1Layout(), client);
    c.Frame1 = built.Get<QGroupBox>("Frame1");
    c.Frame2 = built.Get<QGroupBox>("Frame2");
    c.Frame3 = built.Get<QGroupBox>("Frame3");
    c.Frame4 = built.Get<QGroupBox>("Frame4");
    c.Frame5 = built.Get<QGroupBox>("Frame5");
    c.Option1 = built.Get<QRadioButton>("Option1");
    c.Option2 = built.Get<QRadioButton>("Option2");
    c.Picture1 = built.Get<ColourSwatch>("Picture1");
    c.Picture2 = built.Get<PictureBox>("Picture2");
    c.Picture3 = built.Get<PictureBox>("Picture3");
    c.Command1 = built.Get<QPushButton>("Command1");
    c.Command2 = built.Get<QPushButton>("Command2");
    c.Command3 = built.Get<QPushButton>("Command3");
    c.Command4 = built.Get<QPushButton>("Command4");
    c.Command5 = built.Get<QPushButton>("Command5");
    c.Command6 = built.Get<QPushButton>("Command6");
    c.Combo1 = built.Get<QComboBox>("Combo1");
    c.Text1 = built.Get<ReadOnlyText>("Text1");
    c.Text2 = built.Get<ReadOnlyText>("Text2");
    c.Text3 = built.Get<ReadOnlyText>("Text3");
    c.Text4 = built.Get<ReadOnlyText>("Text4");
    c.StatusBar1 = built.Get<QWidget>("StatusBar1");
    c.StatusPanel1 = built.Get<QLabel>("StatusPanel1");
    c.StatusPanel2 = built.Get<QLabel>("StatusPanel2");
    c.ProgressBar1 = built.Get<QProgressBar>("ProgressBar1");

    c.OptionGroup = new QButtonGroup(client);
    c.OptionGroup->addButton(c.Option1);
    c.OptionGroup->addButton(c.Option2);
    c.Option1->setChecked(true);
    for (const std::string_view name : AppletListEntries())
        c.Combo1->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void BuildForm1Menus(QMenuBar* bar, Form1Controls& c) {
    const BuiltMenus built(bar);
    c.File = built.Menu("File");
    c.Edit = built.Menu("Edit");
    c.Edit_SelectSquare = built.Menu("Edit_SelectSquare");
    c.View = built.Menu("View");
    c.Tool = built.Menu("Tool");
    c.Help = built.Menu("Help");
    c.File_Open = built.Item("File_Open");
    c.File_Exit = built.Item("File_Exit");
    c.Edit_Paste = built.Item("Edit_Paste");
    c.Edit_SelectAll = built.Item("Edit_SelectAll");
    c.Edit_CancelSelection = built.Item("Edit_CancelSelection");
    c.View_ImageWindow = built.Item("View_ImageWindow");
    c.Tool_Option = built.Item("Tool_Option");
    c.Help_ShowReadme = built.Item("Help_ShowReadme");
    c.Help_VersionInformation = built.Item("Help_VersionInformation");
    for (int i = 0; i < SquareSelectionCount; ++i)
        c.Edit_SelectSquare_Sizes[static_cast<size_t>(i)] =
            built.Item("Edit_SelectSquare_" + std::to_string((i + 1) * 100));
}

}  // namespace inkrelay::ui
