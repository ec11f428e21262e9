#include "form1.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/control_states.h"
#include "app/draw_commands.h"
#include "app/error_report.h"
#include "app/image_window.h"
#include "app/lifecycle.h"
#include "app/main_window.h"
#include "app/picture_loading.h"
#include "app/range_commands.h"
#include "app/restore_mode.h"
#include "app/scan_command.h"
#include "app/window_layout.h"
#include "application.h"
#include "colour_swatch.h"
#include "program_icon.h"
#include "window_flags.h"

namespace inkrelay::ui {

namespace {

// A failure the core did not report itself still reaches the user, not the event loop.
template <typename Body>
void Forward(InkrelayApp& app, Body&& body) {
    RunHandler(app.Core(), std::forward<Body>(body));
}

}  // namespace

Form1::Form1(InkrelayApp& app) : QMainWindow(nullptr, MainWindowFlags), app_(app) {
    const std::string_view title = Form1Layout().Title;
    setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    setWindowIcon(ProgramIcon());
    auto* client = new QWidget(this);
    BuildForm1Client(client, controls_);
    setCentralWidget(client);
    BuildForm1Menus(menuBar(), controls_);
    // The window is exactly the fixed client area plus the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Connect();
}

void Form1::Connect() {
    const Form1Controls& c = controls_;
    connect(c.File, &QMenu::aboutToShow, this, &Form1::File_Click);
    connect(c.Edit, &QMenu::aboutToShow, this, &Form1::Edit_Click);
    // The paste item, and with it Ctrl+V, follows the clipboard without the menu being opened.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { Forward(app_, [&] { UpdateControls(app_.Core()); }); });
    connect(c.File_Open, &QAction::triggered, this, &Form1::File_Open_Click);
    connect(c.File_Exit, &QAction::triggered, this, &Form1::File_Exit_Click);
    connect(c.Edit_Paste, &QAction::triggered, this, &Form1::Edit_Paste_Click);
    connect(c.Edit_SelectAll, &QAction::triggered, this, &Form1::Edit_SelectAll_Click);
    for (int i = 0; i < SquareSelectionCount; ++i) {
        const auto side = static_cast<int16_t>((i + 1) * 100);
        connect(c.Edit_SelectSquare_Sizes[i], &QAction::triggered, this,
                [this, side] { Edit_SelectSquare_Click(side); });
    }
    connect(c.Edit_CancelSelection, &QAction::triggered, this, &Form1::Edit_CancelSelection_Click);
    connect(c.View_ImageWindow, &QAction::triggered, this, &Form1::View_ImageWindow_Click);
    connect(c.Tool_Option, &QAction::triggered, this, &Form1::Tool_Option_Click);
    connect(c.Help_ShowReadme, &QAction::triggered, this, &Form1::Help_ShowReadme_Click);
    connect(c.Help_VersionInformation, &QAction::triggered, this,
            &Form1::Help_VersionInformation_Click);

    // clicked and activated come from the user only, never from Apply.
    connect(c.Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(c.Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    connect(c.Picture1, &ColourSwatch::Clicked, this, &Form1::Picture1_Click);
    connect(c.Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    connect(c.Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(c.Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(c.Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(c.Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(c.Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(c.Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
}

void Form1::File_Click() {
    Forward(app_, [&] { Menu_Opening(app_.Core()); });
}

void Form1::Edit_Click() {
    Forward(app_, [&] { Menu_Opening(app_.Core()); });
}

void Form1::File_Open_Click() {
    Forward(app_, [&] { inkrelay::File_Open_Click(app_.Core()); });
}

void Form1::File_Exit_Click() {
    Forward(app_, [&] { inkrelay::File_Exit_Click(app_.Core()); });
}

void Form1::Edit_Paste_Click() {
    Forward(app_, [&] { inkrelay::Edit_Paste_Click(app_.Core()); });
}

void Form1::Edit_SelectAll_Click() {
    Forward(app_, [&] { inkrelay::Edit_SelectAll_Click(app_.Core()); });
}

void Form1::Edit_SelectSquare_Click(int16_t side) {
    Forward(app_, [&] { inkrelay::Edit_SelectSquare_Click(app_.Core(), side); });
}

void Form1::Edit_CancelSelection_Click() {
    Forward(app_, [&] { inkrelay::Edit_CancelSelection_Click(app_.Core()); });
}

void Form1::View_ImageWindow_Click() {
    Forward(app_, [&] { inkrelay::View_ImageWindow_Click(app_.Core()); });
}

void Form1::Tool_Option_Click() {
    app_.ShowOptionsDialog();
}

void Form1::Help_ShowReadme_Click() {
    Forward(app_, [&] { inkrelay::Help_ShowReadme_Click(app_.Core()); });
}

void Form1::Help_VersionInformation_Click() {
    app_.ShowVersionDialog();
}

void Form1::Option1_Click() {
    Forward(app_, [&] { inkrelay::Option1_Click(app_.Core()); });
}

void Form1::Option2_Click() {
    Forward(app_, [&] { inkrelay::Option2_Click(app_.Core()); });
}

void Form1::Picture1_Click() {
    Forward(app_, [&] { inkrelay::Picture1_Click(app_.Core()); });
}

void Form1::Combo1_Click(int listIndex) {
    Forward(app_, [&] { inkrelay::Combo1_Click(app_.Core(), static_cast<int16_t>(listIndex)); });
}

void Form1::Command1_Click() {
    Forward(app_, [&] { inkrelay::Command1_Click(app_.Core()); });
}

void Form1::Command2_Click() {
    Forward(app_, [&] { inkrelay::Command2_Click(app_.Core()); });
}

void Form1::Command3_Click() {
    Forward(app_, [&] { inkrelay::Command3_Click(app_.Core()); });
}

void Form1::Command4_Click() {
    Forward(app_, [&] { inkrelay::Command4_Click(app_.Core()); });
}

void Form1::Command5_Click() {
    Forward(app_, [&] { inkrelay::Command5_Click(app_.Core()); });
}

void Form1::Command6_Click() {
    Forward(app_, [&] { inkrelay::Command6_Click(app_.Core()); });
}

void Form1::Form_QueryUnload() {
    Forward(app_, [&] { MainWindowQueryUnload(app_.Core()); });
}

void Form1::closeEvent(QCloseEvent* event) {
    // Qt never closes this window itself: an allowed close ends the program inside the core.
    event->ignore();
    Form_QueryUnload();
}

}  // namespace inkrelay::ui
