#pragma once
// The PNG library's call protocol: open and describe (mLoadPNG), fill the caller's buffer
// (mGetPNGData), release (mEndPNG). 1 means success, anything else failure; the handle is a
// slot number in a small table of open decodes (0 is never a handle).

#include <cstddef>
#include <cstdint>

#include "image/png_decoder.h"

extern "C" {
// path: NUL-terminated, in the system's narrow encoding. info: a BitmapInfo block (1064 bytes).
int32_t mLoadPNG(const char* path, int32_t* handle, void* info, int32_t* size) noexcept;
// bits: room for the size bytes mLoadPNG gave.
int32_t mGetPNGData(int32_t* handle, uint8_t* bits) noexcept;
// Releases everything of the handle, whether or not its data was read, and zeroes it.
int32_t mEndPNG(int32_t* handle) noexcept;
}

namespace inkrelay {

// Decodes open at once; a further mLoadPNG fails until one is ended.
inline constexpr int32_t PngOpenLimit = 16;

// mLoadPNG over PNG bytes in memory (copied); byteLimit bounds each buffer the decode needs.
int32_t DecodePngMemory(const uint8_t* data, std::size_t length, int32_t* handle, void* info,
                        int32_t* size, std::size_t byteLimit = PngByteLimit) noexcept;

}  // namespace inkrelay
