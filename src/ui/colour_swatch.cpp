#include "colour_swatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace inkrelay::ui {

QColor ColourFromBgr(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void ColourSwatch::SetColour(const SwatchColour& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

QColor ColourSwatch::ShownColour() const {
    return colour_.ButtonFace ? palette().color(QPalette::Button) : ColourFromBgr(colour_.Colour);
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), ShownColour());
    }
    QFrame::paintEvent(event);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release both on the swatch.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
    QFrame::mouseReleaseEvent(event);
}

}  // namespace inkrelay::ui
