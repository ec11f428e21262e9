#include "qt_ui.h"

#include <utility>

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
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
#include "picture_box.h"
#include "picture_display.h"
#include "picture_reader.h"
#include "qt_colour.h"
#include "runtime_error.h"
#include "scan/scan_preview.h"

namespace inkrelay::ui {

namespace {

// Runs the event loop until done() holds or half a second has passed.
template <typename Condition>
void WaitUntil(Condition done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

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
    Form2& imageWindow = app_.ImageWindow();
    const bool wasVisible = imageWindow.isVisible();
    imageWindow.show();
    imageWindow.activateWindow();
    imageWindow.raise();
    app_.MainWindow().Controls().View_ImageWindow->setChecked(true);
    // A window manager activates a newly mapped window when it gets round to it, which can be
    // after the caller has given the focus back to the main window; wait until it has.
    if (!wasVisible)
        WaitUntil([&imageWindow] { return imageWindow.isActiveWindow(); });
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

namespace {

// "Label (*.a *.b)", the form Qt's dialog parses.
QString QtFilter(const FileFilter& filter) {
    QString patterns =
        QString::fromUtf8(filter.Patterns.data(), static_cast<qsizetype>(filter.Patterns.size()));
    patterns.replace(';', ' ');
    return QString::fromUtf8(filter.Label.data(), static_cast<qsizetype>(filter.Label.size())) +
           " (" + patterns + ")";
}

}  // namespace

std::optional<std::string> QtUi::ChooseOpenFile(std::span<const FileFilter> filters) {
    QStringList names;
    for (const FileFilter& filter : filters) names << QtFilter(filter);
    QFileDialog dialog(&app_.MainWindow());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Each entry reads as its label alone; Qt takes the patterns from the hidden part.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(names);
    if (!names.isEmpty())
        dialog.selectNameFilter(names.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toLocal8Bit().toStdString();
}

Picture QtUi::LoadPicture(const std::string& path) {
    return ReadPictureFile(path);
}

Picture QtUi::ClipboardPicture() {
    QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull())
        throw RuntimeError(ErrorCode::InvalidClipboardFormat);
    return PictureFromImage(std::move(image));
}

ClientSize QtUi::ImageWindowClientSize() {
    const QSize size = app_.ImageWindow().size();
    return {size.width(), size.height()};
}

void QtUi::PaintImageView(const ImageViewLayout& layout, const Picture& picture) {
    app_.ImageWindow().Display().ShowBlock(layout, picture);
}

void QtUi::SetImageViewVisible(bool visible) {
    app_.ImageWindow().Display().setVisible(visible);
}

void QtUi::SetImageViewPointer(PointerShape shape) {
    app_.ImageWindow().Display().SetPointer(shape);
}

ClientSize QtUi::ScanPreviewSize() {
    const QRect inner = app_.MainWindow().Controls().Picture2->contentsRect();
    return {inner.width(), inner.height()};
}

void QtUi::ClearScanPreview() {
    app_.MainWindow().Controls().Picture2->SetPicture(QImage());
}

void QtUi::ShowScanPreview(const ScanPreview& preview) {
    PictureBox* box = app_.MainWindow().Controls().Picture2;
    const QRect inner = box->contentsRect();
    // Outside the placed picture the box keeps its own background.
    QImage canvas(inner.size(), QImage::Format_RGB32);
    canvas.fill(box->palette().color(box->backgroundRole()));
    const PreviewPlacement& at = preview.Placement;
    for (int y = 0; y < preview.Image.Height(); ++y) {
        for (int x = 0; x < preview.Image.Width(); ++x) {
            const int cx = at.Left + x;
            const int cy = at.Top + y;
            if (cx < 0 || cy < 0 || cx >= canvas.width() || cy >= canvas.height())
                continue;
            canvas.setPixel(cx, cy, QtRgb(preview.Image.PixelAt(x, y)));
        }
    }
    box->SetPicture(canvas);
}

void QtUi::ShowMagnifier(const MagnifierImage& image) {
    app_.MainWindow().Controls().Picture3->SetPicture(QtImage(
        MagnifierWidth, MagnifierHeight, [&image](int x, int y) { return image.At(x, y); }));
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
