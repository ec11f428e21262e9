#pragma once
// The image window's data that the state record does not hold: the working picture, what the
// last press recorded, and the display's last layout.

#include "image/drag_state.h"
#include "image/picture.h"
#include "image/view_geometry.h"

namespace inkrelay {

struct ImageWindowModel {
    Picture WorkingPicture;
    DragState Drag;
    // Panning works with the display's inner size as the last refresh laid it out.
    ImageViewLayout Display{0, 0, 3, 3, 0, 0};
};

}  // namespace inkrelay
