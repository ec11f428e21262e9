#include "gui_fixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <QClipboard>
#include <QGuiApplication>

#include "app/control_states.h"

namespace inkrelay::test {

GuiTest::GuiTest() {
    // The clipboard belongs to the process, and tests may run in one process.
    QGuiApplication::clipboard()->clear();
}

std::optional<int> GuiTest::Launch(int32_t colourBits) {
    screen_ = std::make_unique<SimDesktop>(1280, 1024, colourBits);
    app_ = std::make_unique<ui::InkrelayApp>(*screen_, Folder.String(),
                                             [](int status) { throw ProgramEnded{status}; });
    return Ending([&] { app_->Start(); });
}

void GuiTest::UpdateControls() {
    inkrelay::UpdateControls(app_->Core());
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

QString CaptionOf(const QWidget* w) {
    if (auto* box = qobject_cast<const QGroupBox*>(w))
        return box->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    return {};
}

}  // namespace inkrelay::test
