#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/control_states.h"
#include "app/main_window.h"
#include "colour_swatch.h"
#include "form1_controls.h"
#include "picture_box.h"
#include "read_only_text.h"
#include "ui_geometry.h"

namespace inkrelay::ui {

namespace {

QLabel* StatusPanel(QWidget* statusBar, int left, int width) {
    auto* panel = Place(new QLabel(statusBar), left, 2, width, 19);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(2);
    return panel;
}

void BuildRestoreMode(QWidget* client, Form1Controls& c) {
    c.Frame1 = Place(new QGroupBox("復元モード", client), 8, 8, 289, 41);
    c.Option1 = Place(new QRadioButton("通常", c.Frame1), 8, 16, 57, 17);
    c.Option2 = Place(new QRadioButton("単色線画", c.Frame1), 64, 16, 73, 17);
    c.OptionGroup = new QButtonGroup(client);
    c.OptionGroup->addButton(c.Option1);
    c.OptionGroup->addButton(c.Option2);
    c.Option1->setChecked(true);
    c.Picture1 = Place(new ColourSwatch(c.Frame1), 144, 16, 41, 17);
    c.Command1 = Place(new QPushButton("色の指定", c.Frame1), 200, 14, 81, 21);
}

void BuildApplet(QWidget* client, Form1Controls& c) {
    c.Frame2 = Place(new QGroupBox("復元先アプレット", client), 8, 56, 289, 49);
    c.Combo1 = Place(new QComboBox(c.Frame2), 8, 18, 273, 20);
    for (const std::string_view name : AppletListEntries())
        c.Combo1->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void BuildPositions(QWidget* client, Form1Controls& c) {
    c.Frame3 = Place(new QGroupBox("読み取り範囲", client), 8, 112, 177, 89);
    c.Command2 = Place(new QPushButton("範囲の指定", c.Frame3), 8, 16, 81, 21);
    c.Text1 = Place(new ReadOnlyText(NoCoordinates, c.Frame3), 8, 40, 81, 18);
    c.Text2 = Place(new ReadOnlyText(NoCoordinates, c.Frame3), 8, 64, 81, 18);
    c.Picture2 = Place(new PictureBox(c.Frame3), 104, 16, 65, 65);

    c.Frame5 = Place(new QGroupBox("描き込み位置", client), 200, 112, 97, 89);
    c.Command3 = Place(new QPushButton("位置の指定", c.Frame5), 8, 16, 81, 21);
    c.Text3 = Place(new ReadOnlyText(NoCoordinates, c.Frame5), 8, 40, 81, 18);

    c.Frame4 = Place(new QGroupBox("RGB バーの位置", client), 8, 208, 177, 65);
    c.Command4 = Place(new QPushButton("位置の指定", c.Frame4), 8, 16, 81, 21);
    c.Text4 = Place(new ReadOnlyText(QString(), c.Frame4), 8, 40, 81, 18);
    c.Picture3 = Place(new PictureBox(c.Frame4), 104, 16, 65, 41);
}

void BuildStatus(QWidget* client, Form1Controls& c) {
    c.StatusBar1 = Place(new QWidget(client), 0, 280, Form1ClientWidth, 21);
    c.StatusPanel1 = StatusPanel(c.StatusBar1, 0, 228);
    c.StatusPanel2 = StatusPanel(c.StatusBar1, 230, 75);
    // Made after the status bar so that it lies over panel 2.
    c.ProgressBar1 = Place(new QProgressBar(client), 232, 284, 72, 15);
    c.ProgressBar1->setRange(0, 100);
    c.ProgressBar1->setValue(0);
    c.ProgressBar1->setTextVisible(false);
}

}  // namespace

void BuildForm1Client(QWidget* client, Form1Controls& controls) {
    client->setFixedSize(Form1ClientWidth, Form1ClientHeight);
    BuildRestoreMode(client, controls);
    BuildApplet(client, controls);
    BuildPositions(client, controls);
    controls.Command5 = Place(new QPushButton("読み取る(&S)", client), 200, 216, 97, 21);
    controls.Command6 = Place(new QPushButton("描き込む(&D)", client), 200, 252, 97, 21);
    BuildStatus(client, controls);
}

}  // namespace inkrelay::ui
