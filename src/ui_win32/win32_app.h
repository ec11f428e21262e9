#pragma once
// The Windows program's windows around one state record: Form1 from the start, the image window
// and the two dialogs made on first use, all destroyed when the program ends; and the message
// loop that every window's keys pass through.

#include <functional>
#include <memory>
#include <string>

#include "app/program.h"
#include "win32_window.h"

namespace inkrelay::win32 {

class Dialog1;
class Dialog2;
class Form1;
class Form2;
class TableDialog;
class Win32Ui;

class Win32App {
  public:
    // endProgram ends the process with the status it is given and does not return.
    Win32App(Desktop& screen, std::string programDir, std::function<void(int)> endProgram);
    ~Win32App();
    Win32App(const Win32App&) = delete;
    Win32App& operator=(const Win32App&) = delete;

    // Form1's load, then Form1 shown.
    void Start();
    // Until the program ends, which happens inside a handler.
    [[noreturn]] void Run();
    // Every message waiting, dispatched; returns at once when there is none.
    void PumpMessages();

    Program& Core() { return program_; }
    HFONT Font() const { return font_.get(); }
    HFONT BoldFont() const { return boldFont_.get(); }

    Form1& MainWindow() { return *form1_; }
    // The image window, made (hidden) on first use.
    Form2& ImageWindow();
    Form2* LoadedImageWindow() const { return form2_.get(); }
    Dialog1* LoadedVersionDialog() const { return dialog1_.get(); }
    Dialog2* LoadedOptionsDialog() const { return dialog2_.get(); }

    // Modal for the program's other windows; they return when the dialog is hidden again.
    void ShowVersionDialog();
    void ShowOptionsDialog();

    // Form2, then Dialog1, then Dialog2, each destroyed.
    void UnloadOtherWindows();

  private:
    void Dispatch(MSG& message);
    void RunModal(TableDialog& dialog);

    FontHandle font_;
    FontHandle boldFont_;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<Win32Ui> ui_;
    std::unique_ptr<ImageWindowModel> image_;
    Program program_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Dialog1> dialog1_;
    std::unique_ptr<Dialog2> dialog2_;
    TableDialog* modal_ = nullptr;  // the dialog whose keys come first
};

}  // namespace inkrelay::win32
