#pragma once
// Picture1: shows the line colour of the single-colour mode, or the button face when unused.

#include <QColor>
#include <QFrame>

#include "app/control_states.h"

namespace inkrelay::ui {

// A 0x00BBGGRR colour as Qt's colour.
QColor ColourFromBgr(int32_t value);

class ColourSwatch : public QFrame {
    Q_OBJECT

  public:
    explicit ColourSwatch(QWidget* parent);

    void SetColour(const SwatchColour& colour);
    QColor ShownColour() const;

  signals:
    void Clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    SwatchColour colour_;
};

}  // namespace inkrelay::ui
