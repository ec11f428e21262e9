#include "sim_applet.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

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

constexpr uint32_t White = 0x00FFFFFFu;

}  // namespace

SimAppletOptions BrowserAppletOptions(int16_t applet) {
    SimAppletOptions options;
    options.Applet = applet;
    options.BrowserBars = true;
    options.PointerMark = true;
    options.FrameMicros = 16667;
    options.MergeMovesMicros = applet == 4 ? 5000 : 16667;
    return options;
}

SimApplet::SimApplet(const SimAppletOptions& options, PixelSurface& surface)
    : options_(options),
      profile_(ProfileOf(options.Applet)),
      layout_(profile_, options.Place, options.Layout, options.BrowserBars),
      surface_(surface),
      canvas_(static_cast<size_t>(options.Place.CanvasWidth) *
                  static_cast<size_t>(std::max<int16_t>(options.Place.CanvasHeight, 0)),
              White) {
    if (options.DropEveryNthPress < 0 || options.PaintLag < 0 || options.FrameMicros < 0 ||
        options.MergeMovesMicros < 0)
        throw std::invalid_argument("SimApplet: negative count");
    if (layout_.Right() > surface.Width() || layout_.Bottom() > surface.Height())
        throw std::invalid_argument("SimApplet: applet larger than its surface");
    DrawApplet();
}

