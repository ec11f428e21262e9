#pragma once
// The model's pixels in memory laid out as both windows blit them: rows top to bottom, one
// 32-bit word 0xFFRRGGBB a pixel, which is Qt's Format_RGB32 and a 32-bit BI_RGB DIB alike.
// It remembers which part changed so only that is shown again.

#include <cstdint>
#include <vector>

#include "pixel_surface.h"
#include "practice_setup.h"

namespace inkrelay::practice {

class PixelBuffer final : public PixelSurface {
  public:
    // background is 0x00BBGGRR.
    PixelBuffer(int32_t width, int32_t height, uint32_t background);

    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void SetPixel(int32_t x, int32_t y, uint32_t colour) override;
    uint32_t PixelAt(int32_t x, int32_t y) const override;

    // Width() x Height() words, row by row.
    const uint32_t* Words() const { return words_.data(); }
    void Fill(const PracticeBox& box, uint32_t colour);
    // The box around the pixels set since the last call.
    PracticeBox TakeChanged();

  private:
    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> words_;
    PracticeBox changed_;
};

}  // namespace inkrelay::practice
