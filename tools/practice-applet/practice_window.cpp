#include "practice_window.h"

#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>
#include <cstdio>

#include "applet_view.h"
#include "x_server.h"

namespace inkrelay::practice {

PracticeWindow::PracticeWindow(const PracticeSetup& setup) : view_(new AppletView(setup, this)) {
    setWindowTitle(QStringLiteral("インクリレー 練習用アプレット"));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(Background));
    setPalette(background);
    // A browser bar's row just above it sets some level of its own when clicked.
    auto* hint = new QLabel(
        setup.Options.BrowserBars
            ? QStringLiteral(
                  "左上の白い部分がキャンバス、右の帯が R・G・B・A バーです（帯の真上の行は除く）")
            : QStringLiteral("左上の白い部分がキャンバス、右の帯が R・G・B バーです"),
        this);
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
    const auto local = [](ScreenPoint p) { return QPoint(p.X, p.Y); };
    const QPoint canvas = ScreenPositionOf(*view_, local(Applet().CanvasOrigin()));
    const QPoint bars = ScreenPositionOf(*view_, local(Applet().BarPoint()));
    std::printf("canvas %d %d\nbars %d %d\n", canvas.x(), canvas.y(), bars.x(), bars.y());
    std::fflush(stdout);
}

}  // namespace inkrelay::practice
