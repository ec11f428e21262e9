#include "image_surface.h"

#include "qt_colour.h"

namespace inkrelay::practice {

ImageSurface::ImageSurface(QSize size, QRgb background) : image_(size, QImage::Format_RGB32) {
    image_.fill(background);
}

void ImageSurface::SetPixel(int32_t x, int32_t y, uint32_t colour) {
    image_.setPixel(x, y, ui::QtRgb(colour));
    changed_ |= QRect(x, y, 1, 1);
}

uint32_t ImageSurface::PixelAt(int32_t x, int32_t y) const {
    const QRgb pixel = image_.pixel(x, y);
    return static_cast<uint32_t>(qRed(pixel)) | static_cast<uint32_t>(qGreen(pixel)) << 8 |
           static_cast<uint32_t>(qBlue(pixel)) << 16;
}

QRect ImageSurface::TakeChanged() {
    const QRect changed = changed_;
    changed_ = QRect();
    return changed;
}

}  // namespace inkrelay::practice
