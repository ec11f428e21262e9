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
#include "app/window_layout.h"
#include "layout_builder.h"
#include "program_icon.h"
#include "window_flags.h"

namespace inkrelay::ui {

namespace {

int16_t Ticked(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

}  // namespace

Dialog2::Dialog2(Program& program, QWidget* owner)
    : QDialog(owner, FixedDialogFlags), program_(program) {
    const std::string_view title = Dialog2Layout().Title;
    setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    setWindowIcon(ProgramIcon());
    setModal(true);
    Build();
    connect(controls_.Command1, &QPushButton::clicked, this, &Dialog2::Command1_Click);
    connect(controls_.Command2, &QPushButton::clicked, this, &Dialog2::Command2_Click);
}

void Dialog2::Build() {
    const BuiltControls built(Dialog2Layout(), this);
    Dialog2Controls& c = controls_;
    c.Frame1 = built.Get<QGroupBox>("Frame1");
    c.Frame2 = built.Get<QGroupBox>("Frame2");
    c.Frame3 = built.Get<QGroupBox>("Frame3");
    c.Label1 = built.Get<QLabel>("Label1");
    c.Label2 = built.Get<QLabel>("Label2");
    c.Label3 = built.Get<QLabel>("Label3");
    c.Label4 = built.Get<QLabel>("Label4");
    c.Label5 = built.Get<QLabel>("Label5");
    c.Combo1 = built.Get<QComboBox>("Combo1");
    c.Combo2 = built.Get<QComboBox>("Combo2");
    c.Check1 = built.Get<QCheckBox>("Check1");
    c.Check2 = built.Get<QCheckBox>("Check2");
    c.Slider1 = built.Get<QSlider>("Slider1");
    c.Command1 = built.Get<QPushButton>("Command1");
    c.Command2 = built.Get<QPushButton>("Command2");

    for (const std::string_view entry : QualityListEntries)
        c.Combo1->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    for (const std::string_view entry : MethodListEntries)
        c.Combo2->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    c.Slider1->setRange(SlowestSpeed, FastestSpeed);
    c.Slider1->setSingleStep(1);
    c.Slider1->setPageStep(1);
    c.Slider1->setTickInterval(1);
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
