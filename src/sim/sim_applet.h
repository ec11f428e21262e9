#pragma once
// A drawing applet as the program assumes it behaves: a white canvas the left button paints on
// and the right button picks colours from, and red, green and blue bars of levels 0..51 the left
// button sets. Input comes as the window would get it; the pixels go to a PixelSurface.

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "applet_layout.h"
#include "draw/applet_profile.h"
#include "draw/desktop.h"
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
};

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

    const std::array<int16_t, 3>& Levels() const { return levels_; }
    uint32_t Colour() const;  // 0x00BBGGRR, 5 x the levels
    ScreenPoint CanvasOrigin() const { return options_.Place.Canvas; }
    ScreenPoint BarPoint() const { return options_.Place.Bars; }  // the red bar at Origin
    int32_t BarRow(int channel) const { return layout_.BarRow(channel); }
    // The canvas as it shows now, 0x00BBGGRR row by row.
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
    void PressBar(const BarHit& hit);
    void DragTo(ScreenPoint to);
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
};

}  // namespace inkrelay
