#pragma once
// The Windows bitmap-info block (BITMAPINFO) a PNG decode describes its bits with: the 40-byte
// header followed by room for a full 256-entry colour table, laid out exactly as on Windows.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace inkrelay {

// The block is exchanged as raw bytes, so the host must share Windows' byte order.
static_assert(std::endian::native == std::endian::little);

inline constexpr uint32_t BiRgb = 0;  // uncompressed bits (BI_RGB)

// BITMAPINFOHEADER: a positive Height means the bottom row comes first.
struct BitmapInfoHeader {
    uint32_t Size;
    int32_t Width;
    int32_t Height;
    uint16_t Planes;
    uint16_t BitCount;
    uint32_t Compression;
    uint32_t SizeImage;
    int32_t XPelsPerMeter;
    int32_t YPelsPerMeter;
    uint32_t ClrUsed;
    uint32_t ClrImportant;
};

// RGBQUAD: blue first.
struct RgbQuad {
    uint8_t Blue;
    uint8_t Green;
    uint8_t Red;
    uint8_t Reserved;
};

struct BitmapInfo {
    BitmapInfoHeader Header;
    std::array<RgbQuad, 256> Colours;
};

static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(offsetof(BitmapInfoHeader, Width) == 4);
static_assert(offsetof(BitmapInfoHeader, Height) == 8);
static_assert(offsetof(BitmapInfoHeader, Planes) == 12);
static_assert(offsetof(BitmapInfoHeader, BitCount) == 14);
static_assert(offsetof(BitmapInfoHeader, Compression) == 16);
static_assert(offsetof(BitmapInfoHeader, SizeImage) == 20);
static_assert(offsetof(BitmapInfoHeader, XPelsPerMeter) == 24);
static_assert(offsetof(BitmapInfoHeader, YPelsPerMeter) == 28);
static_assert(offsetof(BitmapInfoHeader, ClrUsed) == 32);
static_assert(offsetof(BitmapInfoHeader, ClrImportant) == 36);
static_assert(sizeof(RgbQuad) == 4);
static_assert(offsetof(BitmapInfo, Colours) == 40);
static_assert(sizeof(BitmapInfo) == 1064);

}  // namespace inkrelay
