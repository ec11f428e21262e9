#pragma once
// The model's pixels in a QImage, remembering which part changed so only that is repainted.

#include <QImage>
#include <QRect>

#include "pixel_surface.h"

namespace inkrelay::practice {

class ImageSurface final : public PixelSurface {
  public:
    ImageSurface(QSize size, QRgb background);

    int32_t Width() const override { return image_.width(); }
    int32_t Height() const override { return image_.height(); }
    void SetPixel(int32_t x, int32_t y, uint32_t colour) override;
    uint32_t PixelAt(int32_t x, int32_t y) const override;

    const QImage& Image() const { return image_; }
    // The box around the pixels set since the last call.
    QRect TakeChanged();

  private:
    QImage image_;
    QRect changed_;
};

}  // namespace inkrelay::practice
