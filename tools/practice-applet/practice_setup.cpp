#include "practice_setup.h"

#include <algorithm>

#include "applet_layout.h"

namespace inkrelay::practice {

namespace {

constexpr int16_t Margin = 8;
constexpr int16_t BarsGap = 24;  // between the canvas and the bars' level 0
// The red bar's centre row, with room above for a browser bar's top half and the row over it.
constexpr int16_t BarsTop = 16;
constexpr int SwatchGap = 12;
constexpr int SwatchHeight = 24;

}  // namespace

PracticeSetup SetUp(const PracticeArguments& args) {
    const AppletProfile& profile = ProfileOf(args.Applet);
    PracticeSetup setup;
    SimAppletOptions& options = setup.Options;
    // The HTML5 applets come with their browser's ways; the faults are added to them.
    if (args.Applet == 4 || args.Applet == 5)
        options = BrowserAppletOptions(args.Applet);
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

    const AppletLayout layout(profile, options.Place, args.Layout, options.BrowserBars);
    const int barsBottom = layout.BarRow(layout.BarCount() - 1) + layout.HalfHeight() + 1;
    setup.Swatch = QRect(barsLeft, barsBottom + SwatchGap, TopLevel + 1, SwatchHeight);
    setup.Surface = QSize(std::max<int>(setup.Swatch.right() + 1, layout.Right()) + Margin,
                          std::max<int>(layout.Bottom(), setup.Swatch.bottom() + 1) + Margin);
    return setup;
}

}  // namespace inkrelay::practice
