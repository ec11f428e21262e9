#pragma once
// A sunken box that shows a picture from its top left corner, clipped to the box.

#include <QFrame>
#include <QImage>

namespace inkrelay::ui {

class PictureBox : public QFrame {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent);

    // A null image leaves the box empty.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace inkrelay::ui
