#include "pixel_buffer.h"

#include <algorithm>
#include <stdexcept>

namespace inkrelay::practice {

namespace {

// The top byte is set: Qt's RGB32 wants it so, and a BI_RGB DIB ignores it.
uint32_t WordOf(uint32_t colour) {
    return 0xFF000000u | (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

}  // namespace

PixelBuffer::PixelBuffer(int32_t width, int32_t height, uint32_t background)
    : width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("an empty practice surface");
    words_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), WordOf(background));
}

void PixelBuffer::SetPixel(int32_t x, int32_t y, uint32_t colour) {
    words_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
        WordOf(colour);
    changed_ = changed_.United({x, y, 1, 1});
}

uint32_t PixelBuffer::PixelAt(int32_t x, int32_t y) const {
    const uint32_t word =
        words_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return (word >> 16 & 0xFF) | (word & 0xFF00) | (word & 0xFF) << 16;
}

void PixelBuffer::Fill(const PracticeBox& box, uint32_t colour) {
    const int32_t left = std::max(box.Left, 0), right = std::min(box.Right(), width_);
    const int32_t top = std::max(box.Top, 0), bottom = std::min(box.Bottom(), height_);
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) SetPixel(x, y, colour);
}

PracticeBox PixelBuffer::TakeChanged() {
    const PracticeBox changed = changed_;
    changed_ = {};
    return changed;
}

}  // namespace inkrelay::practice
