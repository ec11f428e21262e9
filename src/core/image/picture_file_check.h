#pragma once
// Whether a BMP, JPEG or GIF file ends before its picture data does. The general picture loader
// decodes such files without complaint, filling what is missing with grey, black or whatever
// the memory held, so the loader refuses them first.

#include <cstdint>
#include <functional>
#include <span>

namespace inkrelay {

// Reads the eight bytes at offset into out: a chunk's length and type. False when they are not
// all there.
using PngChunkHeaderAt = std::function<bool(uint64_t offset, uint8_t (&out)[8])>;

// True when every chunk of a PNG stream of `size` bytes, from the signature up to IEND, lies
// within the stream and within PNG's 2^31 - 1 bytes. A decoder sizes its buffers from a chunk's
// length before it finds out the bytes are not there, so a damaged length alone could make it
// ask for gigabytes. A stream without the signature is not a PNG and is left to its reader.
bool PngChunksFit(uint64_t size, const PngChunkHeaderAt& headerAt);

// True for a PNG stream with a chunk whose CRC does not match it, of any kind: the program's PNG
// decoder refuses a damaged chunk, and the general loaders (Qt's, some WIC decoders) read past
// the check of an ancillary one, so the same file would open under one name and not another.
// Call it after PictureDataCut, so that every chunk up to IEND lies within the bytes. Other
// formats are left to their decoders.
bool PngChunkDamaged(std::span<const uint8_t> bytes);

// True for a BMP shorter than its rows, a JPEG without the end marker after its last scan, a GIF
// that ends inside its header, a colour table, an extension or an image's data, and a PNG whose
// chunks do not fit it (PngChunksFit). Files of other formats, and bytes too short to name their
// format, are left to the decoder.
bool PictureDataCut(std::span<const uint8_t> bytes);

}  // namespace inkrelay
