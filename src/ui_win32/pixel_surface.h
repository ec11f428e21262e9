#pragma once
// Pixels kept by a window and painted from its WM_PAINT: the image window's display, the
// preview and the magnifier. A static control gets them through a subclass of its own.

#include <cstdint>
#include <vector>

#include "win32_window.h"

namespace inkrelay::win32 {

class PixelSurface {
  public:
    // width × height of background (a 0x00BBGGRR colour).
    void Reset(int width, int height, uint32_t background);
    void Set(int x, int y, uint32_t colour);  // 0x00BBGGRR; a point off the surface is ignored
    int Width() const { return width_; }
    int Height() const { return height_; }
    uint32_t At(int x, int y) const;  // 0x00BBGGRR

    // Copies the surface to (0, 0) of dc in one call.
    void Paint(HDC dc) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> bgrx_;  // top row first, as a 32-bit top-down DIB holds it
};

// Paints surface into control (a static) instead of the control's own painting, until the
// control goes; surface must outlive it. Throws std::runtime_error when the subclass fails.
void PaintControlFrom(HWND control, const PixelSurface& surface);

// The system colour as 0x00BBGGRR.
uint32_t SystemColour(int index);

}  // namespace inkrelay::win32
