#pragma once
// Where a simulated applet shows itself: the simulated desktop's framebuffer in tests, an image
// in a practice window.

#include <cstdint>

namespace inkrelay {

class PixelSurface {
  public:
    virtual ~PixelSurface() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // Colours 0x00BBGGRR; only called for pixels inside Width x Height.
    virtual void SetPixel(int32_t x, int32_t y, uint32_t colour) = 0;
    virtual uint32_t PixelAt(int32_t x, int32_t y) const = 0;
};

}  // namespace inkrelay
