#include "applet_layout.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace inkrelay {

namespace {

struct Box {
    int32_t Left, Top, Right, Bottom;  // right and bottom exclusive
};

bool Overlap(const Box& a, const Box& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool OnScreenPoints(const Box& box) {
    return box.Left >= 0 && box.Top >= 0 && box.Right - 1 <= INT16_MAX &&
           box.Bottom - 1 <= INT16_MAX;
}

}  // namespace

AppletLayout::AppletLayout(const AppletProfile& profile, const AppletPlace& place, int16_t layout,
                           bool browserBars)
    : place_(place),
      browserBars_(browserBars),
      halfHeight_(browserBars ? BrowserBarHalfHeight : BarHalfHeight) {
    if (layout != 0 && layout != 1)
        throw std::invalid_argument("AppletLayout: layout is 0 or 1");
    pitch_ = profile.Pitch[static_cast<size_t>(layout)];
    barLeft_ = place.Bars.X - profile.Origin;
    if (place.CanvasWidth < 1 || place.CanvasHeight < 1)
        throw std::invalid_argument("AppletLayout: empty canvas");
    const Box canvas{place.Canvas.X, place.Canvas.Y, place.Canvas.X + place.CanvasWidth,
                     place.Canvas.Y + place.CanvasHeight};
    const int32_t slackLeft = browserBars ? BrowserSlackLeft : 0;
    const int32_t slackRight = browserBars ? BrowserSlackRight : 0;
    // A browser bar's box has a border row above and below its rows; the one above is clickable.
    const int32_t border = browserBars ? 1 : 0;
    const Box bars{barLeft_ - slackLeft, BarRow(0) - halfHeight_ - border,
                   barLeft_ + TopLevel + 1 + slackRight,
                   BarRow(BarCount() - 1) + halfHeight_ + 1 + border};
    if (!OnScreenPoints(canvas) || !OnScreenPoints(bars))
        throw std::invalid_argument("AppletLayout: part off the screen points");
    // Between the bars lie no pixels of the applet, but a canvas there would still be ambiguous.
    if (Overlap(canvas, bars))
        throw std::invalid_argument("AppletLayout: canvas overlaps the bars");
}

bool AppletLayout::InCanvas(ScreenPoint p) const {
    return p.X >= place_.Canvas.X && p.Y >= place_.Canvas.Y &&
           p.X < place_.Canvas.X + place_.CanvasWidth &&
           p.Y < place_.Canvas.Y + place_.CanvasHeight;
}

std::optional<BarHit> AppletLayout::BarUnder(ScreenPoint p) const {
    const int32_t slackLeft = browserBars_ ? BrowserSlackLeft : 0;
    const int32_t slackRight = browserBars_ ? BrowserSlackRight : 0;
    if (p.X < barLeft_ - slackLeft || p.X > barLeft_ + TopLevel + slackRight)
        return std::nullopt;
    for (int channel = 0; channel < BarCount(); ++channel) {
        if (std::abs(p.Y - BarRow(channel)) <= halfHeight_)
            return BarHit{channel, LevelAt(p.X), false};
        if (browserBars_ && p.Y == BarRow(channel) - halfHeight_ - 1)
            return BarHit{channel, LevelAt(p.X), true};
    }
    return std::nullopt;
}

int16_t AppletLayout::LevelAt(int32_t x) const {
    return static_cast<int16_t>(std::clamp<int32_t>(x - barLeft_, 0, TopLevel));
}

int32_t AppletLayout::Right() const {
    return std::max<int32_t>(place_.Canvas.X + place_.CanvasWidth,
                             barLeft_ + TopLevel + 1 + (browserBars_ ? BrowserSlackRight : 0));
}

int32_t AppletLayout::Bottom() const {
    return std::max<int32_t>(place_.Canvas.Y + place_.CanvasHeight,
                             BarRow(BarCount() - 1) + halfHeight_ + 1 + (browserBars_ ? 1 : 0));
}

}  // namespace inkrelay
