#pragma once
// libpng behind a plain interface: one PNG stream decoded into a 24-bit bottom-up DIB, alpha
// composited onto white. Every libpng failure becomes a false result; no exception or longjmp
// leaves this module.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "image/bitmap_info.h"
#include "image/picture_limits.h"

namespace inkrelay {

// The largest buffer one decode may need: the DIB bits, or the whole image while de-interlacing.
inline constexpr std::size_t PngByteLimit = std::size_t{512} << 20;
// What libpng may hold besides the pixel buffers: its row buffers, zlib's window, the palette.
// The chunks the program has no use for (text, ICC profiles, suggested palettes, ...) are not
// kept at all, so no chunk of any length comes near it.
inline constexpr std::size_t PngChunkAllowance = std::size_t{8} << 20;
// Sides from this on are refused: the image window's 16-bit layout cannot hold them.
inline constexpr uint32_t PngSideLimit = RefusedPictureSide;

// Every allocation of a decode, libpng's and the de-interlacing buffer, goes through one budget
// of byteLimit + PngChunkAllowance bytes; a request beyond it fails the decode. The DIB bits are
// the caller's.
class PngDecoder {
  public:
    // Takes the file and closes it in the destructor.
    static std::unique_ptr<PngDecoder> FromFile(std::FILE* file, std::size_t byteLimit);
    static std::unique_ptr<PngDecoder> FromMemory(std::vector<uint8_t> bytes,
                                                  std::size_t byteLimit);
    ~PngDecoder();
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    // Reads up to the image data and describes the DIB to come; false for a stream that is no
    // PNG, is damaged so far, or needs more than the limits. Only the first call can succeed.
    bool ReadHeader(BitmapInfo& info, int32_t& size);
    // Writes the DIB bits (size bytes from ReadHeader) and checks the stream to its end; false
    // for a damaged stream. Only one call after a successful ReadHeader can succeed.
    bool ReadPixels(uint8_t* bits);

    // The most the decode has held at once through its budget so far.
    std::size_t PeakBytes() const;

    struct State;

  private:
    explicit PngDecoder(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace inkrelay
