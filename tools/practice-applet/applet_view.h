#pragma once
// The applet's surface on screen, one image pixel per screen pixel, and the current colour's
// swatch. Mouse input goes to the model in widget coordinates, which are the model's; what an
// input changed is on the screen before the next input is taken. A browser applet's model shows
// paint only at its frames, so it is given the time before each input and at every frame.

#include <QWidget>
#include <memory>
#include <optional>

#include "frame_clock.h"
#include "image_surface.h"
#include "millisecond_ticker.h"
#include "practice_setup.h"
#include "sim_applet.h"

namespace inkrelay::practice {

class AppletView final : public QWidget {
    Q_OBJECT

  public:
    AppletView(const PracticeSetup& setup, QWidget* parent);

    const SimApplet& Applet() const { return applet_; }
    QSize sizeHint() const override { return surface_.Image().size(); }

  signals:
    // The first paint the server can show: the window was exposed. Emitted from the paint, so
    // connect it queued to act once the paint has been flushed.
    void FirstShown();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void Input(MouseAction action, const QMouseEvent& event);
    void BeforeInput();
    void AfterInput();
    void ShowChanges();

    ImageSurface surface_;
    SimApplet applet_;
    QRect swatch_;
    uint32_t swatchColour_;
    std::unique_ptr<MillisecondTicker> ticker_;  // only when paint is late
    std::unique_ptr<FrameClock> frameClock_;     // only when the model keeps time
    bool shown_ = false;
};

}  // namespace inkrelay::practice
