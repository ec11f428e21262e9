#pragma once
// The picture of a read shown in the main window's preview box: the range scaled to fit and
// centred, and in line-art mode only the pixels of exactly the line colour.

#include <cstdint>
#include <optional>

#include "image/picture.h"
#include "image/range_selection.h"

namespace inkrelay {

struct PreviewPlacement {
    int16_t Left = 0;    // ox
    int16_t Top = 0;     // oy
    int16_t Width = 0;   // dw
    int16_t Height = 0;  // dh
    friend bool operator==(const PreviewPlacement&, const PreviewPlacement&) = default;
};

// A range of rangeWidth × rangeHeight in a box of boxWidth × boxHeight (the box's inner size).
PreviewPlacement FitPreview(int32_t boxWidth, int32_t boxHeight, int32_t rangeWidth,
                            int32_t rangeHeight);

struct ScanPreview {
    PreviewPlacement Placement;
    Picture Image;  // Placement.Width × Placement.Height
};

// Copies the range of the bare image (the outline layer left out) into the placement, nearest
// neighbour; with a line colour, every pixel not exactly that colour becomes white.
ScanPreview DrawScanPreview(const Picture& picture, const RangeSlots& range, int32_t boxWidth,
                            int32_t boxHeight, std::optional<uint32_t> lineColour);

}  // namespace inkrelay
