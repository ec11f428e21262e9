#include "applet_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <optional>

#include "x_server.h"

namespace inkrelay::practice {

namespace {

int16_t Coordinate(int value) {
    return static_cast<int16_t>(std::clamp<int>(value, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}

ScreenPoint PointOf(const QMouseEvent& event) {
    const QPoint at = event.position().toPoint();
    return {Coordinate(at.x()), Coordinate(at.y())};
}

std::optional<MouseAction> ActionOf(Qt::MouseButton button, bool down) {
    if (button == Qt::LeftButton)
        return down ? MouseAction::LeftDown : MouseAction::LeftUp;
    if (button == Qt::RightButton)
        return down ? MouseAction::RightDown : MouseAction::RightUp;
    return std::nullopt;
}

QElapsedTimer Started() {
    QElapsedTimer clock;
    clock.start();
    return clock;
}

}  // namespace

AppletView::AppletView(const PracticeSetup& setup, QWidget* parent)
    : QWidget(parent),
      clock_(Started()),
      session_(setup, [this] { return clock_.nsecsElapsed() / 1000; }),
      image_(reinterpret_cast<const uchar*>(session_.Surface().Words()), session_.Surface().Width(),
             session_.Surface().Height(), static_cast<qsizetype>(session_.Surface().Width()) * 4,
             QImage::Format_RGB32) {
    session_.TakeChanged();
    setFixedSize(image_.size());
    setMouseTracking(true);
    // Everything is painted from the image; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &AppletView::OnTimer);
}

void AppletView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
    const QWindow* window = this->window()->windowHandle();
    if (!shown_ && window != nullptr && window->isExposed()) {
        shown_ = true;
        emit FirstShown();
    }
}

void AppletView::mousePressEvent(QMouseEvent* event) {
    if (const auto action = ActionOf(event->button(), true)) {
        session_.Mouse(*action, PointOf(*event));
        ShowChanges();
    }
}

void AppletView::mouseReleaseEvent(QMouseEvent* event) {
    if (const auto action = ActionOf(event->button(), false)) {
        session_.Mouse(*action, PointOf(*event));
        ShowChanges();
    }
}

void AppletView::mouseMoveEvent(QMouseEvent* event) {
    session_.Move(PointOf(*event), (event->buttons() & Qt::LeftButton) != 0);
    ShowChanges();
}

void AppletView::OnTimer() {
    session_.Wake();
    ShowChanges();
}

void AppletView::ShowChanges() {
    // A timer already due sooner is left alone: restarted at every input, a quick drag would
    // keep it from ever firing.
    if (const auto wake = session_.NextWake()) {
        const int millis = static_cast<int>((*wake + 999) / 1000);
        if (!timer_.isActive() || timer_.remainingTime() > millis)
            timer_.start(millis);
    } else {
        timer_.stop();
    }
    const PracticeBox changed = session_.TakeChanged();
    if (changed.Empty())
        return;
    // repaint() paints and flushes the backing store to the window now, unlike update(), which
    // waits for the next frame; the round trip then makes sure the server has drawn it.
    repaint(changed.Left, changed.Top, changed.Width, changed.Height);
    SyncWithDisplay();
}

}  // namespace inkrelay::practice
