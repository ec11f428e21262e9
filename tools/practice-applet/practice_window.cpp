#include "practice_window.h"

#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>
#include <cstdio>

#include "applet_view.h"
#include "qt_colour.h"
#include "x_server.h"

namespace inkrelay::practice {

PracticeWindow::PracticeWindow(const PracticeSetup& setup) : view_(new AppletView(setup, this)) {
    setWindowTitle(QString::fromStdString(WindowTitle()));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(ui::QtRgb(setup.Background)));
    setPalette(background);
    auto* hint = new QLabel(QString::fromStdString(Hint(setup.Options)), this);
    hint->setContentsMargins(8, 0, 8, 8);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(view_, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(hint);
    connect(view_, &AppletView::FirstShown, this, &PracticeWindow::ReportPlaces,
            Qt::QueuedConnection);
}

const SimApplet& PracticeWindow::Applet() const {
    return view_->Applet();
}

void PracticeWindow::ReportPlaces() {
    SyncWithDisplay();
    const auto onScreen = [this](ScreenPoint p) {
        const QPoint at = ScreenPositionOf(*view_, QPoint(p.X, p.Y));
        return ScreenPoint{static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y())};
    };
    const std::string places =
        PlacesReport(onScreen(Applet().CanvasOrigin()), onScreen(Applet().BarPoint()));
    std::fputs(places.c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace inkrelay::practice
