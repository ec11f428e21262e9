#pragma once
// The image window's layout and panning as pure 16-bit arithmetic: every sum that leaves the
// 16-bit range raises overflow (6), as the window's handlers report it.

#include <cstdint>

#include "image/drag_state.h"

namespace inkrelay {

int16_t IntMax(int16_t a, int16_t b);
int16_t IntMin(int16_t a, int16_t b);
// IntMax(IntMin(v, hi), lo): lo wins when hi < lo.
int16_t Clamp(int16_t v, int16_t lo, int16_t hi);

struct ImageViewLayout {
    int16_t Left;  // the display's outer rectangle in the client area
    int16_t Top;
    int16_t Width;
    int16_t Height;
    int16_t ViewX;  // the view origin after the clamp
    int16_t ViewY;
};

// The display is two pixels larger than a picture that fits, the client size otherwise, never
// below 3 × 3, centred with rounding towards minus infinity. Sizes beyond 16 bits, or a
// picture side of 32766 or more, raise overflow (6).
ImageViewLayout LayOutImageView(int32_t clientWidth, int32_t clientHeight, int32_t pictureWidth,
                                int32_t pictureHeight, int16_t viewX, int16_t viewY);

struct ViewOrigin {
    int16_t ViewX;
    int16_t ViewY;
};

// The view origin for a right drag at display point (x, y), from the press that drag records;
// innerWidth and innerHeight are the display's client size.
ViewOrigin PanView(const DragState& drag, int16_t x, int16_t y, int32_t pictureWidth,
                   int32_t pictureHeight, int32_t innerWidth, int32_t innerHeight);

}  // namespace inkrelay
