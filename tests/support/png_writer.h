#pragma once
// PNG files made with libpng's own writer, in any colour type, bit depth and interlacing, so
// that the decoder is tested against streams it did not produce itself.

#include <png.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace inkrelay::test {

struct PngImage {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int ColourType = PNG_COLOR_TYPE_RGB;
    int BitDepth = 8;
    bool Interlaced = false;
    // Width × Height × channels values in the file's bit depth, row by row, channel by channel
    // (palette images: one index per pixel).
    std::vector<uint16_t> Samples;
    std::vector<png_color> Palette;
    std::vector<uint8_t> PaletteAlpha;              // tRNS of a palette image
    std::optional<png_color_16> TransparentColour;  // tRNS of a grey or RGB image
};

// Channels per pixel in the file for a PNG colour type.
int ChannelCount(int colourType);

// The whole file; throws std::runtime_error when libpng refuses the image.
std::string EncodePng(const PngImage& image);

// One chunk with its length and CRC, for hand-made streams.
std::string PngChunk(std::string_view type, std::string_view data);
// The eight signature bytes.
std::string PngSignature();
// A big-endian 32-bit value.
std::string BigEndian32(uint32_t value);

}  // namespace inkrelay::test
