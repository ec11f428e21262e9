#include "practice_setup.h"

#include <algorithm>

#include "applet_layout.h"
#include "browser_look.h"

namespace inkrelay::practice {

namespace {

constexpr int16_t Margin = 8;
constexpr int16_t BarsGap = 24;  // between the canvas and the bars' level 0
// The red bar's centre row, with room above for a browser bar's box and some of its page.
constexpr int16_t BarsTop = 16;
constexpr int32_t SwatchGap = 12;
constexpr int32_t SwatchHeight = 24;

}  // namespace

PracticeBox PracticeBox::United(const PracticeBox& other) const {
    if (other.Empty())
        return *this;
    if (Empty())
        return other;
    const int32_t left = std::min(Left, other.Left);
    const int32_t top = std::min(Top, other.Top);
    return {left, top, std::max(Right(), other.Right()) - left,
            std::max(Bottom(), other.Bottom()) - top};
}

PracticeSetup SetUp(const PracticeArguments& args) {
    const AppletProfile& profile = ProfileOf(args.Applet);
    PracticeSetup setup;
    SimAppletOptions& options = setup.Options;
    // The HTML5 applets come with their browser's ways and pace; the faults are added to them.
    if (args.Applet == 4 || args.Applet == 5)
        options =
            RealisticBrowserApplet(args.Applet, int32_t{args.CanvasWidth} * args.CanvasHeight);
    options.Applet = args.Applet;
    options.Layout = args.Layout;
    options.DropEveryNthPress = args.DropEvery;
    options.PaintLag = args.LagMilliseconds;
    options.IgnorePickUp = args.NoPickUp;
    options.Dead = args.Dead;
    if (args.EventCostMicros) {
        options.EventCostMicros = *args.EventCostMicros;
        // No cost is the model as it was before it queued, unless a stall is asked for.
        if (*args.EventCostMicros == 0 && !args.StallEvery && !args.StallMilliseconds)
            options.StallEveryNthStroke = 0;
    }
    if (args.StallEvery)
        options.StallEveryNthStroke = *args.StallEvery;
    if (args.StallMilliseconds)
        options.StallMicros = *args.StallMilliseconds * 1000;
    if (options.BrowserBars)
        setup.Background = BrowserPage;

    const int16_t barsLeft = static_cast<int16_t>(Margin + args.CanvasWidth + BarsGap);
    options.Place.Canvas = {Margin, Margin};
    options.Place.CanvasWidth = args.CanvasWidth;
    options.Place.CanvasHeight = args.CanvasHeight;
    options.Place.Bars = {static_cast<int16_t>(barsLeft + profile.Origin), BarsTop};

    const AppletLayout layout(profile, options.Place, args.Layout, options.BrowserBars);
    const int32_t barsBottom = layout.BarRow(layout.BarCount() - 1) + layout.HalfHeight() + 1;
    setup.Swatch = {barsLeft, barsBottom + SwatchGap, TopLevel + 1, SwatchHeight};
    setup.SurfaceWidth = std::max(setup.Swatch.Right(), layout.Right()) + Margin;
    setup.SurfaceHeight = std::max(layout.Bottom(), setup.Swatch.Bottom()) + Margin;
    return setup;
}

std::string WindowTitle() {
    return "インクリレー 練習用アプレット";
}

std::string Hint(const SimAppletOptions& options) {
    // A browser bar box's top border sets some level of its own when clicked.
    return options.BrowserBars
               ? "左上の白い部分がキャンバス、右の四つの枠が R・G・B・A バーです（枠の上辺は除く）"
               : "左上の白い部分がキャンバス、右の帯が R・G・B バーです";
}

std::string PlacesReport(ScreenPoint canvas, ScreenPoint bars) {
    return "canvas " + std::to_string(canvas.X) + " " + std::to_string(canvas.Y) + "\nbars " +
           std::to_string(bars.X) + " " + std::to_string(bars.Y) + "\n";
}

}  // namespace inkrelay::practice
