#pragma once
// Whether a BMP, JPEG or GIF file ends before its picture data does. The general picture loader
// decodes such files without complaint, filling what is missing with grey, black or whatever
// the memory held, so the loader refuses them first.

#include <cstdint>
#include <span>

namespace inkrelay {

// True for a BMP shorter than its rows, a JPEG without the end marker after its last scan, and
// a GIF that ends inside its header, a colour table, an extension or an image's data. Files of
// other formats, and bytes too short to name their format, are left to the decoder.
bool PictureDataCut(std::span<const uint8_t> bytes);

}  // namespace inkrelay
