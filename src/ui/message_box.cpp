#include "message_box.h"

#include "program_icon.h"

namespace inkrelay::ui {

namespace {

int RunBox(const std::string& text, MessageIcon icon, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
    QMessageBox box(BoxIcon(icon), MessageBoxTitle, DisplayText(text), buttons);
    box.setDefaultButton(defaultButton);
    box.setWindowIcon(ProgramIcon());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec();
}

}  // namespace

QString DisplayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical: return QMessageBox::Critical;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

void ShowMessageBox(const std::string& text, MessageIcon icon) {
    RunBox(text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

MessageAnswer AskYesNoBox(const std::string& text, MessageIcon icon) {
    const int answer = RunBox(text, icon, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace inkrelay::ui
