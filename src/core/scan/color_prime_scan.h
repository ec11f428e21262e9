#pragma once
// The colour prime method: every non-white pixel as a key ordered by colour then position,
// sorted, then written colour by colour: one Mk, then that colour's dots and runs as CD/CL.

#include <cstdint>
#include <span>

#include "image/picture.h"
#include "image/range_selection.h"
#include "scan/draw_list.h"
#include "scan/scan_hooks.h"
#include "scan/scan_result.h"

namespace inkrelay {

// The decimal digits 1 RR GG BB YYYY XXXX.
int64_t PixelKey(int16_t r, int16_t g, int16_t b, int16_t x, int16_t y);

// The comb sort's next gap after `gap`.
int32_t NextCombGap(int32_t gap);

// Comb sort, ascending, in place.
void SortKeys(std::span<int64_t> keys);

// range: normalised, in picture coordinates; quality 0..2. Writes from cell 1; progress runs
// to twice the height while collecting, then to twice the key count plus one while emitting.
ScanResult ScanColorPrime(const Picture& picture, const RangeSlots& range, int16_t quality,
                          EventMemory& mem, const ScanHooks& hooks = {});

}  // namespace inkrelay