void SimApplet::DrawApplet() {
    const AppletPlace& place = options_.Place;
    for (int32_t y = place.Canvas.Y; y < place.Canvas.Y + place.CanvasHeight; ++y)
        for (int32_t x = place.Canvas.X; x < place.Canvas.X + place.CanvasWidth; ++x)
            surface_.SetPixel(x, y, White);
    for (int channel = 0; channel < layout_.BarCount(); ++channel) {
        for (int32_t dy = -layout_.HalfHeight(); dy <= layout_.HalfHeight(); ++dy) {
            for (int32_t level = 0; level <= TopLevel; ++level) {
                // The alpha bar is a grey ramp.
                const auto value = static_cast<uint32_t>(5 * level);
                const uint32_t colour =
                    channel == AlphaChannel ? value * 0x010101u : value << (8 * channel);
                surface_.SetPixel(layout_.BarLeft() + level, layout_.BarRow(channel) + dy, colour);
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
    // A held move is handed on from where the drag last was, before the release.
    if (action == MouseAction::LeftUp)
        LeftUp();
    pointer_ = at;
    if (action == MouseAction::LeftDown)
        LeftDown(at);
    else if (action == MouseAction::RightDown)
        PickUp(at);
    Changed();
}

void SimApplet::LeftUp() {
    // Button events are never merged: a held move reaches the applet before the release.
    if (heldMove_)
        HandOnMove(*std::exchange(heldMove_, std::nullopt));
    gesture_ = Gesture::None;
    markWanted_ = false;
}

void SimApplet::LeftDown(ScreenPoint at) {
    gesture_ = Gesture::None;
    heldMove_.reset();
    lastHandedOn_ = now_;
    if (layout_.InCanvas(at)) {
        gesture_ = Gesture::Canvas;
        markWanted_ = options_.PointerMark;
        Paint(at);
    } else if (const auto hit = layout_.BarUnder(at)) {
        PressBar(*hit);
    }
}

void SimApplet::PressBar(const BarHit& hit) {
    if (hit.Channel == AlphaChannel)
        return;  // the alpha bar is left at 255
    const LevelRange pressable = PressableLevels(profile_.Click);
    if (hit.Level < pressable.Low || hit.Level > pressable.High)
        return;
    ++acceptedPresses_;
    if (options_.DropEveryNthPress > 0 && acceptedPresses_ % options_.DropEveryNthPress == 0)
        return;
    int16_t level = hit.Level;
    if (hit.Unsafe) {
        unsafeSeed_ = unsafeSeed_ * 1664525u + 1013904223u;
        level = static_cast<int16_t>((unsafeSeed_ >> 16) % (TopLevel + 1));
    }
    levels_[static_cast<size_t>(hit.Channel)] = level;
    barChannel_ = hit.Channel;
    gesture_ = Gesture::Bar;
}

void SimApplet::Move(ScreenPoint to, bool leftHeld) {
    if (options_.Dead)
        return;
    if (!leftHeld && gesture_ != Gesture::None)
        LeftUp();  // a release the applet never saw still ends the drag
    if (gesture_ == Gesture::Bar) {
        BarDrag(to);
    } else if (gesture_ == Gesture::Canvas && options_.MergeMovesMicros > 0 &&
               now_ - lastHandedOn_ < options_.MergeMovesMicros) {
        heldMove_ = to;
        return;
    } else if (gesture_ == Gesture::Canvas) {
        heldMove_.reset();
        HandOnMove(to);
        return;
    }
    pointer_ = to;
    Changed();
}

void SimApplet::BarDrag(ScreenPoint to) {
    int16_t& level = levels_[static_cast<size_t>(barChannel_)];
    const auto hit = layout_.BarUnder(to);
    if (!options_.BrowserBars || (hit && hit->Channel == barChannel_ && !hit->Unsafe)) {
        level = layout_.LevelAt(to.X);
    } else {
        // Off its bar a browser bar follows the pointer's movement, not its place.
        level = static_cast<int16_t>(std::clamp<int32_t>(level + to.X - pointer_.X, 0, TopLevel));
    }
}

void SimApplet::HandOnMove(ScreenPoint to) {
    lastHandedOn_ = now_;
    DragTo(to);
    pointer_ = to;
    Changed();
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
        Land(at, Colour());
    else
        late_.push_back({at, Colour(), options_.PaintLag});
}

size_t SimApplet::CanvasIndex(ScreenPoint at) const {
    const AppletPlace& place = options_.Place;
    return static_cast<size_t>(at.Y - place.Canvas.Y) * static_cast<size_t>(place.CanvasWidth) +
           static_cast<size_t>(at.X - place.Canvas.X);
}

void SimApplet::Land(ScreenPoint at, uint32_t colour) {
    canvas_[CanvasIndex(at)] = colour;
    dirty_.push_back(at);
}

void SimApplet::Changed() {
    if (options_.FrameMicros == 0)
        Present();
}

uint32_t SimApplet::CanvasAt(ScreenPoint at) const {
    for (const ScreenPoint p : dirty_)
        if (p == at)
            return canvas_[CanvasIndex(at)];
    for (const MarkedPixel& m : marked_)
        if (m.At == at)
            return m.Under;
    return surface_.PixelAt(at.X, at.Y);
}

void SimApplet::Present() {
    for (const MarkedPixel& m : marked_) surface_.SetPixel(m.At.X, m.At.Y, m.Under);
    marked_.clear();
    for (const ScreenPoint p : dirty_) surface_.SetPixel(p.X, p.Y, canvas_[CanvasIndex(p)]);
    dirty_.clear();
    if (!markWanted_)
        return;
    // The pointer's pixel and those left of and above it, inverted.
    for (const ScreenPoint p :
         {ScreenPoint{static_cast<int16_t>(pointer_.X - 1), static_cast<int16_t>(pointer_.Y - 1)},
          ScreenPoint{pointer_.X, static_cast<int16_t>(pointer_.Y - 1)},
          ScreenPoint{static_cast<int16_t>(pointer_.X - 1), pointer_.Y}, pointer_}) {
        if (layout_.InCanvas(p)) {
            const uint32_t under = surface_.PixelAt(p.X, p.Y);
            surface_.SetPixel(p.X, p.Y, ~under & White);
            marked_.push_back({p, under});
        }
    }
}

void SimApplet::Clock(int64_t nowMicros) {
    now_ = nowMicros;
    if (heldMove_ && now_ - lastHandedOn_ >= options_.MergeMovesMicros)
        HandOnMove(*std::exchange(heldMove_, std::nullopt));
    if (options_.FrameMicros > 0 && now_ / options_.FrameMicros != lastFrame_) {
        lastFrame_ = now_ / options_.FrameMicros;
        Present();
    }
}

void SimApplet::PickUp(ScreenPoint at) {
    if (options_.IgnorePickUp || !layout_.InCanvas(at))
        return;
    const uint32_t colour = CanvasAt(at);
    for (int channel = 0; channel < 3; ++channel)
        levels_[static_cast<size_t>(channel)] =
            static_cast<int16_t>(((colour >> (8 * channel)) & 0xFFu) / 5);
}

void SimApplet::Tick() {
    // Paints that waited out their calls land before the call itself acts.
    bool landed = false;
    while (!late_.empty() && late_.front().CallsLeft == 0) {
        Land(late_.front().At, late_.front().Colour);
        late_.pop_front();
        landed = true;
    }
    for (LatePaint& paint : late_) --paint.CallsLeft;
    if (landed)
        Changed();
}

std::vector<uint32_t> SimApplet::CanvasPixels() const {
    const AppletPlace& place = options_.Place;
    std::vector<uint32_t> pixels;
    pixels.reserve(canvas_.size());
    for (int32_t y = place.Canvas.Y; y < place.Canvas.Y + place.CanvasHeight; ++y)
        for (int32_t x = place.Canvas.X; x < place.Canvas.X + place.CanvasWidth; ++x)
            pixels.push_back(surface_.PixelAt(x, y));
    for (const MarkedPixel& m : marked_) pixels[CanvasIndex(m.At)] = m.Under;
    for (const ScreenPoint p : dirty_) pixels[CanvasIndex(p)] = canvas_[CanvasIndex(p)];
    return pixels;
}

}  // namespace inkrelay
