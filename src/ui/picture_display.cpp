#include "picture_display.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/error_report.h"
#include "app/image_display.h"
#include "image/picture.h"
#include "qt_colour.h"

namespace inkrelay::ui {

namespace {

constexpr int Frame = 1;

int16_t ButtonValue(Qt::MouseButtons buttons) {
    int16_t value = 0;
    if (buttons.testFlag(Qt::LeftButton))
        value |= DisplayButton::Left;
    if (buttons.testFlag(Qt::RightButton))
        value |= DisplayButton::Right;
    if (buttons.testFlag(Qt::MiddleButton))
        value |= DisplayButton::Middle;
    return value;
}

// Client coordinates; a grabbed pointer far outside the display still fits 16 bits.
int16_t ClientCoordinate(qreal position) {
    const int value = static_cast<int>(std::floor(position)) - Frame;
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

Qt::CursorShape CursorFor(PointerShape shape) {
    switch (shape) {
        case PointerShape::SizeNWSE: return Qt::SizeFDiagCursor;
        case PointerShape::SizeNS: return Qt::SizeVerCursor;
        case PointerShape::SizeNESW: return Qt::SizeBDiagCursor;
        case PointerShape::SizeWE: return Qt::SizeHorCursor;
        case PointerShape::SizeAll: return Qt::SizeAllCursor;
        case PointerShape::Arrow: break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

PictureDisplay::PictureDisplay(Program& program, QWidget* parent)
    : QWidget(parent), program_(program) {
    // The display takes the focus whenever its window is activated.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void PictureDisplay::ShowBlock(const ImageViewLayout& layout, const Picture& picture) {
    setGeometry(layout.Left, layout.Top, layout.Width, layout.Height);
    const int innerWidth = std::max(layout.Width - 2 * Frame, 0);
    const int innerHeight = std::max(layout.Height - 2 * Frame, 0);
    if (surface_.size() != QSize(innerWidth, innerHeight))
        surface_ = QImage(innerWidth, innerHeight, QImage::Format_RGB32);
    // Beyond the picture the surface shows the window's background, like an empty picture.
    const QRgb background = palette().color(QPalette::Base).rgb();
    for (int y = 0; y < innerHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(surface_.scanLine(y));
        for (int x = 0; x < innerWidth; ++x) {
            const uint32_t c = picture.PixelAt(layout.ViewX + x, layout.ViewY + y);
            row[x] = c == Picture::InvalidColour ? background : QtRgb(c);
        }
    }
    update();
}

void PictureDisplay::SetPointer(PointerShape shape) {
    setCursor(CursorFor(shape));
}

void PictureDisplay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.drawImage(Frame, Frame, surface_);
}

void PictureDisplay::mousePressEvent(QMouseEvent* event) {
    const int16_t x = ClientCoordinate(event->position().x());
    const int16_t y = ClientCoordinate(event->position().y());
    RunHandler(program_, [&] { Picture1_MouseDown(program_, ButtonValue(event->button()), x, y); });
}

void PictureDisplay::mouseMoveEvent(QMouseEvent* event) {
    const int16_t x = ClientCoordinate(event->position().x());
    const int16_t y = ClientCoordinate(event->position().y());
    RunHandler(program_,
               [&] { Picture1_MouseMove(program_, ButtonValue(event->buttons()), x, y); });
}

void PictureDisplay::mouseReleaseEvent(QMouseEvent* event) {
    const int16_t x = ClientCoordinate(event->position().x());
    const int16_t y = ClientCoordinate(event->position().y());
    RunHandler(program_, [&] { Picture1_MouseUp(program_, ButtonValue(event->button()), x, y); });
}

void PictureDisplay::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    RunHandler(program_, [&] { Picture1_GotFocus(program_); });
}

}  // namespace inkrelay::ui
