#include "win32_app.h"

#include "app/lifecycle.h"
#include "dialogs.h"
#include "form1.h"
#include "form2.h"
#include "win32_ui.h"

namespace inkrelay::win32 {

Win32App::Win32App(Desktop& screen, std::string programDir, std::function<void(int)> endProgram)
    : font_(MakeControlFont()),
      boldFont_(MakeControlFont(true)),
      state_(std::make_unique<AppState>()),
      ui_(std::make_unique<Win32Ui>(*this, std::move(endProgram))),
      image_(std::make_unique<ImageWindowModel>()),
      program_{*state_, *image_, *ui_, screen, std::move(programDir)},
      form1_(std::make_unique<Form1>(*this)) {}

Win32App::~Win32App() = default;

void Win32App::Start() {
    StartUp(program_);
    ::ShowWindow(form1_->Handle(), SW_SHOW);
    ::UpdateWindow(form1_->Handle());
}

void Win32App::Run() {
    for (;;) {
        MSG message{};
        // The program ends inside a handler; a quit message from elsewhere changes nothing.
        if (::GetMessageW(&message, nullptr, 0, 0) > 0)
            Dispatch(message);
    }
}

void Win32App::PumpMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE)
        if (message.message != WM_QUIT)
            Dispatch(message);
}

void Win32App::Dispatch(MSG& message) {
    if (modal_ != nullptr) {
        if (modal_->TakeMnemonic(message))
            return;
        if (::IsDialogMessageW(modal_->Handle(), &message) != FALSE)
            return;
    } else {
        const HWND main = form1_->Handle();
        const bool forMain = message.hwnd == main || ::IsChild(main, message.hwnd) != FALSE;
        if (forMain && ::TranslateAcceleratorW(main, form1_->Accelerators(), &message) != 0)
            return;
        if (forMain && ::IsDialogMessageW(main, &message) != FALSE)
            return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

Form2& Win32App::ImageWindow() {
    if (!form2_)
        form2_ = std::make_unique<Form2>(program_, form1_->Handle());
    return *form2_;
}

void Win32App::RunModal(TableDialog& dialog) {
    // Like a system dialog box: the program's other windows take no input until it is hidden.
    const HWND main = form1_->Handle();
    const HWND image = form2_ ? form2_->Handle() : nullptr;
    ::EnableWindow(main, FALSE);
    if (image != nullptr)
        ::EnableWindow(image, FALSE);
    TableDialog* const outer = modal_;
    modal_ = &dialog;
    dialog.Present();
    while (dialog.Visible()) {
        MSG message{};
        if (::GetMessageW(&message, nullptr, 0, 0) > 0)
            Dispatch(message);
    }
    modal_ = outer;
    if (image != nullptr && ::IsWindow(image) != FALSE)
        ::EnableWindow(image, TRUE);
    ::EnableWindow(main, TRUE);
    ::SetActiveWindow(main);
}

void Win32App::ShowVersionDialog() {
    if (!dialog1_)
        dialog1_ = std::make_unique<Dialog1>(form1_->Handle(), Font(), BoldFont());
    RunModal(*dialog1_);
}

void Win32App::ShowOptionsDialog() {
    if (!dialog2_)
        dialog2_ = std::make_unique<Dialog2>(program_, form1_->Handle(), Font());
    RunModal(*dialog2_);
}

void Win32App::UnloadOtherWindows() {
    // The image window's close is let through now, since Closing is set.
    form2_.reset();
    dialog1_.reset();
    dialog2_.reset();
}

}  // namespace inkrelay::win32
