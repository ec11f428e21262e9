#include "sim_applet.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "browser_look.h"
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
// How much of the browser applets' page shows around their canvas and bars: enough that what
// lies beyond on the surface is never taken for the edge of a box or of the canvas.
constexpr int32_t PageBand = 4;

void FillOnSurface(PixelSurface& surface, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t colour) {
    for (int32_t y = std::max(top, 0); y < std::min(bottom, surface.Height()); ++y)
        for (int32_t x = std::max(left, 0); x < std::min(right, surface.Width()); ++x)
            surface.SetPixel(x, y, colour);
}

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

SimAppletOptions RealisticBrowserApplet(int16_t applet, int32_t canvasPixels) {
    if (applet != 4 && applet != 5)
        throw std::invalid_argument("RealisticBrowserApplet: not a browser applet");
    if (canvasPixels < 0)
        throw std::invalid_argument("RealisticBrowserApplet: negative count");
    SimAppletOptions options = BrowserAppletOptions(applet);
    // Both take about 1,750 XTest events a second of plain dots, 2,000 of short lines and 1,400
    // of a bar click and a dot each. One cost serves every event: the dots' 1 s / 1,750, which
    // lies between the other two.
    options.EventCostMicros = 571;
    if (applet == 4) {
        // PaintBBS NEO keeps its session after every 10th stroke, encoding the whole canvas as
        // PNG twice. Each encoding reads the canvas back and deflates 4 bytes a pixel, about half
        // a microsecond a pixel in a browser, and the storage write around them is a fixed 10 ms
        // or so: 10 ms + 1 µs a pixel. An estimate from the work it does, not a timing of it.
        options.StallEveryNthStroke = 10;
        options.StallMicros =
            static_cast<int32_t>(std::min<int64_t>(10000 + int64_t{canvasPixels}, INT32_MAX));
    }
    return options;
}

SimApplet::SimApplet(const SimAppletOptions& options, PixelSurface& surface)
    : options_(options),
      profile_(ProfileOf(options.Applet)),
      layout_(profile_, options.Place, options.Layout, options.BrowserBars),
      surface_(surface),
      canvas_(static_cast<size_t>(options.Place.CanvasWidth) *
                  static_cast<size_t>(std::max<int16_t>(options.Place.CanvasHeight, 0)),
              White),
      queues_(options.EventCostMicros > 0 ||
              (options.StallEveryNthStroke > 0 && options.StallMicros > 0)) {
    if (options.DropEveryNthPress < 0 || options.PaintLag < 0 || options.FrameMicros < 0 ||
        options.MergeMovesMicros < 0 || options.EventCostMicros < 0 ||
        options.StallEveryNthStroke < 0 || options.StallMicros < 0)
        throw std::invalid_argument("SimApplet: negative count");
    if (layout_.Right() > surface.Width() || layout_.Bottom() > surface.Height())
        throw std::invalid_argument("SimApplet: applet larger than its surface");
    DrawApplet();
}

