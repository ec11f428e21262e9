#include "applet_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <limits>

#include "qt_colour.h"
#include "x_server.h"

namespace inkrelay::practice {

namespace {

int16_t Coordinate(int value) {
    return static_cast<int16_t>(std::clamp<int>(value, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}

// A browser applet's frame rate, for a model that merges moves but paints at once.
constexpr int64_t SixtyHertzMicros = 16667;

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

}  // namespace

AppletView::AppletView(const PracticeSetup& setup, QWidget* parent)
    : QWidget(parent),
      surface_(setup.Surface, Background),
      applet_(setup.Options, surface_),
      swatch_(setup.Swatch),
      swatchColour_(applet_.Colour()) {
    surface_.TakeChanged();
    setFixedSize(setup.Surface);
    setMouseTracking(true);
    // Everything is painted from the image; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (setup.Options.PaintLag > 0)
        ticker_ = std::make_unique<MillisecondTicker>([this] { applet_.Tick(); },
                                                      [this] { ShowChanges(); });
    const SimAppletOptions& options = setup.Options;
    if (options.FrameMicros > 0 || options.MergeMovesMicros > 0)
        frameClock_ = std::make_unique<FrameClock>(
            options.FrameMicros > 0 ? options.FrameMicros : SixtyHertzMicros,
            [this](int64_t now) { applet_.Clock(now); }, [this] { ShowChanges(); });
}

void AppletView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_.Image(), event->rect());
    painter.fillRect(swatch_, QColor(ui::QtRgb(applet_.Colour())));
    painter.setPen(Qt::black);
    painter.drawRect(swatch_.adjusted(0, 0, -1, -1));
    const QWindow* window = this->window()->windowHandle();
    if (!shown_ && window != nullptr && window->isExposed()) {
        shown_ = true;
        emit FirstShown();
    }
}

void AppletView::mousePressEvent(QMouseEvent* event) {
    if (const auto action = ActionOf(event->button(), true))
        Input(*action, *event);
}

void AppletView::mouseReleaseEvent(QMouseEvent* event) {
    if (const auto action = ActionOf(event->button(), false))
        Input(*action, *event);
}

void AppletView::mouseMoveEvent(QMouseEvent* event) {
    BeforeInput();
    applet_.Move(PointOf(*event), (event->buttons() & Qt::LeftButton) != 0);
    AfterInput();
}

void AppletView::Input(MouseAction action, const QMouseEvent& event) {
    BeforeInput();
    applet_.Mouse(action, PointOf(event));
    AfterInput();
}

void AppletView::BeforeInput() {
    if (ticker_)
        ticker_->CatchUp();
    // Late paints land first, then the model sees the time the input came at.
    if (frameClock_)
        applet_.Clock(frameClock_->Now());
}

void AppletView::AfterInput() {
    const SimAppletOptions& options = applet_.Options();
    if (ticker_)
        ticker_->KeepRunningFor(options.PaintLag + 2);
    // Long enough for a late paint and a held move to land and a frame after them to show it.
    if (frameClock_)
        frameClock_->KeepRunningFor(int64_t{options.PaintLag} * 1000 + options.MergeMovesMicros +
                                    2 * frameClock_->FrameMicros());
    ShowChanges();
}

void AppletView::ShowChanges() {
    QRect changed = surface_.TakeChanged();
    if (applet_.Colour() != swatchColour_) {
        swatchColour_ = applet_.Colour();
        changed |= swatch_;
    }
    if (changed.isEmpty())
        return;
    // repaint() paints and flushes the backing store to the window now, unlike update(), which
    // waits for the next frame; the round trip then makes sure the server has drawn it.
    repaint(changed);
    SyncWithDisplay();
}

}  // namespace inkrelay::practice
