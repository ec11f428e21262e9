#pragma once
// The image window's display: a framed copy of the visible block of the working picture. Its
// mouse and focus events go to the core, which decides the range, the view and the pointer.

#include <QImage>
#include <QWidget>

#include "image/range_selection.h"
#include "image/view_geometry.h"

namespace inkrelay {
class Picture;
struct Program;
}  // namespace inkrelay

namespace inkrelay::ui {

class PictureDisplay : public QWidget {
    Q_OBJECT

  public:
    PictureDisplay(Program& program, QWidget* parent);

    // Moves the display to layout and copies the picture's surface from (ViewX, ViewY) into
    // its client area, inside a one-pixel frame.
    void ShowBlock(const ImageViewLayout& layout, const Picture& picture);
    void SetPointer(PointerShape shape);

    // The client area as last copied.
    const QImage& Surface() const { return surface_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    Program& program_;
    QImage surface_;
};

}  // namespace inkrelay::ui
