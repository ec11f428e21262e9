#include "image/dib_picture.h"

#include <array>
#include <utility>
#include <vector>

namespace inkrelay {

namespace {

uint32_t ColourOf(uint8_t blue, uint8_t green, uint8_t red) {
    return uint32_t{red} | uint32_t{green} << 8 | uint32_t{blue} << 16;
}

// Pixels of fewer than 8 bits are packed from the most significant bit on.
uint32_t IndexAt(const uint8_t* row, int32_t x, int bitCount) {
    const int32_t perByte = 8 / bitCount;
    const int shift = 8 - bitCount * (x % perByte + 1);
    return (row[x / perByte] >> shift) & ((1u << bitCount) - 1);
}

}  // namespace

std::optional<Picture> PictureFromDib(const uint8_t* bits, std::size_t bitsSize,
                                      const BitmapInfo& info) {
    const BitmapInfoHeader& header = info.Header;
    const int bitCount = header.BitCount;
    const bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (header.Size != sizeof(BitmapInfoHeader) || header.Planes != 1 ||
        header.Compression != BiRgb || !(indexed || bitCount == 24 || bitCount == 32))
        return std::nullopt;
    const int64_t width = header.Width;
    const int64_t rows = header.Height < 0 ? -int64_t{header.Height} : int64_t{header.Height};
    if (width <= 0 || rows == 0 || width * rows > MaxPicturePixels)
        return std::nullopt;
    const int64_t stride = (width * bitCount + 31) / 32 * 4;
    const int64_t needed = stride * rows;
    if (bits == nullptr || static_cast<uint64_t>(needed) != bitsSize ||
        (header.SizeImage != 0 && header.SizeImage != needed))
        return std::nullopt;

    std::array<uint32_t, 256> table{};
    if (indexed) {
        const uint32_t room = 1u << bitCount;
        const uint32_t used = header.ClrUsed == 0 ? room : header.ClrUsed;
        if (used > room)
            return std::nullopt;
        for (uint32_t i = 0; i < used; ++i) {
            const RgbQuad& entry = info.Colours[i];
            table[i] = ColourOf(entry.Blue, entry.Green, entry.Red);
        }
    }

    const auto w = static_cast<int32_t>(width);
    const auto h = static_cast<int32_t>(rows);
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width * rows));
    for (int32_t r = 0; r < h; ++r) {
        const uint8_t* row = bits + r * stride;
        const int32_t y = header.Height < 0 ? r : h - 1 - r;
        uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * w;
        for (int32_t x = 0; x < w; ++x) {
            if (indexed) {
                out[x] = table[IndexAt(row, x, bitCount)];
            } else {
                const uint8_t* p = row + x * (bitCount / 8);
                out[x] = ColourOf(p[0], p[1], p[2]);
            }
        }
    }
    return Picture(w, h, std::move(pixels));
}

}  // namespace inkrelay
