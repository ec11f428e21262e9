#pragma once
// The two screen positions the user shows by clicking: the canvas's top-left pixel and the red
// bar's capture point. Each capture ends at the next press of either button anywhere on the
// desktop; the click also reaches the window under the pointer.

#include <cstdint>
#include <functional>

#include "desktop/desktop.h"
#include "draw/magnifier.h"

namespace inkrelay {

struct CaptureHooks {
    std::function<void()> Yield;
    std::function<void(const MagnifierImage&)> ShowMagnifier;
};

// Waits for the click and returns where the pointer stood.
ScreenPoint CaptureDrawPos(Desktop& screen, const CaptureHooks& hooks);

// The same, showing the magnifier around the pointer on every pass, the last one included.
// The screen size is the one the program took at start-up.
ScreenPoint CaptureRGBBarPos(Desktop& screen, int32_t screenWidth, int32_t screenHeight,
                             const CaptureHooks& hooks);

}  // namespace inkrelay
