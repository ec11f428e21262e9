#include "dialog2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>

#include "app/error_report.h"
#include "app/program.h"
#include "program_icon.h"
#include "ui_geometry.h"
#include "window_flags.h"

namespace inkrelay::ui {

namespace {

QLabel* BuddyLabel(const QString& caption, QWidget* parent, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

int16_t Ticked(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

}  // namespace

Dialog2::Dialog2(Program& program, QWidget* owner)
    : QDialog(owner, FixedDialogFlags), program_(program) {
    setWindowTitle("オプション");
    setWindowIcon(ProgramIcon());
    setModal(true);
    setFixedSize(305, 257);
    Build();
    connect(controls_.Command1, &QPushButton::clicked, this, &Dialog2::Command1_Click);
    connect(controls_.Command2, &QPushButton::clicked, this, &Dialog2::Command2_Click);
}

// Each label is made after its buddy; labels take no focus, so the tab order stays that of the
// places.
void Dialog2::Build() {
    Dialog2Controls& c = controls_;
    c.Frame1 = Place(new QGroupBox("復元に関する設定", this), 8, 8, 289, 81);
    c.Combo1 = Place(new QComboBox(c.Frame1), 80, 20, 201, 20);
    c.Combo1->addItems(
        {"高画質 / 低速 (140608色)", "中画質 / 中速 (42875色)", "低画質 / 高速 (5832色)"});
    c.Label1 = Place(BuddyLabel("復元画質(&Q):", c.Frame1, c.Combo1), 8, 24, 73, 17);
    c.Combo2 = Place(new QComboBox(c.Frame1), 80, 48, 201, 20);
    c.Combo2->addItems({"インクジェットプリンタ方式 / 低速", "カラープライム方式 / 高速"});
    c.Label3 = Place(BuddyLabel("復元方式(&F):", c.Frame1, c.Combo2), 8, 52, 73, 17);

    c.Frame2 = Place(new QGroupBox("読み込みに関する設定", this), 8, 96, 289, 41);
    c.Check1 = Place(new QCheckBox("読み込みが完了したら画像ウィンドウを閉じる(&A)", c.Frame2), 8,
                     16, 273, 17);

    c.Frame3 = Place(new QGroupBox("描き込みに関する設定", this), 8, 144, 289, 73);
    c.Slider1 = Place(new QSlider(Qt::Horizontal, c.Frame3), 128, 14, 129, 33);
    c.Slider1->setRange(1, 5);
    c.Slider1->setSingleStep(1);
    c.Slider1->setPageStep(1);
    c.Slider1->setTickInterval(1);
    c.Slider1->setTickPosition(QSlider::TicksBelow);
    c.Label2 = Place(BuddyLabel("描き込み速度(&S):", c.Frame3, c.Slider1), 8, 24, 89, 17);
    c.Label4 = Place(new QLabel("遅い", c.Frame3), 104, 24, 25, 17);
    c.Label5 = Place(new QLabel("速い", c.Frame3), 256, 24, 25, 17);
    c.Check2 =
        Place(new QCheckBox("色が正しく描き込まれているか検証する(&C)", c.Frame3), 8, 48, 273, 17);

    c.Command1 = Place(new QPushButton("OK", this), 112, 228, 89, 21);
    c.Command1->setDefault(true);
    c.Command2 = Place(new QPushButton("キャンセル", this), 208, 228, 89, 21);
}

void Dialog2::ShowValues(const OptionsControls& values) {
    const Dialog2Controls& c = controls_;
    c.Combo1->setCurrentIndex(values.Combo1Index);
    c.Combo2->setCurrentIndex(values.Combo2Index);
    c.Check1->setChecked(values.Check1 == 1);
    c.Check2->setChecked(values.Check2 == 1);
    c.Slider1->setValue(values.Slider1);
}

OptionsControls Dialog2::ReadValues() const {
    const Dialog2Controls& c = controls_;
    return {static_cast<int16_t>(c.Combo1->currentIndex()),
            static_cast<int16_t>(c.Combo2->currentIndex()), Ticked(c.Check1), Ticked(c.Check2),
            static_cast<int16_t>(c.Slider1->value())};
}

void Dialog2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window system's own show (after a restore) is not a new showing.
    if (event->spontaneous())
        return;
    RunHandler(program_, [&] { ShowValues(logic_.Load(program_.State)); });
}

void Dialog2::Command1_Click() {
    RunHandler(program_, [&] { logic_.Ok(program_, ReadValues()); });
    accept();
}

void Dialog2::Command2_Click() {
    reject();
}

}  // namespace inkrelay::ui