void SimApplet::DrawApplet() {
    const AppletPlace& place = options_.Place;
    if (options_.BrowserBars)
        DrawBrowserPage();
    for (int32_t y = place.Canvas.Y; y < place.Canvas.Y + place.CanvasHeight; ++y)
        for (int32_t x = place.Canvas.X; x < place.Canvas.X + place.CanvasWidth; ++x)
            surface_.SetPixel(x, y, White);
    if (options_.BrowserBars) {
        ShowBars();
        return;
    }
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

void SimApplet::DrawBrowserPage() {
    const AppletPlace& place = options_.Place;
    FillOnSurface(surface_, place.Canvas.X - 1 - PageBand, place.Canvas.Y - 1 - PageBand,
                  place.Canvas.X + place.CanvasWidth + 1 + PageBand,
                  place.Canvas.Y + place.CanvasHeight + 1 + PageBand, BrowserPage);
    // The boxes' surroundings within the bars' reach too: the slack at their ends and the row
    // between two boxes.
    const int32_t boxHalf = BrowserBarBoxHeight / 2;
    FillOnSurface(surface_, layout_.BarLeft() - BrowserSlackLeft - PageBand,
                  layout_.BarRow(0) - boxHalf - PageBand,
                  layout_.BarLeft() + TopLevel + 1 + BrowserSlackRight + PageBand,
                  layout_.BarRow(layout_.BarCount() - 1) + boxHalf + 1 + PageBand, BrowserPage);
    DrawCanvasBorder(surface_, place.Canvas.X, place.Canvas.Y, place.CanvasWidth,
                     place.CanvasHeight);
}

void SimApplet::ShowBars() {
    if (!options_.BrowserBars)
        return;
    for (int channel = 0; channel < layout_.BarCount(); ++channel) {
        const int value =
            channel == AlphaChannel ? BrowserAlphaValue : 5 * levels_[static_cast<size_t>(channel)];
        int& shown = shownValues_[static_cast<size_t>(channel)];
        if (shown == value)
            continue;
        shown = value;
        DrawBrowserBarBox(surface_, layout_.BarLeft(), layout_.BarRow(channel), channel, value);
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
    if (action == MouseAction::LeftUp) {
        // Button events are never merged: a held move reaches the applet before the release.
        FlushHeldMove();
        draggingCanvas_ = false;
    } else if (action == MouseAction::LeftDown) {
        heldMove_.reset();
        lastHandedOn_ = now_;
        draggingCanvas_ = layout_.InCanvas(at);
    }
    HandOn({.IsMove = false, .Action = action, .At = at});
    // With no cost an input is handled at once unless a stall holds it.
    HandleUpTo(now_);
}

void SimApplet::Move(ScreenPoint to, bool leftHeld) {
    if (options_.Dead)
        return;
    if (!leftHeld && draggingCanvas_) {
        // A release the applet never saw still ends the drag, after the move it held.
        FlushHeldMove();
        draggingCanvas_ = false;
    }
    if (draggingCanvas_ && options_.MergeMovesMicros > 0 &&
        now_ - lastHandedOn_ < options_.MergeMovesMicros) {
        heldMove_ = to;
        return;
    }
    if (draggingCanvas_)
        heldMove_.reset();
    HandOn({.IsMove = true, .At = to, .LeftHeld = leftHeld});
    HandleUpTo(now_);
}

void SimApplet::FlushHeldMove() {
    if (heldMove_)
        HandOn({.IsMove = true, .At = *std::exchange(heldMove_, std::nullopt), .LeftHeld = true});
}

void SimApplet::HandOn(Input input) {
    if (input.IsMove)
        lastHandedOn_ = now_;
    if (!queues_) {
        Handle(input);
        return;
    }
    input.Arrival = now_;
    queue_.push_back(input);
}

std::optional<int64_t> SimApplet::NextHandlingMicros() const {
    if (queue_.empty())
        return std::nullopt;
    return std::max(queue_.front().Arrival, busyUntil_) + options_.EventCostMicros;
}

void SimApplet::HandleUpTo(int64_t until) {
    while (const auto done = NextHandlingMicros()) {
        if (*done > until)
            break;
        const Input input = queue_.front();
        queue_.pop_front();
        busyUntil_ = *done;
        handlingAt_ = *done;
        Handle(input);
    }
    handlingAt_ = now_;
}

void SimApplet::Handle(const Input& input) {
    if (input.IsMove)
        HandleMove(input.At, input.LeftHeld);
    else
        HandleMouse(input.Action, input.At);
}

void SimApplet::HandleMouse(MouseAction action, ScreenPoint at) {
    if (action == MouseAction::LeftUp)
        EndGesture();
    pointer_ = at;
    if (action == MouseAction::LeftDown)
        LeftDown(at);
    else if (action == MouseAction::RightDown)
        PickUp(at);
    Changed();
}

void SimApplet::HandleMove(ScreenPoint to, bool leftHeld) {
    if (!leftHeld && gesture_ != Gesture::None)
        EndGesture();
    if (gesture_ == Gesture::Bar)
        BarDrag(to);
    else if (gesture_ == Gesture::Canvas)
        DragTo(to);
    pointer_ = to;
    Changed();
}

void SimApplet::EndGesture() {
    if (gesture_ == Gesture::Canvas) {
        ++strokes_;
        if (options_.StallEveryNthStroke > 0 && strokes_ % options_.StallEveryNthStroke == 0)
            busyUntil_ += options_.StallMicros;
    }
    gesture_ = Gesture::None;
    markWanted_ = false;
}

void SimApplet::LeftDown(ScreenPoint at) {
    gesture_ = Gesture::None;
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
        Present(handlingAt_);
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

void SimApplet::Present(int64_t at) {
    ShowBars();
    std::vector<ScreenPoint> wasMarked;
    for (const MarkedPixel& m : marked_) {
        surface_.SetPixel(m.At.X, m.At.Y, m.Under);
        wasMarked.push_back(m.At);
    }
    marked_.clear();
    bool changed = false;
    for (const ScreenPoint p : dirty_) {
        const uint32_t colour = canvas_[CanvasIndex(p)];
        changed = changed || surface_.PixelAt(p.X, p.Y) != colour;
        surface_.SetPixel(p.X, p.Y, colour);
    }
    dirty_.clear();
    if (markWanted_) {
        // The pointer's pixel and those left of and above it, inverted.
        for (const ScreenPoint p :
             {ScreenPoint{static_cast<int16_t>(pointer_.X - 1),
                          static_cast<int16_t>(pointer_.Y - 1)},
              ScreenPoint{pointer_.X, static_cast<int16_t>(pointer_.Y - 1)},
              ScreenPoint{static_cast<int16_t>(pointer_.X - 1), pointer_.Y}, pointer_}) {
            if (layout_.InCanvas(p)) {
                const uint32_t under = surface_.PixelAt(p.X, p.Y);
                surface_.SetPixel(p.X, p.Y, ~under & White);
                marked_.push_back({p, under});
            }
        }
    }
    // An inverted pixel never shows what it did unmarked, so a mark that moved, came or went
    // changed the surface; one left where it was did not.
    changed = changed || !std::ranges::equal(wasMarked, marked_, {}, {}, &MarkedPixel::At);
    if (changed)
        lastShownChange_ = at;
}

void SimApplet::Clock(int64_t nowMicros) {
    now_ = nowMicros;
    handlingAt_ = now_;
    const bool frameCame = options_.FrameMicros > 0 && now_ / options_.FrameMicros != lastFrame_;
    if (frameCame) {
        lastFrame_ = now_ / options_.FrameMicros;
        // A frame shows what was handled by its own time; what is handled after waits for the
        // next one.
        HandleUpTo(lastFrame_ * options_.FrameMicros);
    }
    // Handled at once unless queued, so shown by this frame as it always was.
    if (heldMove_ && now_ - lastHandedOn_ >= options_.MergeMovesMicros)
        FlushHeldMove();
    if (frameCame)
        Present(lastFrame_ * options_.FrameMicros);
    HandleUpTo(now_);
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
