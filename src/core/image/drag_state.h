#pragma once
// What a press on the image window's display records for the drag or pan that follows.

#include <cstdint>

namespace inkrelay {

// A left press stores the range in the four start slots; a right press stores ViewX and ViewY
// in DragStartLeft and DragStartTop instead.
struct DragState {
    int16_t DragAnchorX = 0;  // display coordinates of the press
    int16_t DragAnchorY = 0;
    int16_t DragStartLeft = 0;
    int16_t DragStartTop = 0;
    int16_t DragStartRight = 0;
    int16_t DragStartBottom = 0;
};

}  // namespace inkrelay
