#pragma once
// The pixels of a one-pixel line, as an applet's pen lays them between two pointer positions.

#include <vector>

#include "desktop/desktop.h"

namespace inkrelay {

// Bresenham from `from` to `to`, both ends included, in drawing order.
std::vector<ScreenPoint> LinePixels(ScreenPoint from, ScreenPoint to);

}  // namespace inkrelay
