#include "message_box.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "program_icon.h"

namespace inkrelay::ui {

namespace {

// A question with Yes and No has no Cancel, so Esc answers nothing, as on Windows. Without this
// the user who holds Esc to stop a drawing run, as asked, would answer the question "No" with
// the key's repeats, again and again.
class EscapeIgnored final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

int RunBox(const std::string& text, MessageIcon icon, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
    QMessageBox box(BoxIcon(icon), MessageBoxTitle, DisplayText(text), buttons);
    EscapeIgnored escapeIgnored;
    if (!buttons.testFlag(QMessageBox::Cancel) && !buttons.testFlag(QMessageBox::Ok)) {
        // The buttons get the keys first when they have the focus.
        box.installEventFilter(&escapeIgnored);
        for (QAbstractButton* button : box.buttons()) button->installEventFilter(&escapeIgnored);
    }
    box.setDefaultButton(defaultButton);
    box.setWindowIcon(ProgramIcon());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // Lines break at the text's own line ends only. The box wraps any line wider than half the
    // screen (at most 500 pixels), inside a word in Japanese; a label as wide as its longest
    // line makes the box that wide instead.
    if (auto* label = box.findChild<QLabel*>("qt_msgbox_label")) {
        int widest = 0;
        for (const QString& line : label->text().split('\n'))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
        label->setMinimumWidth(widest + 1);
    }
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
