#pragma once
// On the browser applets the exact capture points are single pixels of a widget whose look is
// known, so the program finds them itself from a click near them: the red bar's level 0 on its
// middle row from a click anywhere on the bars, the canvas's first pixel from a click near its
// top-left corner. Each looks at the screen around the click in one region read, and stands by
// the click when what it sees is not the applet's widget as measured.

#include <string>

#include "desktop/desktop.h"

namespace inkrelay {

enum class SnapOutcome {
    Snapped,
    NothingNear,  // no bar box or canvas corner around the click
    WrongSize,    // a box, but not 48 x 13 inside: the browser is zoomed
    WrongPitch,   // boxes of the right size, not 16 rows apart
    Covered,      // boxes missing or not showing their fills: something lies over the bars
};

struct CaptureSnap {
    ScreenPoint At;  // the exact point, or the click where nothing fitting was found
    SnapOutcome Outcome = SnapOutcome::NothingNear;
    friend bool operator==(const CaptureSnap&, const CaptureSnap&) = default;
};

// How far outside a bar box or from the canvas corner a click may be.
inline constexpr int32_t SnapReach = 3;

CaptureSnap SnapToRedBar(ScreenReader& dc, ScreenPoint click);
CaptureSnap SnapToCanvasCorner(ScreenReader& dc, ScreenPoint click);

// The status line after a capture, one line; bar tells the bar capture from the canvas one.
std::string SnapNote(const CaptureSnap& snap, bool bar);

}  // namespace inkrelay
