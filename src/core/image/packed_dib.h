#pragma once
// The clipboard's bitmap as Windows hands it over (CF_DIB): one block holding a bitmap-info
// header, its colour masks, its colour table, then the bits.

#include <cstdint>
#include <optional>
#include <span>

#include "image/picture.h"

namespace inkrelay {

// A BITMAPINFOHEADER (40 bytes), or a longer header that begins with one (BITMAPV4HEADER,
// BITMAPV5HEADER and the two between), whose fields past the first 40 bytes are read only for
// the colour masks. Uncompressed 1, 4, 8, 16 (5-5-5), 24 or 32 bits, and 16 or 32 bits with
// contiguous colour masks (BI_BITFIELDS: after a 40-byte header, else in the header). The
// colour table holds ClrUsed entries, or 2^BitCount when ClrUsed is 0 and BitCount is at most 8;
// bytes after the bits are ignored. Empty when the header, masks, table or bits do not fit the
// block, for any other format, and for whatever PictureFromDib refuses.
std::optional<Picture> PictureFromPackedDib(std::span<const uint8_t> block);

}  // namespace inkrelay
