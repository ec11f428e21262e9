#include "image/view_geometry.h"

#include "checked_int.h"

namespace inkrelay {

namespace {

// Int((a - b) / 2) of the window's arithmetic: the halving rounds towards minus infinity.
int16_t HalfDifference(int16_t a, int16_t b) {
    const int16_t difference = SubInteger(a, b);
    return static_cast<int16_t>(difference >= 0 ? difference / 2 : -((1 - difference) / 2));
}

// The largest origin that keeps a block of span pixels at most two pixels past the far edge.
int16_t FarthestOrigin(int16_t pictureSide, int16_t span) {
    return AddInteger(SubInteger(pictureSide, span), 2);
}

}  // namespace

int16_t IntMax(int16_t a, int16_t b) {
    return a > b ? a : b;
}

int16_t IntMin(int16_t a, int16_t b) {
    return a < b ? a : b;
}

int16_t Clamp(int16_t v, int16_t lo, int16_t hi) {
    return IntMax(IntMin(v, hi), lo);
}

ImageViewLayout LayOutImageView(int32_t clientWidth, int32_t clientHeight, int32_t pictureWidth,
                                int32_t pictureHeight, int16_t viewX, int16_t viewY) {
    const int16_t fw = ToInteger(clientWidth);
    const int16_t fh = ToInteger(clientHeight);
    const int16_t pw = ToInteger(pictureWidth);
    const int16_t ph = ToInteger(pictureHeight);
    ImageViewLayout layout{};
    layout.Width = IntMax(IntMin(AddInteger(pw, 2), fw), 3);
    layout.Height = IntMax(IntMin(AddInteger(ph, 2), fh), 3);
    layout.Left = HalfDifference(fw, layout.Width);
    layout.Top = HalfDifference(fh, layout.Height);
    layout.ViewX = Clamp(viewX, 0, FarthestOrigin(pw, layout.Width));
    layout.ViewY = Clamp(viewY, 0, FarthestOrigin(ph, layout.Height));
    return layout;
}

ViewOrigin PanView(const DragState& drag, int16_t x, int16_t y, int32_t pictureWidth,
                   int32_t pictureHeight, int32_t innerWidth, int32_t innerHeight) {
    const int16_t dx = SubInteger(x, drag.DragAnchorX);
    const int16_t dy = SubInteger(y, drag.DragAnchorY);
    ViewOrigin origin{};
    origin.ViewX = Clamp(SubInteger(drag.DragStartLeft, dx), 0,
                         FarthestOrigin(ToInteger(pictureWidth), ToInteger(innerWidth)));
    origin.ViewY = Clamp(SubInteger(drag.DragStartTop, dy), 0,
                         FarthestOrigin(ToInteger(pictureHeight), ToInteger(innerHeight)));
    return origin;
}

}  // namespace inkrelay
