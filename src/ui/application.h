#pragma once
// The program's windows around one state record: Form1 from the start, the image window and the
// two dialogs loaded on first use, all unloaded when the program ends.

#include <functional>
#include <memory>
#include <string>

class QTranslator;

#include "app/program.h"

namespace inkrelay::ui {

class Dialog1;
class Dialog2;
class Form1;
class Form2;
class QtUi;

class InkrelayApp {
  public:
    // endProgram ends the process with the status it is given; see main.cpp for why it cannot
    // return through the event loop. A QApplication must exist.
    InkrelayApp(Desktop& screen, std::string programDir, std::function<void(int)> endProgram);
    ~InkrelayApp();
    InkrelayApp(const InkrelayApp&) = delete;
    InkrelayApp& operator=(const InkrelayApp&) = delete;

    // Form1's load, then Form1 shown.
    void Start();

    Program& Core() { return program_; }
    AppState& State() { return program_.State; }
    ImageWindowModel& Image() { return program_.Image; }

    Form1& MainWindow() { return *form1_; }
    // The image window, loaded (hidden) on first use.
    Form2& ImageWindow();
    Form2* LoadedImageWindow() const { return form2_.get(); }
    Dialog1& VersionDialog();
    Dialog1* LoadedVersionDialog() const { return dialog1_.get(); }
    Dialog2& OptionsDialog();
    Dialog2* LoadedOptionsDialog() const { return dialog2_.get(); }

    // Modal; they return when the dialog is hidden again.
    void ShowVersionDialog();
    void ShowOptionsDialog();

    // Form2, then Dialog1, then Dialog2, each closed and destroyed.
    void UnloadOtherWindows();

  private:
    std::unique_ptr<QTranslator> translator_;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<QtUi> ui_;
    std::unique_ptr<ImageWindowModel> image_;
    Program program_;
    std::unique_ptr<Form1> form1_;
    // Destroyed before Form1, which the dialogs belong to.
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Dialog1> dialog1_;
    std::unique_ptr<Dialog2> dialog2_;
};

}  // namespace inkrelay::ui
