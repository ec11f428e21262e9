#pragma once
// Device-independent bitmaps (BI_RGB bits described by a BitmapInfo) turned into pictures.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "image/bitmap_info.h"
#include "image/picture.h"

namespace inkrelay {

// Bottom-up or top-down, 1, 4 or 8 bits per pixel through the colour table, 24 or 32 bits BGR.
// Empty for any other header, for more than MaxPicturePixels, or when bitsSize is not exactly
// the rows' padded size; bits is never read past bitsSize. Indices beyond the colour table
// give black.
std::optional<Picture> PictureFromDib(const uint8_t* bits, std::size_t bitsSize,
                                      const BitmapInfo& info);

}  // namespace inkrelay
