#include "dialog1.h"

#include <QLabel>
#include <QPushButton>

#include "app/window_layout.h"
#include "layout_builder.h"
#include "program_icon.h"
#include "window_flags.h"

namespace inkrelay::ui {

Dialog1::Dialog1(QWidget* owner) : QDialog(owner, FixedDialogFlags) {
    const WindowLayout& layout = Dialog1Layout();
    setWindowTitle(
        QString::fromUtf8(layout.Title.data(), static_cast<qsizetype>(layout.Title.size())));
    setWindowIcon(ProgramIcon());
    setModal(true);

    const BuiltControls built(layout, this);
    Dialog1Controls& c = controls_;
    c.Picture1 = built.Get<QLabel>("Picture1");
    c.Label1 = built.Get<QLabel>("Label1");
    c.Label2 = built.Get<QLabel>("Label2");
    c.Label3 = built.Get<QLabel>("Label3");
    c.Label4 = built.Get<QLabel>("Label4");
    c.Command1 = built.Get<QPushButton>("Command1");
    connect(c.Command1, &QPushButton::clicked, this, &Dialog1::Command1_Click);
}

void Dialog1::Command1_Click() {
    accept();
}

}  // namespace inkrelay::ui
