#pragma once
// Single-colour line art: the pixels of the line colour as a mask, traced into pen strokes
// (St, Mv vertices, Ed) after one Mk of the line colour.

#include <cstdint>

#include "image/picture.h"
#include "image/range_selection.h"
#include "scan/draw_list.h"
#include "scan/scan_hooks.h"
#include "scan/scan_result.h"

namespace inkrelay {

// The stroke pass stops when the next free cell passes this after a mask cell, and a stroke
// is cut (still getting its Ed) when it passes LineArtStepLimit after a step.
inline constexpr int32_t LineArtCellLimit = 1941210;
inline constexpr int32_t LineArtStepLimit = 1941213;

// Straight runs get a vertex after this many further steps in one direction.
inline constexpr int16_t MaxRepeatedSteps = 127;

// range: normalised, in picture coordinates; lineColour 0x00BBGGRR, matched on 52 levels per
// channel whatever the quality. Writes from cell 1; progress runs to twice the height.
ScanResult ScanLineArt(const Picture& picture, const RangeSlots& range, uint32_t lineColour,
                       EventMemory& mem, const ScanHooks& hooks = {});

}  // namespace inkrelay
