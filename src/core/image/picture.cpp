#include "image/picture.h"

#include <algorithm>
#include <utility>

#include "runtime_error.h"

namespace inkrelay {

Picture::Picture(int32_t width, int32_t height, std::vector<uint32_t> pixels) {
    if (width < 0 || height < 0 || int64_t{width} * height > MaxPicturePixels ||
        pixels.size() != static_cast<size_t>(int64_t{width} * height))
        throw RuntimeError(ErrorCode::InvalidArgument);
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
    width_ = width;
    height_ = height;
    image_ = std::move(pixels);
    inverted_.assign(image_.size(), false);
}

uint32_t Picture::ImagePixelAt(int32_t x, int32_t y) const {
    if (!Contains(x, y))
        return InvalidColour;
    return image_[static_cast<size_t>(y) * width_ + x];
}

uint32_t Picture::PixelAt(int32_t x, int32_t y) const {
    if (!Contains(x, y))
        return InvalidColour;
    const size_t index = static_cast<size_t>(y) * width_ + x;
    return inverted_[index] ? image_[index] ^ 0x00FFFFFF : image_[index];
}

void Picture::Cls() {
    std::fill(inverted_.begin(), inverted_.end(), false);
}

void Picture::InvertRow(int32_t y, int32_t fromX, int32_t toX) {
    if (y < 0 || y >= height_)
        return;
    const int32_t first = std::max(fromX, 0);
    const int32_t last = std::min(toX, width_ - 1);
    for (int32_t x = first; x <= last; ++x) inverted_[static_cast<size_t>(y) * width_ + x].flip();
}

void Picture::InvertColumn(int32_t x, int32_t fromY, int32_t toY) {
    if (x < 0 || x >= width_)
        return;
    const int32_t first = std::max(fromY, 0);
    const int32_t last = std::min(toY, height_ - 1);
    for (int32_t y = first; y <= last; ++y) inverted_[static_cast<size_t>(y) * width_ + x].flip();
}

void Picture::ToggleRangeOutline(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int32_t x0 = std::min(left, right);
    const int32_t x1 = std::max(left, right);
    const int32_t y0 = std::min(top, bottom);
    const int32_t y1 = std::max(top, bottom);
    InvertRow(y0, x0, x1);
    if (y1 != y0)
        InvertRow(y1, x0, x1);
    // The sides stop short of the rows so that no corner is inverted twice (int64: y1 - y0 can
    // exceed the int32 range).
    if (int64_t{y1} - y0 >= 2) {
        InvertColumn(x0, y0 + 1, y1 - 1);
        if (x1 != x0)
            InvertColumn(x1, y0 + 1, y1 - 1);
    }
}

}  // namespace inkrelay
