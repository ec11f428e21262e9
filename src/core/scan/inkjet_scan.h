#pragma once
// The inkjet method: row by row like a printer head, a colour selection where the colour
// changes (Gt for one drawn before), runs of one colour as lines, Cr at every row's end.

#include <cstdint>

#include "image/picture.h"
#include "image/range_selection.h"
#include "scan/draw_list.h"
#include "scan/scan_hooks.h"
#include "scan/scan_result.h"

namespace inkrelay {

// Stops once the next free cell passes this after a pixel; the worst pixel then still fits.
inline constexpr int32_t FullColourCellLimit = 1941209;

// range: normalised, in picture coordinates; quality 0..2. Writes from cell 1; progress runs
// to the range's height.
ScanResult ScanInkjet(const Picture& picture, const RangeSlots& range, int16_t quality,
                      EventMemory& mem, const ScanHooks& hooks = {});

}  // namespace inkrelay
