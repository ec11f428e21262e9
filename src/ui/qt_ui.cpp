#include "qt_ui.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QProgressBar>
#include <QRadioButton>
#include <QUrl>
#include <cstdlib>

#include "app/control_states.h"
#include "application.h"
#include "form1.h"
#include "form2.h"
#include "message_box.h"

namespace inkrelay::ui {

QtUi::QtUi(InkrelayApp& app, std::function<void(int)> endProgram)
    : app_(app), endProgram_(std::move(endProgram)) {}

void QtUi::ShowMessage(const std::string& text, MessageIcon icon) {
    ShowMessageBox(text, icon);
}

MessageAnswer QtUi::AskYesNo(const std::string& text, MessageIcon icon) {
    return AskYesNoBox(text, icon);
}

ControlInputs QtUi::ObserveControls() {
    ControlInputs inputs;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    inputs.ClipboardHasBitmap = clipboard != nullptr && clipboard->hasImage();
    const Form2* imageWindow = app_.LoadedImageWindow();
    inputs.ImageWindowVisible = imageWindow != nullptr && imageWindow->isVisible();
    const Form1Controls& c = app_.MainWindow().Controls();
    inputs.Selected = c.Option1->isChecked()   ? SelectedOption::Option1
                      : c.Option2->isChecked() ? SelectedOption::Option2
                                               : SelectedOption::None;
    return inputs;
}

void QtUi::ApplyControls(const ControlStates& states) {
    app_.MainWindow().Apply(states);
}

void QtUi::SetProgressRange(int32_t minimum, int32_t maximum) {
    app_.MainWindow().Controls().ProgressBar1->setRange(minimum, maximum);
}

void QtUi::SetProgressValue(int32_t value) {
    app_.MainWindow().Controls().ProgressBar1->setValue(value);
}

void QtUi::ShowImageWindow() {
    app_.ImageWindow().show();
    app_.MainWindow().Controls().View_ImageWindow->setChecked(true);
}

void QtUi::HideImageWindow() {
    if (Form2* imageWindow = app_.LoadedImageWindow())
        imageWindow->hide();
    app_.MainWindow().Controls().View_ImageWindow->setChecked(false);
}

void QtUi::FocusMainWindow() {
    Form1& mainWindow = app_.MainWindow();
    mainWindow.activateWindow();
    mainWindow.raise();
}

void QtUi::KeepOnTop() {
    Form1& mainWindow = app_.MainWindow();
    if (!mainWindow.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        // Changing the flags re-creates a shown window; put it back where it stood.
        const bool shown = mainWindow.isVisible();
        const QPoint place = mainWindow.pos();
        mainWindow.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown) {
            mainWindow.move(place);
            mainWindow.show();
        }
    }
    if (mainWindow.isVisible())
        mainWindow.raise();
}

void QtUi::YieldOnce() {
    QCoreApplication::processEvents();
}

void QtUi::OpenWithShell(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtUi::UnloadOtherWindows() {
    app_.UnloadOtherWindows();
}

void QtUi::EndProgram(int exitStatus) {
    endProgram_(exitStatus);
    // The hook must not hand control back to a handler that believes the program has ended.
    std::_Exit(exitStatus);
}

}  // namespace inkrelay::ui
