#include "practice_setup.h"

#include <algorithm>

#include "applet_layout.h"

namespace inkrelay::practice {

namespace {

constexpr int16_t Margin = 8;
constexpr int16_t BarsGap = 24;  // between the canvas and the bars' level 0
constexpr int16_t BarsTop = 16;  // the red bar's centre row
constexpr int SwatchGap = 12;
constexpr int SwatchHeight = 24;

}  // namespace

PracticeSetup SetUp(const PracticeArguments& args) {
    const AppletProfile& profile = ProfileOf(args.Applet);
    PracticeSetup setup;
    SimAppletOptions& options = setup.Options;
    options.Applet = args.Applet;
    options.Layout = args.Layout;
    options.DropEveryNthPress = args.DropEvery;
    options.PaintLag = args.LagMilliseconds;
    options.IgnorePickUp = args.NoPickUp;
    options.Dead = args.Dead;

    const int16_t barsLeft = static_cast<int16_t>(Margin + args.CanvasWidth + BarsGap);
    options.Place.Canvas = {Margin, Margin};
    options.Place.CanvasWidth = args.CanvasWidth;
    options.Place.CanvasHeight = args.CanvasHeight;
    options.Place.Bars = {static_cast<int16_t>(barsLeft + profile.Origin), BarsTop};

    const int pitch = profile.Pitch[static_cast<size_t>(args.Layout)];
    const int barsBottom = BarsTop + 2 * pitch + BarHalfHeight + 1;
    setup.Swatch = QRect(barsLeft, barsBottom + SwatchGap, TopLevel + 1, SwatchHeight);
    setup.Surface = QSize(setup.Swatch.right() + 1 + Margin,
                          std::max(Margin + args.CanvasHeight, setup.Swatch.bottom() + 1) + Margin);
    return setup;
}

}  // namespace inkrelay::practice
