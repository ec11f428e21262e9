#pragma once
// A drawing applet as the program assumes it behaves: a white canvas the left button paints on
// and the right button picks colours from, and red, green and blue bars of levels 0..51 the left
// button sets. Input comes as the window would get it; the pixels go to a PixelSurface.

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "applet_layout.h"
#include "desktop/desktop.h"
#include "draw/applet_profile.h"
#include "pixel_surface.h"

namespace inkrelay {

// How the applet is placed and how it misbehaves; the defaults behave.
struct SimAppletOptions {
    int16_t Applet = 0;  // index into the applet profiles
    AppletPlace Place;
    int16_t Layout = 0;             // whose pitch the bars are drawn at
    int32_t DropEveryNthPress = 0;  // the n-th, 2n-th, ... accepted bar press is lost; 0 none
    int32_t PaintLag = 0;           // this many calls after a paint do not see it yet
    bool IgnorePickUp = false;
    bool Dead = false;  // takes no input at all

    // The browser applets' ways, each on its own so tests can show what each one does.
    bool BrowserBars = false;  // 13-row bars, an alpha bar, an unsafe row above each bar
    bool PointerMark = false;  // a 2 x 2 inverted mark at the pointer while the button is held
    int32_t FrameMicros = 0;   // paint reaches the surface only at frame ticks; 0 at once
    // Moves inside one drag that come sooner than this after the last one handed on are held,
    // and a newer move replaces a held one: the corner it made is lost.
    int32_t MergeMovesMicros = 0;
};

// The options of a browser applet (4 or 5) with all of its ways switched on: PaintBBS NEO
// merges moves less than 5 ms apart, しぃペインター NEO those within one 60 Hz frame.
SimAppletOptions BrowserAppletOptions(int16_t applet);

class SimApplet {
  public:
    // Draws the white canvas and the bars on surface, which must hold them and outlive the
    // applet. Invalid property value (380) for an unknown applet; std::invalid_argument for a
    // bad layout or place (see AppletLayout), a negative count, or parts off the surface.
    SimApplet(const SimAppletOptions& options, PixelSurface& surface);

    // A button went down or up with the pointer at `at`.
    void Mouse(MouseAction action, ScreenPoint at);
    // The pointer moved to `to`, with the left button held or not.
    void Move(ScreenPoint to, bool leftHeld);
    // The program made one call to its desktop; late paints count these.
    void Tick();
    // The time now, in microseconds from any start: frames are shown and held moves handed on.
    void Clock(int64_t nowMicros);

    const std::array<int16_t, 3>& Levels() const { return levels_; }
    uint32_t Colour() const;  // 0x00BBGGRR, 5 x the levels
    ScreenPoint CanvasOrigin() const { return options_.Place.Canvas; }
    ScreenPoint BarPoint() const { return options_.Place.Bars; }  // the red bar at Origin
    int32_t BarRow(int channel) const { return layout_.BarRow(channel); }
    // The canvas as painted so far, 0x00BBGGRR row by row, without the pointer mark and
    // including paint a frame has not shown yet.
    std::vector<uint32_t> CanvasPixels() const;
    const SimAppletOptions& Options() const { return options_; }
    const AppletProfile& Profile() const { return profile_; }

  private:
    enum class Gesture { None, Canvas, Bar };
    struct LatePaint {
        ScreenPoint At;
        uint32_t Colour;
        int32_t CallsLeft;
    };

    void DrawApplet();
    void LeftDown(ScreenPoint at);
    void LeftUp();
    void HandOnMove(ScreenPoint to);
    // Lands a paint on the canvas; the surface shows it at the next Present.
    void Land(ScreenPoint at, uint32_t colour);
    // Brings the surface up to the canvas and the mark; at once, or at a frame tick.
    void Present();
    void Changed();
    size_t CanvasIndex(ScreenPoint at) const;
    // The canvas pixel as the applet knows it: its own paint not shown yet, or what the
    // surface shows without the mark.
    uint32_t CanvasAt(ScreenPoint at) const;
    void PressBar(const BarHit& hit);
    void DragTo(ScreenPoint to);
    void BarDrag(ScreenPoint to);
    void Paint(ScreenPoint at);
    void PickUp(ScreenPoint at);

    SimAppletOptions options_;
    const AppletProfile& profile_;
    AppletLayout layout_;
    PixelSurface& surface_;
    std::array<int16_t, 3> levels_{};
    Gesture gesture_ = Gesture::None;
    int barChannel_ = 0;
    ScreenPoint pointer_;
    int64_t acceptedPresses_ = 0;
    std::deque<LatePaint> late_;

    struct MarkedPixel {
        ScreenPoint At;
        uint32_t Under;  // what the surface showed before the mark
    };

    std::vector<uint32_t> canvas_;     // the latest paint of every pixel the applet painted
    std::vector<ScreenPoint> dirty_;   // painted pixels the surface does not show yet
    std::vector<MarkedPixel> marked_;  // pixels the surface shows inverted
    bool markWanted_ = false;
    int64_t now_ = 0;
    int64_t lastFrame_ = 0;
    int64_t lastHandedOn_ = 0;
    std::optional<ScreenPoint> heldMove_;
    uint32_t unsafeSeed_ = 0x2545F491u;
};

}  // namespace inkrelay
