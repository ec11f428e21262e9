#include "image/range_selection.h"

#include <utility>

#include "checked_int.h"
#include "image/view_geometry.h"

namespace inkrelay {

namespace {

// a - 8 < p < a + 8: the 15-pixel band around an edge line.
bool NearEdge(int16_t p, int16_t edge) {
    return SubInteger(edge, 8) < p && p < AddInteger(edge, 8);
}

// Between two edges, eight pixels clear of each.
bool InsideBand(int16_t p, int16_t low, int16_t high) {
    return AddInteger(low, 7) < p && p < SubInteger(high, 7);
}

// One column's rows in their test order, bottom, middle, top: the last row that holds wins.
int16_t RowGrip(int16_t py, const RangeSlots& range, int16_t bottom, int16_t middle, int16_t top,
                int16_t grip) {
    if (NearEdge(py, range.Bottom))
        grip = bottom;
    if (InsideBand(py, range.Top, range.Bottom))
        grip = middle;
    if (NearEdge(py, range.Top))
        grip = top;
    return grip;
}

}  // namespace

int16_t HitTestRange(int16_t px, int16_t py, const RangeSlots& range) {
    int16_t grip = 0;
    if (NearEdge(px, range.Left))
        grip = RowGrip(py, range, 1, 4, 7, grip);
    if (InsideBand(px, range.Left, range.Right))
        grip = RowGrip(py, range, 2, 5, 8, grip);
    if (NearEdge(px, range.Right))
        grip = RowGrip(py, range, 3, 6, 9, grip);
    return grip;
}

PointerShape PointerForGrip(int16_t grip) {
    switch (grip) {
        case 7:
        case 3: return PointerShape::SizeNWSE;
        case 8:
        case 2: return PointerShape::SizeNS;
        case 9:
        case 1: return PointerShape::SizeNESW;
        case 4:
        case 6: return PointerShape::SizeWE;
        case 5: return PointerShape::SizeAll;
        default: return PointerShape::Arrow;
    }
}

RangeSlots DragRange(int16_t grip, const DragState& drag, int16_t x, int16_t y, int16_t viewX,
                     int16_t viewY, int32_t pictureWidth, int32_t pictureHeight,
                     const RangeSlots& range) {
    const int16_t lastX = SubInteger(ToInteger(pictureWidth), 1);
    const int16_t lastY = SubInteger(ToInteger(pictureHeight), 1);
    RangeSlots result = range;
    if (grip == 0) {
        // The press point stays unclamped; only the corner under the pointer is kept inside.
        result.Left = AddInteger(drag.DragAnchorX, viewX);
        result.Top = AddInteger(drag.DragAnchorY, viewY);
        result.Right = Clamp(AddInteger(viewX, x), 0, lastX);
        result.Bottom = Clamp(AddInteger(viewY, y), 0, lastY);
        return result;
    }
    const int16_t dx = SubInteger(x, drag.DragAnchorX);
    const int16_t dy = SubInteger(y, drag.DragAnchorY);
    if (grip == 5) {
        const int16_t mx =
            Clamp(dx, NegInteger(drag.DragStartLeft), SubInteger(lastX, drag.DragStartRight));
        const int16_t my =
            Clamp(dy, NegInteger(drag.DragStartTop), SubInteger(lastY, drag.DragStartBottom));
        result.Left = AddInteger(drag.DragStartLeft, mx);
        result.Top = AddInteger(drag.DragStartTop, my);
        result.Right = AddInteger(drag.DragStartRight, mx);
        result.Bottom = AddInteger(drag.DragStartBottom, my);
        return result;
    }
    if (grip == 1 || grip == 4 || grip == 7)
        result.Left = Clamp(AddInteger(drag.DragStartLeft, dx), 0, lastX);
    if (grip == 7 || grip == 8 || grip == 9)
        result.Top = Clamp(AddInteger(drag.DragStartTop, dy), 0, lastY);
    if (grip == 3 || grip == 6 || grip == 9)
        result.Right = Clamp(AddInteger(drag.DragStartRight, dx), 0, lastX);
    if (grip == 1 || grip == 2 || grip == 3)
        result.Bottom = Clamp(AddInteger(drag.DragStartBottom, dy), 0, lastY);
    return result;
}

RangeSlots NormaliseRange(const RangeSlots& range) {
    RangeSlots result = range;
    if (result.Right < result.Left)
        std::swap(result.Left, result.Right);
    if (result.Bottom < result.Top)
        std::swap(result.Top, result.Bottom);
    return result;
}

RangeSlots SelectFromOrigin(int16_t size, int32_t pictureWidth, int32_t pictureHeight) {
    const int16_t side = SubInteger(size, 1);
    RangeSlots result;
    result.Right = IntMin(side, SubInteger(ToInteger(pictureWidth), 1));
    result.Bottom = IntMin(side, SubInteger(ToInteger(pictureHeight), 1));
    return result;
}

}  // namespace inkrelay
