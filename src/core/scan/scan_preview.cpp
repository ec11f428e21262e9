#include "scan/scan_preview.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "checked_int.h"

namespace inkrelay {

namespace {

constexpr uint32_t White = 0xFFFFFF;

int16_t RoundHalfEven(double value) {
    return ToInteger(static_cast<int64_t>(std::nearbyint(value)));
}
int16_t RoundHalfUp(double value) {
    return ToInteger(static_cast<int64_t>(std::floor(value + 0.5)));
}

}  // namespace

PreviewPlacement FitPreview(int32_t boxWidth, int32_t boxHeight, int32_t rangeWidth,
                            int32_t rangeHeight) {
    const double sw = boxWidth;
    const double sh = boxHeight;
    int16_t dw = 0;
    int16_t dh = 0;
    if (rangeWidth == rangeHeight) {
        dw = RoundHalfEven(sw);
        dh = RoundHalfEven(sh);
    } else if (rangeWidth > rangeHeight) {
        dw = RoundHalfEven(sw);
        dh = RoundHalfUp(sw / rangeWidth * rangeHeight);
    } else {
        dh = RoundHalfEven(sh);
        dw = RoundHalfUp(sh / rangeHeight * rangeWidth);
    }
    const auto left = ToInteger(static_cast<int64_t>(std::floor((sw - dw) / 2)));
    const auto top = ToInteger(static_cast<int64_t>(std::floor((sh - dh) / 2)));
    return {left, top, dw, dh};
}

ScanPreview DrawScanPreview(const Picture& picture, const RangeSlots& range, int32_t boxWidth,
                            int32_t boxHeight, std::optional<uint32_t> lineColour) {
    const int32_t width = int32_t{range.Right} - range.Left + 1;
    const int32_t height = int32_t{range.Bottom} - range.Top + 1;
    const PreviewPlacement placement = FitPreview(boxWidth, boxHeight, width, height);
    const int32_t dw = std::max<int32_t>(placement.Width, 0);
    const int32_t dh = std::max<int32_t>(placement.Height, 0);
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(dw) * static_cast<size_t>(dh));
    for (int32_t y = 0; y < dh; ++y) {
        const int32_t sourceY = range.Top + static_cast<int32_t>(int64_t{y} * height / dh);
        for (int32_t x = 0; x < dw; ++x) {
            const int32_t sourceX = range.Left + static_cast<int32_t>(int64_t{x} * width / dw);
            uint32_t colour = picture.ImagePixelAt(sourceX, sourceY);
            if (lineColour && colour != *lineColour)
                colour = White;
            pixels.push_back(colour);
        }
    }
    return {placement, Picture(dw, dh, std::move(pixels))};
}

}  // namespace inkrelay
