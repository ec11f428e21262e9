#pragma once
// The image window: it will show the picture being reproduced. For now it is the empty window
// with the behaviour of its close box.

#include <QWidget>

namespace inkrelay {
struct Program;
}

namespace inkrelay::ui {

class Form2 : public QWidget {
    Q_OBJECT

  public:
    // Starts with mainWindow's outer size; owned by nobody and never modal.
    Form2(Program& program, const QWidget& mainWindow);

  protected:
    // Hides instead of closing, unless the program is ending.
    void closeEvent(QCloseEvent* event) override;

  private:
    Program& program_;
    // The picture view (scrolling, range selection, colour picking) becomes this window's child
    // with the picture display.
};

}  // namespace inkrelay::ui
