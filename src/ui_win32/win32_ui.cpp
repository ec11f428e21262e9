#include "win32_ui.h"

#include "win32_window.h"  // windows.h, before the shell's header

#include <shellapi.h>

#include <cstdlib>
#include <utility>

#include "app/control_states.h"
#include "form1.h"
#include "form2.h"
#include "scan/scan_preview.h"
#include "system_dialogs.h"
#include "wic_pictures.h"
#include "win32_app.h"

namespace inkrelay::win32 {

Win32Ui::Win32Ui(Win32App& app, std::function<void(int)> endProgram)
    : app_(app), endProgram_(std::move(endProgram)) {}

void Win32Ui::ShowMessage(const std::string& text, MessageIcon icon) {
    ShowMessageBox(text, icon);
}

MessageAnswer Win32Ui::AskYesNo(const std::string& text, MessageIcon icon) {
    return AskYesNoBox(text, icon);
}

ControlInputs Win32Ui::ObserveControls() {
    ControlInputs inputs;
    inputs.ClipboardHasBitmap = ClipboardHasPictureWin32();
    const Form2* imageWindow = app_.LoadedImageWindow();
    inputs.ImageWindowVisible = imageWindow != nullptr && imageWindow->Visible();
    inputs.Selected = app_.MainWindow().Selected();
    return inputs;
}

void Win32Ui::ApplyControls(const ControlStates& states) {
    app_.MainWindow().Apply(states);
}

void Win32Ui::SetProgressRange(int32_t minimum, int32_t maximum) {
    app_.MainWindow().SetProgressRange(minimum, maximum);
}

void Win32Ui::SetProgressValue(int32_t value) {
    app_.MainWindow().SetProgressValue(value);
}

void Win32Ui::ShowImageWindow() {
    Form2& imageWindow = app_.ImageWindow();
    ::ShowWindow(imageWindow.Handle(), SW_SHOW);
    ::SetForegroundWindow(imageWindow.Handle());
    app_.MainWindow().SetImageWindowChecked(true);
}

void Win32Ui::HideImageWindow() {
    if (Form2* imageWindow = app_.LoadedImageWindow())
        ::ShowWindow(imageWindow->Handle(), SW_HIDE);
    app_.MainWindow().SetImageWindowChecked(false);
}

void Win32Ui::FocusMainWindow() {
    ::SetForegroundWindow(app_.MainWindow().Handle());
    ::SetActiveWindow(app_.MainWindow().Handle());
}

std::optional<std::string> Win32Ui::ChooseOpenFile(std::span<const FileFilter> filters) {
    return ChooseOpenFileW32(app_.MainWindow().Handle(), filters);
}

Picture Win32Ui::LoadPicture(const std::string& path) {
    return ReadPictureFileWic(path);
}

Picture Win32Ui::ClipboardPicture() {
    return ClipboardPictureWin32();
}

ClientSize Win32Ui::ImageWindowClientSize() {
    const SIZE size = app_.ImageWindow().ClientSize();
    return {size.cx, size.cy};
}

void Win32Ui::PaintImageView(const ImageViewLayout& layout, const Picture& picture) {
    app_.ImageWindow().Display().ShowBlock(layout, picture);
}

void Win32Ui::SetImageViewVisible(bool visible) {
    ::ShowWindow(app_.ImageWindow().Display().Handle(), visible ? SW_SHOW : SW_HIDE);
}

void Win32Ui::SetImageViewPointer(PointerShape shape) {
    app_.ImageWindow().Display().SetPointer(shape);
}

ClientSize Win32Ui::ScanPreviewSize() {
    const PixelSurface& preview = app_.MainWindow().Preview();
    return {preview.Width(), preview.Height()};
}

void Win32Ui::ClearScanPreview() {
    PixelSurface& preview = app_.MainWindow().Preview();
    preview.Reset(preview.Width(), preview.Height(), SystemColour(COLOR_BTNFACE));
    app_.MainWindow().RepaintPictureBox("Picture2");
}

void Win32Ui::ShowScanPreview(const ScanPreview& preview) {
    PixelSurface& box = app_.MainWindow().Preview();
    // Outside the placed picture the box keeps its own background.
    box.Reset(box.Width(), box.Height(), SystemColour(COLOR_BTNFACE));
    const PreviewPlacement& at = preview.Placement;
    for (int y = 0; y < preview.Image.Height(); ++y)
        for (int x = 0; x < preview.Image.Width(); ++x)
            box.Set(at.Left + x, at.Top + y, preview.Image.PixelAt(x, y));
    app_.MainWindow().RepaintPictureBox("Picture2");
}

void Win32Ui::ShowMagnifier(const MagnifierImage& image) {
    PixelSurface& box = app_.MainWindow().Magnifier();
    for (int y = 0; y < box.Height() && y < MagnifierHeight; ++y)
        for (int x = 0; x < box.Width() && x < MagnifierWidth; ++x) box.Set(x, y, image.At(x, y));
    app_.MainWindow().RepaintPictureBox("Picture3");
}

void Win32Ui::KeepOnTop() {
    ::SetWindowPos(app_.MainWindow().Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Ui::YieldOnce() {
    app_.PumpMessages();
}

void Win32Ui::OpenWithShell(const std::string& path) {
    // What the shell answers is not reported: a missing reader is the desktop's business.
    ::ShellExecuteW(app_.MainWindow().Handle(), L"open", Wide(path).c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

void Win32Ui::UnloadOtherWindows() {
    app_.UnloadOtherWindows();
}

void Win32Ui::EndProgram(int exitStatus) {
    endProgram_(exitStatus);
    // The hook must not hand control back to a handler that believes the program has ended.
    std::_Exit(exitStatus);
}

}  // namespace inkrelay::win32
