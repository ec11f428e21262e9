#include "dialog1.h"

#include <QLabel>
#include <QPushButton>

#include "program_icon.h"
#include "ui_geometry.h"
#include "window_flags.h"

namespace inkrelay::ui {

Dialog1::Dialog1(QWidget* owner) : QDialog(owner, FixedDialogFlags) {
    setWindowTitle("インクリレーのバージョン情報");
    setWindowIcon(ProgramIcon());
    setModal(true);
    setFixedSize(289, 121);

    Dialog1Controls& c = controls_;
    c.Picture1 = Place(new QLabel(this), 8, 8, 32, 32);
    c.Picture1->setPixmap(ProgramIconPixmap(32));
    c.Label1 = Place(new QLabel("インクリレー", this), 48, 12, 89, 17);
    QFont nameFont("ＭＳ Ｐゴシック", 9, QFont::Bold);
    c.Label1->setFont(nameFont);
    c.Label2 = Place(new QLabel("Version 2.10", this), 48, 28, 73, 17);
    c.Label3 = Place(new QLabel("Copyright (C) 2026 Inkrelay developers.", this), 8, 48, 273, 17);
    c.Label4 = Place(new QLabel("無断転載禁止。", this), 8, 64, 97, 17);
    c.Command1 = Place(new QPushButton("OK", this), 100, 92, 89, 21);
    c.Command1->setDefault(true);
    connect(c.Command1, &QPushButton::clicked, this, &Dialog1::Command1_Click);
}

void Dialog1::Command1_Click() {
    accept();
}

}  // namespace inkrelay::ui
