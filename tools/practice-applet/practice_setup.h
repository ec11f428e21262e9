#pragma once
// Where the practice window puts the applet's parts, the model's options from the command line,
// and the window's words: the same for the X11 and the Win32 window.

#include <cstdint>
#include <string>

#include "practice_arguments.h"
#include "sim_applet.h"

namespace inkrelay::practice {

// Around the canvas and the bars, and under the hint, for the applets other than the browser
// ones, which have their page's colour (BrowserPage); 0x00BBGGRR like the model's colours.
inline constexpr uint32_t DesktopBackground = 0x00C8D0D4;

// A rectangle of the surface; empty when either side is 0.
struct PracticeBox {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    int32_t Right() const { return Left + Width; }  // one past the last column
    int32_t Bottom() const { return Top + Height; }
    // The smallest box holding both.
    PracticeBox United(const PracticeBox& other) const;
    bool operator==(const PracticeBox&) const = default;
};

struct PracticeSetup {
    SimAppletOptions Options;
    PracticeBox Swatch;  // the current colour, under the bars where the model never paints
    uint32_t Background = DesktopBackground;  // of the surface and the window around it
    int32_t SurfaceWidth = 0;
    int32_t SurfaceHeight = 0;
};

// The canvas at the top left, the bars to its right with room for the levels left of the
// captured point, the swatch under the bars. The browser applets (4 and 5) get their taller bars
// in boxes on their page's colour, the alpha bar, the pointer mark, frames, merged moves, and
// input taken from a queue at the real applet's pace (RealisticBrowserApplet) unless the
// arguments give another. The model's PaintLag counts Tick()s, which the window gives once a
// millisecond, so the lag is in milliseconds as it stands.
PracticeSetup SetUp(const PracticeArguments& args);

// The window's title and the line under the surface, in UTF-8.
std::string WindowTitle();
std::string Hint(const SimAppletOptions& options);

// What the window prints once its surface is on the screen, screen coordinates; the tests and
// the road read it.
std::string PlacesReport(ScreenPoint canvas, ScreenPoint bars);

}  // namespace inkrelay::practice
