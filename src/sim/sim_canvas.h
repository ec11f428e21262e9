#pragma once
// A white canvas of the range's size that replays a draw list the way the applet would end up
// painted, for checking scanners without the drawing engine.

#include <cstdint>
#include <vector>

#include "scan/draw_list.h"

namespace inkrelay {

class SimCanvas {
  public:
    static constexpr uint32_t White = 0x00FFFFFF;

    SimCanvas(int32_t width, int32_t height);

    // Replays cells 1 .. end. A paint or pick-up off the canvas raises subscript out of range
    // (9); a stroke vertex outside a stroke, or a malformed list, invalid argument (5).
    void Replay(const EventMemory& mem, int32_t end);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // 0x00BBGGRR.
    uint32_t PixelAt(int32_t x, int32_t y) const;
    bool Painted(int32_t x, int32_t y) const;

  private:
    size_t IndexOf(int32_t x, int32_t y) const;
    void Paint(int32_t x, int32_t y);
    void PaintRow(int32_t x1, int32_t x2, int32_t y);
    void PaintSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
    std::vector<bool> painted_;
    uint32_t colour_ = 0;
};

}  // namespace inkrelay
