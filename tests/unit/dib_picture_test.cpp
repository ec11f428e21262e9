#include "image/dib_picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace inkrelay {
namespace {

BitmapInfo Header(int32_t width, int32_t height, uint16_t bitCount) {
    BitmapInfo info{};
    info.Header.Size = 40;
    info.Header.Width = width;
    info.Header.Height = height;
    info.Header.Planes = 1;
    info.Header.BitCount = bitCount;
    info.Header.Compression = BiRgb;
    return info;
}

void SetColour(BitmapInfo& info, int index, uint8_t red, uint8_t green, uint8_t blue) {
    info.Colours[index] = {blue, green, red, 0x99};
}

std::optional<Picture> FromBits(const std::vector<uint8_t>& bits, const BitmapInfo& info) {
    return PictureFromDib(bits.data(), bits.size(), info);
}

TEST(PictureFromDib, reads24BitRowsBottomUpOrTopDownSkippingThePadding) {
    // Two rows of two pixels: 6 bytes each, padded to 8.
    const std::vector<uint8_t> bits = {1, 2, 3, 4,  5,  6,  0xAA, 0xAA,
                                       7, 8, 9, 10, 11, 12, 0xAA, 0xAA};
    const auto bottomUp = FromBits(bits, Header(2, 2, 24));
    ASSERT_TRUE(bottomUp.has_value());
    EXPECT_EQ(bottomUp->PixelAt(0, 1), 0x010203u);  // the first row is the bottom one
    EXPECT_EQ(bottomUp->PixelAt(1, 1), 0x040506u);
    EXPECT_EQ(bottomUp->PixelAt(0, 0), 0x070809u);
    const auto topDown = FromBits(bits, Header(2, -2, 24));
    ASSERT_TRUE(topDown.has_value());
    EXPECT_EQ(topDown->PixelAt(0, 0), 0x010203u);
    EXPECT_EQ(topDown->PixelAt(1, 1), 0x0A0B0Cu);
}

TEST(PictureFromDib, reads32BitPixelsIgnoringTheFourthByte) {
    const std::vector<uint8_t> bits = {0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0x7F};
    const auto picture = FromBits(bits, Header(2, 1, 32));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->PixelAt(0, 0), 0x102030u);
    EXPECT_EQ(picture->PixelAt(1, 0), 0x405060u);
}

TEST(PictureFromDib, readsIndexedPixelsMostSignificantBitsFirstThroughTheColourTable) {
    BitmapInfo one = Header(10, -1, 1);
    SetColour(one, 0, 0, 0, 0);
    SetColour(one, 1, 0xFF, 0x80, 0x01);
    const auto mono = FromBits({0b10110000, 0b01000000, 0, 0}, one);
    ASSERT_TRUE(mono.has_value());
    const bool set[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(mono->PixelAt(x, 0), set[x] ? 0x0180FFu : 0u) << x;

    BitmapInfo four = Header(3, 1, 4);
    for (int i = 0; i < 16; ++i) SetColour(four, i, static_cast<uint8_t>(i), 0, 0);
    const auto nibbles = FromBits({0xF3, 0x70, 0, 0}, four);
    ASSERT_TRUE(nibbles.has_value());
    EXPECT_EQ(nibbles->PixelAt(0, 0), 15u);
    EXPECT_EQ(nibbles->PixelAt(1, 0), 3u);
    EXPECT_EQ(nibbles->PixelAt(2, 0), 7u);

    BitmapInfo eight = Header(3, 2, 8);
    eight.Header.ClrUsed = 2;
    SetColour(eight, 0, 1, 2, 3);
    SetColour(eight, 1, 4, 5, 6);
    SetColour(eight, 2, 7, 8, 9);  // beyond ClrUsed: not part of the table
    const auto bytes = FromBits({0, 1, 2, 0, 1, 1, 0, 0}, eight);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->PixelAt(0, 1), 0x030201u);
    EXPECT_EQ(bytes->PixelAt(1, 1), 0x060504u);
    EXPECT_EQ(bytes->PixelAt(2, 1), 0u);  // an index past the table is black
    EXPECT_EQ(bytes->PixelAt(0, 0), 0x060504u);
}

TEST(PictureFromDib, refusesHeadersItCannotReadAndBitsOfTheWrongSize) {
    const std::vector<uint8_t> bits(8, 0);
    ASSERT_TRUE(FromBits(bits, Header(2, 1, 32)).has_value());
    auto refused = [&](BitmapInfo info, const std::vector<uint8_t>& data) {
        return !PictureFromDib(data.data(), data.size(), info).has_value();
    };
    BitmapInfo info = Header(2, 1, 32);
    info.Header.Size = 108;
    EXPECT_TRUE(refused(info, bits));
    info = Header(2, 1, 32);
    info.Header.Planes = 2;
    EXPECT_TRUE(refused(info, bits));
    info = Header(2, 1, 32);
    info.Header.Compression = 3;  // BI_BITFIELDS
    EXPECT_TRUE(refused(info, bits));
    EXPECT_TRUE(refused(Header(4, 1, 16), bits));
    EXPECT_TRUE(refused(Header(2, 1, 2), {0, 0, 0, 0}));
    EXPECT_TRUE(refused(Header(0, 1, 32), bits));
    EXPECT_TRUE(refused(Header(-2, 1, 32), bits));
    EXPECT_TRUE(refused(Header(2, 0, 32), bits));
    EXPECT_TRUE(refused(Header(2, INT32_MIN, 32), bits));
    EXPECT_TRUE(refused(Header(2, 1, 32), std::vector<uint8_t>(7)));
    EXPECT_TRUE(refused(Header(2, 1, 32), std::vector<uint8_t>(9)));
    EXPECT_TRUE(refused(Header(3, 1, 24), std::vector<uint8_t>(9)));  // rows pad to 12
    info = Header(2, 1, 32);
    info.Header.SizeImage = 16;
    EXPECT_TRUE(refused(info, bits));
    info.Header.SizeImage = 8;
    EXPECT_FALSE(refused(info, bits));
    info = Header(8, 1, 1);
    info.Header.ClrUsed = 3;
    EXPECT_TRUE(refused(info, {0, 0, 0, 0}));
    EXPECT_FALSE(PictureFromDib(nullptr, 8, Header(2, 1, 32)).has_value());
}

TEST(PictureFromDib, refusesMorePixelsThanAPictureMayHoldEvenWithMatchingBits) {
    // 16384 × 8193 one-bit pixels: 2048-byte rows, 2^27 + 16384 pixels.
    const std::vector<uint8_t> bits(std::size_t{2048} * 8193, 0);
    EXPECT_FALSE(FromBits(bits, Header(16384, 8193, 1)).has_value());
    EXPECT_TRUE(FromBits(std::vector<uint8_t>(2048), Header(16384, 1, 1)).has_value());
}

}  // namespace
}  // namespace inkrelay
