#include "sim_applet.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "line_pixels.h"

namespace inkrelay {

namespace {

struct LevelRange {
    int16_t Low, High;
};

// The levels a press on a bar takes; the rest are reached only by dragging.
LevelRange PressableLevels(BarClick click) {
    switch (click) {
        case BarClick::PressDragAbove49: return {0, 49};
        case BarClick::ClampedPressDrag: return {2, 49};
        case BarClick::Plain: break;
    }
    return {0, TopLevel};
}

int32_t ChebyshevDistance(ScreenPoint a, ScreenPoint b) {
    return std::max(std::abs(a.X - b.X), std::abs(a.Y - b.Y));
}

}  // namespace

SimApplet::SimApplet(const SimAppletOptions& options, PixelSurface& surface)
    : options_(options),
      profile_(ProfileOf(options.Applet)),
      layout_(profile_, options.Place, options.Layout),
      surface_(surface) {
    if (options.DropEveryNthPress < 0 || options.PaintLag < 0)
        throw std::invalid_argument("SimApplet: negative count");
    if (layout_.Right() > surface.Width() || layout_.Bottom() > surface.Height())
        throw std::invalid_argument("SimApplet: applet larger than its surface");
    DrawApplet();
}

void SimApplet::DrawApplet() {
    const AppletPlace& place = options_.Place;
    for (int32_t y = place.Canvas.Y; y < place.Canvas.Y + place.CanvasHeight; ++y)
        for (int32_t x = place.Canvas.X; x < place.Canvas.X + place.CanvasWidth; ++x)
            surface_.SetPixel(x, y, 0x00FFFFFFu);
    for (int channel = 0; channel < 3; ++channel) {
        for (int32_t dy = -BarHalfHeight; dy <= BarHalfHeight; ++dy) {
            for (int32_t level = 0; level <= TopLevel; ++level) {
                surface_.SetPixel(layout_.BarLeft() + level, layout_.BarRow(channel) + dy,
                                  static_cast<uint32_t>(5 * level) << (8 * channel));
            }
        }
    }
}

uint32_t SimApplet::Colour() const {
    uint32_t colour = 0;
    for (int channel = 0; channel < 3; ++channel)
        colour |= static_cast<uint32_t>(5 * levels_[static_cast<size_t>(channel)]) << (8 * channel);
    return colour;
}

void SimApplet::Mouse(MouseAction action, ScreenPoint at) {
    if (options_.Dead)
        return;
    pointer_ = at;
    switch (action) {
        case MouseAction::LeftDown: LeftDown(at); break;
        case MouseAction::LeftUp: gesture_ = Gesture::None; break;
        case MouseAction::RightDown: PickUp(at); break;
        case MouseAction::RightUp: break;
    }
}

void SimApplet::LeftDown(ScreenPoint at) {
    gesture_ = Gesture::None;
    if (layout_.InCanvas(at)) {
        gesture_ = Gesture::Canvas;
        Paint(at);
    } else if (const auto hit = layout_.BarUnder(at)) {
        PressBar(*hit);
    }
}

void SimApplet::PressBar(const BarHit& hit) {
    const LevelRange pressable = PressableLevels(profile_.Click);
    if (hit.Level < pressable.Low || hit.Level > pressable.High)
        return;
    ++acceptedPresses_;
    if (options_.DropEveryNthPress > 0 && acceptedPresses_ % options_.DropEveryNthPress == 0)
        return;
    levels_[static_cast<size_t>(hit.Channel)] = hit.Level;
    barChannel_ = hit.Channel;
    gesture_ = Gesture::Bar;
}

void SimApplet::Move(ScreenPoint to, bool leftHeld) {
    if (options_.Dead)
        return;
    if (!leftHeld)
        gesture_ = Gesture::None;  // a release the applet never saw still ends the drag
    if (gesture_ == Gesture::Bar)
        levels_[static_cast<size_t>(barChannel_)] = layout_.LevelAt(to.X);
    else if (gesture_ == Gesture::Canvas)
        DragTo(to);
    pointer_ = to;
}

void SimApplet::DragTo(ScreenPoint to) {
    if (profile_.Waypoints && ChebyshevDistance(pointer_, to) > WaypointStep)
        return;
    std::vector<ScreenPoint> pixels = LinePixels(pointer_, to);
    // Applets whose lines the program lengthens stop their segments short of the pointer.
    if (profile_.LineEndExtension > 0)
        pixels.pop_back();
    for (const ScreenPoint p : pixels) Paint(p);
}

void SimApplet::Paint(ScreenPoint at) {
    if (!layout_.InCanvas(at))
        return;
    if (options_.PaintLag == 0)
        surface_.SetPixel(at.X, at.Y, Colour());
    else
        late_.push_back({at, Colour(), options_.PaintLag});
}

void SimApplet::PickUp(ScreenPoint at) {
    if (options_.IgnorePickUp || !layout_.InCanvas(at))
        return;
    const uint32_t colour = surface_.PixelAt(at.X, at.Y);
    for (int channel = 0; channel < 3; ++channel)
        levels_[static_cast<size_t>(channel)] =
            static_cast<int16_t>(((colour >> (8 * channel)) & 0xFFu) / 5);
}

void SimApplet::Tick() {
    // Paints that waited out their calls land before the call itself acts.
    while (!late_.empty() && late_.front().CallsLeft == 0) {
        surface_.SetPixel(late_.front().At.X, late_.front().At.Y, late_.front().Colour);
        late_.pop_front();
    }
    for (LatePaint& paint : late_) --paint.CallsLeft;
}

std::vector<uint32_t> SimApplet::CanvasPixels() const {
    const AppletPlace& place = options_.Place;
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(place.CanvasWidth) *
                   static_cast<size_t>(place.CanvasHeight));
    for (int32_t y = place.Canvas.Y; y < place.Canvas.Y + place.CanvasHeight; ++y)
        for (int32_t x = place.Canvas.X; x < place.Canvas.X + place.CanvasWidth; ++x)
            pixels.push_back(surface_.PixelAt(x, y));
    return pixels;
}

}  // namespace inkrelay
