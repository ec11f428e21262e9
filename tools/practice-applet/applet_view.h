#pragma once
// The applet's surface on screen, one image pixel per screen pixel. Mouse input goes to the
// model in widget coordinates, which are the model's; what an input changed is on the screen
// before the next input is taken.

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "practice_session.h"
#include "practice_setup.h"

namespace inkrelay::practice {

class AppletView final : public QWidget {
    Q_OBJECT

  public:
    AppletView(const PracticeSetup& setup, QWidget* parent);

    const SimApplet& Applet() const { return session_.Applet(); }
    QSize sizeHint() const override { return image_.size(); }

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
    void OnTimer();
    void ShowChanges();

    QElapsedTimer clock_;  // before the session, which reads it as it starts
    PracticeSession session_;
    QImage image_;  // the session's surface, not a copy
    QTimer timer_;
    bool shown_ = false;
};

}  // namespace inkrelay::practice
