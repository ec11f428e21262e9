#pragma once
// The read itself, as the read command and the command-line reader both do it: which scanner
// a setting chooses, the largest range it reads, and the scan.

#include <cstdint>

#include "image/picture.h"
#include "image/range_selection.h"
#include "scan/draw_list.h"
#include "scan/scan_hooks.h"
#include "scan/scan_result.h"

namespace inkrelay {

enum class ReadMethod { Inkjet, ColorPrime, LineArt };

// Line art when its restore mode is selected, else colour prime for Formula 1 and the inkjet
// method otherwise.
ReadMethod ReadMethodFor(bool lineArtMode, int16_t formula);

// A range with a side of 1200 pixels or more is not read.
inline constexpr int32_t LongestReadSide = 1200;
bool RangeTooLargeToRead(const RangeSlots& range);

// Runs the method's scanner; lineColour is line art's, quality the full-colour methods'.
ScanResult ReadRange(ReadMethod method, const Picture& picture, const RangeSlots& range,
                     int16_t quality, uint32_t lineColour, EventMemory& mem,
                     const ScanHooks& hooks = {});

}  // namespace inkrelay
