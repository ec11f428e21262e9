#pragma once
// The practice window: the applet's surface at the client area's top left, so the model's
// coordinates are the window's, and a one-line hint under it. Once the surface is on the screen
// it prints where the canvas and the red bar's captured point are.

#include <QWidget>

#include "practice_setup.h"

namespace inkrelay::practice {

class AppletView;

class PracticeWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit PracticeWindow(const PracticeSetup& setup);

    const SimApplet& Applet() const;

  private:
    void ReportPlaces();

    AppletView* view_;
};

}  // namespace inkrelay::practice
