#include "image/packed_dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "image/bitmap_info.h"
#include "image/dib_picture.h"

namespace inkrelay {

namespace {

constexpr uint32_t BiBitfields = 3;
constexpr uint64_t InfoHeaderBytes = sizeof(BitmapInfoHeader);
constexpr uint64_t MaskBytes = 12;  // red, green and blue, one DWORD each

// BITMAPINFOHEADER, BITMAPV2INFOHEADER, BITMAPV3INFOHEADER, BITMAPV4HEADER, BITMAPV5HEADER.
constexpr std::array<uint32_t, 5> HeaderSizes = {40, 52, 56, 108, 124};

uint32_t U32At(std::span<const uint8_t> block, uint64_t at) {
    uint32_t value;
    std::memcpy(&value, block.data() + at, sizeof value);
    return value;
}

// One colour's bits of a 16- or 32-bit pixel, scaled to 0..255.
struct Channel {
    uint32_t Mask;
    int Shift;
    uint64_t Top;  // the largest value the mask holds
};

std::optional<Channel> ChannelOf(uint32_t mask) {
    if (mask == 0)
        return std::nullopt;
    const int shift = std::countr_zero(mask);
    const uint64_t top = (uint64_t{1} << std::popcount(mask)) - 1;
    // A mask with a gap has no one value per channel.
    if ((mask >> shift) != top)
        return std::nullopt;
    return Channel{mask, shift, top};
}

uint8_t Level(uint32_t pixel, const Channel& channel) {
    const uint64_t value = (pixel & channel.Mask) >> channel.Shift;
    return static_cast<uint8_t>((value * 255 + channel.Top / 2) / channel.Top);
}

// The masked rows rewritten as 32-bit BGRX in the same row order, which PictureFromDib reads.
std::vector<uint8_t> MaskedToBgrx(std::span<const uint8_t> bits, int64_t width, int64_t rows,
                                  int64_t stride, int bitCount, const std::array<Channel, 3>& rgb) {
    std::vector<uint8_t> out(static_cast<std::size_t>(width * rows * 4));
    uint8_t* to = out.data();
    const int64_t pixelBytes = bitCount / 8;
    for (int64_t r = 0; r < rows; ++r) {
        const uint8_t* row = bits.data() + r * stride;
        for (int64_t x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, row + x * pixelBytes, static_cast<std::size_t>(pixelBytes));
            *to++ = Level(pixel, rgb[2]);
            *to++ = Level(pixel, rgb[1]);
            *to++ = Level(pixel, rgb[0]);
            *to++ = 0;
        }
    }
    return out;
}

}  // namespace

std::optional<Picture> PictureFromPackedDib(std::span<const uint8_t> block) {
    const uint64_t size = block.size();
    if (size < InfoHeaderBytes)
        return std::nullopt;
    const uint32_t headerBytes = U32At(block, 0);
    if (std::find(HeaderSizes.begin(), HeaderSizes.end(), headerBytes) == HeaderSizes.end() ||
        headerBytes > size)
        return std::nullopt;
    BitmapInfo info{};
    std::memcpy(&info.Header, block.data(), InfoHeaderBytes);
    BitmapInfoHeader& header = info.Header;

    const int bitCount = header.BitCount;
    const bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    const bool masked =
        header.Compression == BiBitfields || (header.Compression == BiRgb && bitCount == 16);
    if (header.Compression != BiRgb && header.Compression != BiBitfields)
        return std::nullopt;
    if (header.Compression == BiBitfields && bitCount != 16 && bitCount != 32)
        return std::nullopt;
    if (!(indexed || bitCount == 16 || bitCount == 24 || bitCount == 32))
        return std::nullopt;

    // The sides first: the byte counts below stay far inside 64 bits only for a picture the
    // program can hold.
    const int64_t width = header.Width;
    const int64_t rows = header.Height < 0 ? -int64_t{header.Height} : int64_t{header.Height};
    if (width <= 0 || rows == 0 || width * rows > MaxPicturePixels)
        return std::nullopt;
    const int64_t stride = (width * bitCount + 31) / 32 * 4;
    const uint64_t bitsBytes = static_cast<uint64_t>(stride * rows);

    uint64_t at = headerBytes;
    std::array<Channel, 3> rgb{};
    if (masked) {
        std::array<uint32_t, 3> masks = {0x7C00, 0x03E0, 0x001F};
        if (header.Compression == BiBitfields) {
            // A 40-byte header is followed by the masks; the longer ones hold them themselves.
            const uint64_t masksAt = InfoHeaderBytes;
            if (headerBytes == InfoHeaderBytes) {
                if (size - at < MaskBytes)
                    return std::nullopt;
                at += MaskBytes;
            }
            for (std::size_t i = 0; i < masks.size(); ++i) masks[i] = U32At(block, masksAt + 4 * i);
        }
        for (std::size_t i = 0; i < masks.size(); ++i) {
            const auto channel = ChannelOf(masks[i]);
            if (!channel)
                return std::nullopt;
            rgb[i] = *channel;
        }
    }

    const uint64_t colours =
        header.ClrUsed != 0 ? header.ClrUsed : (indexed ? uint64_t{1} << bitCount : 0);
    if (indexed && colours > (uint64_t{1} << bitCount))
        return std::nullopt;
    if ((size - at) / 4 < colours)
        return std::nullopt;
    // Past 8 bits a table is only a hint for a palette display and is skipped.
    if (indexed)
        std::memcpy(info.Colours.data(), block.data() + at, static_cast<std::size_t>(colours * 4));
    at += colours * 4;
    if (size - at < bitsBytes)
        return std::nullopt;
    const std::span<const uint8_t> bits =
        block.subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(bitsBytes));

    // What PictureFromDib reads: the bits' size is the block's, whatever SizeImage claims
    // (writers leave it 0 or count their padding).
    header.Size = sizeof(BitmapInfoHeader);
    header.SizeImage = 0;
    header.Compression = BiRgb;
    if (!masked || (bitCount == 32 && rgb[0].Mask == 0x00FF0000 && rgb[1].Mask == 0x0000FF00 &&
                    rgb[2].Mask == 0x000000FF))
        return PictureFromDib(bits.data(), bits.size(), info);
    const std::vector<uint8_t> bgrx = MaskedToBgrx(bits, width, rows, stride, bitCount, rgb);
    header.BitCount = 32;
    header.ClrUsed = 0;
    return PictureFromDib(bgrx.data(), bgrx.size(), info);
}

}  // namespace inkrelay
