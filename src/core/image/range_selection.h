#pragma once
// Scan-range selection on the image window as pure functions of the range slots and the drag
// state; drawing the outline and the flags stay with the caller. All arithmetic is 16-bit and
// raises overflow (6) as the handlers report it.

#include <cstdint>

#include "image/drag_state.h"

namespace inkrelay {

struct RangeSlots {
    int16_t Left = 0;
    int16_t Top = 0;
    int16_t Right = 0;  // inclusive
    int16_t Bottom = 0;
};

enum class PointerShape { Arrow, SizeNWSE, SizeNS, SizeNESW, SizeWE, SizeAll };

// The grip under picture point (px, py), numbered like the numeric keypad (7 top-left, 5 body,
// 3 bottom-right), 0 outside every grip. Where grips overlap, the right column beats the left
// and the top row beats the bottom.
int16_t HitTestRange(int16_t px, int16_t py, const RangeSlots& range);

// The pointer shown over a grip; the arrow for 0 and for anything that is no grip.
PointerShape PointerForGrip(int16_t grip);

// The range during a left drag at display point (x, y) with the grip found before the press:
// 0 draws a new range from the press point, 5 moves the range inside the picture keeping its
// size, the others move their edges. Edges may cross; any other grip changes nothing.
RangeSlots DragRange(int16_t grip, const DragState& drag, int16_t x, int16_t y, int16_t viewX,
                     int16_t viewY, int32_t pictureWidth, int32_t pictureHeight,
                     const RangeSlots& range);

// Swaps crossed edges so that Left <= Right and Top <= Bottom.
RangeSlots NormaliseRange(const RangeSlots& range);

// A size × size square from the top-left corner, cut to the picture; size 0 gives (0, 0)-(-1,
// -1), which the next display focus turns into no range.
RangeSlots SelectFromOrigin(int16_t size, int32_t pictureWidth, int32_t pictureHeight);

}  // namespace inkrelay
