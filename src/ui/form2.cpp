#include "form2.h"

#include <QCloseEvent>

#include "app/error_report.h"
#include "app/image_view.h"
#include "app/image_window.h"
#include "picture_display.h"
#include "program_icon.h"

namespace inkrelay::ui {

Form2::Form2(Program& program, const QWidget& mainWindow) : QWidget(nullptr), program_(program) {
    setWindowTitle("インクリレー - 画像ウィンドウ");
    setWindowIcon(ProgramIcon());
    // The system's window background, the colour behind documents rather than dialogs.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    // The only child, so it is first in the tab order and takes the focus on activation.
    display_ = new PictureDisplay(program_, this);
    // Both windows get the same title bar, so equal inner sizes give equal outer sizes; the inner
    // size is known before the window manager has framed this window.
    resize(mainWindow.size());
}

void Form2::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    RunHandler(program_, [&] { mayClose = Form2_QueryUnload(program_); });
    event->setAccepted(mayClose);
}

void Form2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RunHandler(program_, [&] { Form2_Resize(program_); });
}

}  // namespace inkrelay::ui
