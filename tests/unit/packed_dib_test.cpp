#include "image/packed_dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "image/bitmap_info.h"

namespace inkrelay {
namespace {

// A packed DIB as the clipboard holds it: header (40 bytes, or longer with zeros after the
// first 40 unless masks are given), then whatever follows it.
class Block {
  public:
    Block(int32_t width, int32_t height, uint16_t bitCount, uint32_t headerBytes = 40) {
        BitmapInfoHeader header{};
        header.Size = headerBytes;
        header.Width = width;
        header.Height = height;
        header.Planes = 1;
        header.BitCount = bitCount;
        header.Compression = BiRgb;
        bytes_.resize(headerBytes);
        std::memcpy(bytes_.data(), &header, std::min<std::size_t>(headerBytes, sizeof header));
    }
    Block& Set32(std::size_t at, uint32_t value) {
        std::memcpy(bytes_.data() + at, &value, sizeof value);
        return *this;
    }
    Block& Append(std::initializer_list<uint8_t> more) {
        bytes_.insert(bytes_.end(), more);
        return *this;
    }
    Block& Append(const std::vector<uint8_t>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    Block& Append32(uint32_t value) {
        const auto* p = reinterpret_cast<const uint8_t*>(&value);
        bytes_.insert(bytes_.end(), p, p + sizeof value);
        return *this;
    }
    std::optional<Picture> Read() const { return PictureFromPackedDib(bytes_); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

constexpr std::size_t ClrUsedAt = 32;
constexpr std::size_t CompressionAt = 16;
constexpr uint32_t BiBitfields = 3;

TEST(PictureFromPackedDib, takesTheColourTableClrUsedLongThenTheBitsRightAfterIt) {
    // 3 x 2, 8 bits, two colours: the bits start 8 bytes after the header, not 1024.
    Block block(3, 2, 8);
    block.Set32(ClrUsedAt, 2).Append({0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0});
    block.Append({0, 1, 1, 0}).Append({1, 0, 2, 0});  // bottom row first
    const auto picture = block.Read();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->Height(), 2);
    EXPECT_EQ(picture->PixelAt(0, 1), 0x302010u);
    EXPECT_EQ(picture->PixelAt(1, 1), 0x605040u);
    EXPECT_EQ(picture->PixelAt(0, 0), 0x605040u);
    EXPECT_EQ(picture->PixelAt(2, 0), 0u);  // an index past the table is black
}

TEST(PictureFromPackedDib, withoutClrUsedAnIndexedTableHasAllItsEntries) {
    Block block(2, 1, 1);
    block.Append({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}).Append({0b01000000, 0, 0, 0});
    const auto picture = block.Read();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->PixelAt(0, 0), 0u);
    EXPECT_EQ(picture->PixelAt(1, 0), 0xFFFFFFu);
}

TEST(PictureFromPackedDib, reads24BitTopDownWithPaddingAfterTheBits) {
    Block block(1, -2, 24);
    block.Append({1, 2, 3, 0xAA}).Append({4, 5, 6, 0xAA});
    block.Append({0xEE, 0xEE, 0xEE, 0xEE});  // the clipboard's block may be rounded up
    const auto picture = block.Read();
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->PixelAt(0, 0), 0x010203u);
    EXPECT_EQ(picture->PixelAt(0, 1), 0x040506u);
}

TEST(PictureFromPackedDib, refusesAHeaderClaimingMoreThanTheBlockHolds) {
    for (const int32_t height : {3, -3, 2}) {
        Block rows(1, height, 24);
        rows.Append({1, 2, 3, 0}).Append({4, 5, 6, 0});  // two rows
        EXPECT_EQ(rows.Read().has_value(), height == 2) << height;
    }

    for (const uint32_t used : {200u, 1u}) {
        Block table(1, 1, 8);
        table.Set32(ClrUsedAt, used).Append({1, 2, 3, 0}).Append({0, 0, 0, 0});
        EXPECT_EQ(table.Read().has_value(), used == 1) << used;
    }

    // A table of 2^32 - 1 entries before 24-bit bits: the count must not wrap.
    Block huge(1, 1, 24);
    huge.Set32(ClrUsedAt, 0xFFFFFFFF).Append({1, 2, 3, 0});
    EXPECT_FALSE(huge.Read().has_value());

    Block wide(0x7FFFFFFF, 0x7FFFFFFF, 32);
    wide.Append({1, 2, 3, 4});
    EXPECT_FALSE(wide.Read().has_value());

    // Blocks that end inside the header, here before a V5 header's masks.
    Block v5(1, 1, 32, 124);
    v5.Set32(CompressionAt, BiBitfields).Set32(40, 0xFF0000).Set32(44, 0xFF00).Set32(48, 0xFF);
    ASSERT_TRUE(v5.Append({1, 2, 3, 0}).Read().has_value());
    for (const std::size_t length : {std::size_t{50}, std::size_t{39}}) {
        const std::vector<uint8_t> cut(v5.Bytes().begin(), v5.Bytes().begin() + length);
        EXPECT_FALSE(PictureFromPackedDib(cut).has_value()) << length;
    }
}

TEST(PictureFromPackedDib, refusesOtherHeadersAndCompressions) {
    // BITMAPCOREHEADER: 12 bytes, 16-bit sides; what follows would pass for one longer.
    Block core(1, 1, 24, 12);
    EXPECT_FALSE(core.Append({1, 0, 1, 0, 1, 0, 24, 0}).Append(std::vector<uint8_t>(40, 0)).Read());

    Block rle(1, 1, 8);
    rle.Set32(CompressionAt, 1).Append({0, 0, 0, 0}).Append({1, 0, 0, 1});
    EXPECT_FALSE(rle.Read().has_value());

    Block fields24(1, 1, 24);
    fields24.Set32(CompressionAt, BiBitfields).Append32(0xFF0000).Append32(0xFF00);
    fields24.Append32(0xFF).Append({1, 2, 3, 0});
    EXPECT_FALSE(fields24.Read().has_value());

    // A mask with a gap in it.
    Block gap(1, 1, 32);
    gap.Set32(CompressionAt, BiBitfields).Append32(0xF0F000).Append32(0xFF00).Append32(0xFF);
    gap.Append({1, 2, 3, 0});
    EXPECT_FALSE(gap.Read().has_value());
}

TEST(PictureFromPackedDib, readsBitfieldsAfterAShortHeaderOrInsideAV5Header) {
    // 16 bits 5-6-5 after a 40-byte header: full red, half green, a third of blue.
    Block short565(1, 1, 16);
    short565.Set32(CompressionAt, BiBitfields).Append32(0xF800).Append32(0x07E0).Append32(0x1F);
    const uint16_t pixel = 31 << 11 | 32 << 5 | 10;
    short565.Append({static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8), 0, 0});
    const auto rgb565 = short565.Read();
    ASSERT_TRUE(rgb565.has_value());
    // 0x00BBGGRR: red 31/31, green 32/63 -> 130, blue 10/31 -> 82.
    EXPECT_EQ(rgb565->PixelAt(0, 0), 82u << 16 | 130u << 8 | 255u);

    // 32 bits in a V5 header, masks at 40, 44, 48, blue in the top byte: no masks follow it.
    Block v5(2, 1, 32, 124);
    v5.Set32(CompressionAt, BiBitfields).Set32(40, 0x000000FF).Set32(44, 0x0000FF00);
    v5.Set32(48, 0xFF000000).Append({0x11, 0x22, 0x00, 0x33}).Append({0xFF, 0, 0, 0});
    const auto wide = v5.Read();
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->PixelAt(0, 0), 0x332211u);
    EXPECT_EQ(wide->PixelAt(1, 0), 0x0000FFu);

    // Without BI_BITFIELDS a V5 header's masks are not read, and 16 bits are 5-5-5.
    Block plain(1, 1, 16, 124);
    plain.Set32(40, 0xFFFF).Append({0x00, 0x7C, 0, 0});
    const auto red = plain.Read();
    ASSERT_TRUE(red.has_value());
    EXPECT_EQ(red->PixelAt(0, 0), 0x0000FFu);
}

}  // namespace
}  // namespace inkrelay
