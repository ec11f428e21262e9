#pragma once
// The image window: the picture display on the window's background, hidden until a picture is
// loaded; the core lays it out on every resize.

#include <QWidget>

namespace inkrelay {
struct Program;
}

namespace inkrelay::ui {

class PictureDisplay;

class Form2 : public QWidget {
    Q_OBJECT

  public:
    // Starts with mainWindow's outer size; owned by nobody and never modal.
    Form2(Program& program, const QWidget& mainWindow);

    PictureDisplay& Display() const { return *display_; }

  protected:
    // Hides instead of closing, unless the program is ending.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    Program& program_;
    PictureDisplay* display_ = nullptr;
};

}  // namespace inkrelay::ui
