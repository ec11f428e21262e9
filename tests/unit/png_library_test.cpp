#include "image/png_library.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "image/bitmap_info.h"
#include "image/dib_picture.h"
#include "image/png_decoder.h"
#include "png_samples.h"
#include "png_writer.h"
#include "temp_dir.h"

namespace inkrelay {
namespace {

using test::PngImage;

const uint8_t* Data(const std::string& bytes) {
    return reinterpret_cast<const uint8_t*>(bytes.data());
}

// The whole call protocol over bytes in memory: 1 only when both calls succeed.
int32_t DecodeAll(const std::string& bytes, std::size_t limit = PngByteLimit) {
    BitmapInfo info{};
    int32_t handle = 0, size = 0;
    if (DecodePngMemory(Data(bytes), bytes.size(), &handle, &info, &size, limit) != 1)
        return 0;
    std::vector<uint8_t> bits(static_cast<std::size_t>(size));
    const int32_t filled = mGetPNGData(&handle, bits.data());
    mEndPNG(&handle);
    return filled;
}

std::string Sample(int colourType, int depth, bool trns, uint32_t w, uint32_t h,
                   bool interlaced = false) {
    return test::EncodePng(test::RandomPngImage({colourType, depth, trns}, w, h, interlaced, 5));
}

std::string Grey(uint32_t width, uint32_t height) {
    PngImage image;
    image.Width = width;
    image.Height = height;
    image.ColourType = PNG_COLOR_TYPE_GRAY;
    image.Samples.assign(std::size_t{width} * height, 77);
    return test::EncodePng(image);
}

std::string HeaderOnly(uint32_t width, uint32_t height) {
    const std::string ihdr = test::BigEndian32(width) + test::BigEndian32(height) +
                             std::string("\x08\x02\x00\x00\x00", 5);
    return test::PngSignature() + test::PngChunk("IHDR", ihdr) + test::PngChunk("IEND", "");
}

TEST(PngLibrary, severalDecodesStayOpenAndEachReadsItsOwnPicture) {
    const std::string small = Grey(1, 3), wide = Grey(7, 1);
    std::array<int32_t, 2> handles{};
    std::array<BitmapInfo, 2> infos{};
    std::array<int32_t, 2> sizes{};
    ASSERT_EQ(DecodePngMemory(Data(small), small.size(), &handles[0], &infos[0], &sizes[0]), 1);
    ASSERT_EQ(DecodePngMemory(Data(wide), wide.size(), &handles[1], &infos[1], &sizes[1]), 1);
    EXPECT_NE(handles[0], handles[1]);
    EXPECT_NE(handles[0], 0);
    EXPECT_EQ(sizes[0], 4 * 3);  // rows of 3 bytes padded to 4
    EXPECT_EQ(sizes[1], 24);
    std::vector<uint8_t> second(static_cast<std::size_t>(sizes[1]));
    ASSERT_EQ(mGetPNGData(&handles[1], second.data()), 1);
    std::vector<uint8_t> first(static_cast<std::size_t>(sizes[0]));
    ASSERT_EQ(mGetPNGData(&handles[0], first.data()), 1);
    const auto picture = PictureFromDib(first.data(), first.size(), infos[0]);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), 1);
    EXPECT_EQ(picture->Height(), 3);
    EXPECT_EQ(picture->PixelAt(0, 2), 0x4D4D4Du);
    EXPECT_EQ(mGetPNGData(&handles[0], first.data()), 0);  // the stream is used up
    EXPECT_EQ(mEndPNG(&handles[0]), 1);
    EXPECT_EQ(mEndPNG(&handles[1]), 1);
    EXPECT_EQ(handles[0], 0);
    int32_t ended = 1;
    EXPECT_EQ(mEndPNG(&ended), 0);
    EXPECT_EQ(mGetPNGData(&ended, first.data()), 0);
}

TEST(PngLibrary, theTableFillsUpAndEndingWithoutReadingFreesTheSlot) {
    const std::string bytes = Grey(4, 4);
    std::array<int32_t, PngOpenLimit> handles{};
    for (int round = 0; round < 3; ++round) {
        BitmapInfo info{};
        int32_t size = 0;
        for (int32_t& handle : handles)
            ASSERT_EQ(DecodePngMemory(Data(bytes), bytes.size(), &handle, &info, &size), 1);
        int32_t extra = 0;
        EXPECT_EQ(DecodePngMemory(Data(bytes), bytes.size(), &extra, &info, &size), 0);
        for (int32_t& handle : handles) ASSERT_EQ(mEndPNG(&handle), 1);
    }
}

TEST(PngLibrary, refusesMissingArgumentsAndHandlesOutsideTheTable) {
    const std::string bytes = Grey(2, 2);
    BitmapInfo info{};
    int32_t handle = 0, size = 0;
    EXPECT_EQ(DecodePngMemory(nullptr, 10, &handle, &info, &size), 0);
    EXPECT_EQ(DecodePngMemory(Data(bytes), bytes.size(), nullptr, &info, &size), 0);
    EXPECT_EQ(DecodePngMemory(Data(bytes), bytes.size(), &handle, nullptr, &size), 0);
    EXPECT_EQ(DecodePngMemory(Data(bytes), bytes.size(), &handle, &info, nullptr), 0);
    EXPECT_EQ(mLoadPNG(nullptr, &handle, &info, &size), 0);
    EXPECT_EQ(mGetPNGData(nullptr, nullptr), 0);
    EXPECT_EQ(mEndPNG(nullptr), 0);
    for (int32_t bad : {0, -1, PngOpenLimit + 1}) {
        uint8_t bits[16] = {};
        EXPECT_EQ(mGetPNGData(&bad, bits), 0);
        EXPECT_EQ(mEndPNG(&bad), 0);
    }
    ASSERT_EQ(DecodePngMemory(Data(bytes), bytes.size(), &handle, &info, &size), 1);
    EXPECT_EQ(mGetPNGData(&handle, nullptr), 0);
    EXPECT_EQ(mEndPNG(&handle), 1);
}

TEST(PngLibrary, sidesOf32766OrMoreAndHugeHeadersAreRefusedAtTheHeader) {
    EXPECT_EQ(DecodeAll(Grey(32765, 1)), 1);
    EXPECT_EQ(DecodeAll(Grey(1, 32765)), 1);
    EXPECT_EQ(DecodeAll(Grey(32766, 1)), 0);
    EXPECT_EQ(DecodeAll(Grey(1, 32766)), 0);
    BitmapInfo info{};
    int32_t handle = 0, size = 0;
    for (auto [w, h] :
         {std::pair{100000u, 100000u}, {20000u, 20000u}, {0u, 5u}, {0x80000000u, 1u}}) {
        const std::string header = HeaderOnly(w, h);
        EXPECT_EQ(DecodePngMemory(Data(header), header.size(), &handle, &info, &size), 0)
            << w << "x" << h;
    }
}

TEST(PngLibrary, everyBufferTheDecodeNeedsIsBoundedByTheLimit) {
    const std::string plain = Sample(PNG_COLOR_TYPE_RGB, 8, false, 100, 100);
    EXPECT_EQ(DecodeAll(plain, 30000), 1);  // 300-byte rows, 100 of them
    EXPECT_EQ(DecodeAll(plain, 29999), 0);
    // De-interlacing holds the whole image as 8-bit RGBA: 40000 bytes.
    const std::string interlaced = Sample(PNG_COLOR_TYPE_RGB, 8, false, 100, 100, true);
    EXPECT_EQ(DecodeAll(interlaced, 40000), 1);
    EXPECT_EQ(DecodeAll(interlaced, 39999), 0);
    // ...and as 16-bit RGBA: 80000 bytes.
    const std::string deep = Sample(PNG_COLOR_TYPE_RGB, 16, false, 100, 100, true);
    EXPECT_EQ(DecodeAll(deep, 80000), 1);
    EXPECT_EQ(DecodeAll(deep, 79999), 0);
}

// Small valid files of several kinds, damaged in every possible way.
std::vector<std::string> SmallFiles() {
    return {Sample(PNG_COLOR_TYPE_PALETTE, 2, true, 3, 2),
            Sample(PNG_COLOR_TYPE_GRAY, 16, true, 2, 2),
            Sample(PNG_COLOR_TYPE_RGB_ALPHA, 8, false, 3, 3, true), Grey(1, 1)};
}

TEST(PngLibrary, everyTruncationFails) {
    for (const std::string& valid : SmallFiles()) {
        ASSERT_EQ(DecodeAll(valid), 1);
        for (std::size_t length = 0; length < valid.size(); ++length)
            ASSERT_EQ(DecodeAll(valid.substr(0, length)), 0) << "cut to " << length;
    }
}

TEST(PngLibrary, everySingleBitFlipFails) {
    for (const std::string& valid : SmallFiles()) {
        for (std::size_t bit = 0; bit < valid.size() * 8; ++bit) {
            std::string flipped = valid;
            flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
            ASSERT_EQ(DecodeAll(flipped), 0) << "bit " << bit << " of " << valid.size() * 8;
        }
    }
}

// After the signature and IHDR.
std::string WithChunkAfterHeader(const std::string& png, const std::string& chunk) {
    return png.substr(0, 33) + chunk + png.substr(33);
}

struct Decoded {
    bool Ok = false;
    std::vector<uint8_t> Bits;
    std::size_t Peak = 0;
};

Decoded DecodeCounted(const std::string& bytes) {
    auto decoder = PngDecoder::FromMemory({bytes.begin(), bytes.end()}, PngByteLimit);
    BitmapInfo info{};
    int32_t size = 0;
    Decoded result;
    if (decoder->ReadHeader(info, size)) {
        result.Bits.resize(static_cast<std::size_t>(size));
        result.Ok = decoder->ReadPixels(result.Bits.data());
    }
    result.Peak = decoder->PeakBytes();
    return result;
}

constexpr std::size_t OneMiB = std::size_t{1} << 20;

TEST(PngDecoderBudget, aChunkClaimingMoreThanTheStreamHoldsIsRefusedWithoutAllocating) {
    const std::string found = test::SpltLengthFind();
    const std::string valid = Sample(PNG_COLOR_TYPE_RGB, 8, false, 9, 5);
    const std::string rest = valid.substr(33);
    std::vector<std::string> claims = {found};
    for (uint32_t length : {uint32_t(rest.size() - 11), 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu})
        claims.push_back(valid.substr(0, 33) + test::BigEndian32(length) + "sPLT" + rest);
    for (const std::string& bytes : claims) {
        const Decoded decoded = DecodeCounted(bytes);
        EXPECT_FALSE(decoded.Ok);
        EXPECT_LT(decoded.Peak, OneMiB);
        EXPECT_EQ(DecodeAll(bytes), 0);
    }
    // The same length that exactly fits is an ordinary chunk.
    const std::string fits = WithChunkAfterHeader(valid, test::PngChunk("sPLT", "p\0\x08"));
    EXPECT_TRUE(DecodeCounted(fits).Ok);
}

TEST(PngDecoderBudget, chunksThatChangeNoPixelAreSkippedWhateverTheirSize) {
    const std::string plain = Sample(PNG_COLOR_TYPE_PALETTE, 8, true, 40, 30, true);
    const Decoded reference = DecodeCounted(plain);
    ASSERT_TRUE(reference.Ok);
    // Each alone is larger than everything libpng may hold besides the pixels.
    const std::string big(PngChunkAllowance + 1, 'a');
    for (const char* type : {"sPLT", "tEXt", "zTXt", "iTXt", "iCCP", "eXIf", "prVt"}) {
        const Decoded decoded =
            DecodeCounted(WithChunkAfterHeader(plain, test::PngChunk(type, big)));
        ASSERT_TRUE(decoded.Ok) << type;
        EXPECT_EQ(decoded.Bits, reference.Bits) << type;
        EXPECT_LT(decoded.Peak, reference.Peak + 64 * 1024) << type;
    }
}

TEST(PngDecoderBudget, theDecodeHoldsItsPixelBuffersAndASmallAllowanceAtMost) {
    // De-interlacing 16-bit RGBA holds the whole image: 8 bytes a pixel through the budget.
    const Decoded deep = DecodeCounted(Sample(PNG_COLOR_TYPE_RGB, 16, false, 300, 200, true));
    ASSERT_TRUE(deep.Ok);
    EXPECT_GE(deep.Peak, 300u * 200 * 8);
    EXPECT_LT(deep.Peak, 300u * 200 * 8 + OneMiB);
    const Decoded plain = DecodeCounted(Sample(PNG_COLOR_TYPE_GRAY, 1, false, 3000, 2000));
    ASSERT_TRUE(plain.Ok);
    EXPECT_LT(plain.Peak, OneMiB);
}

TEST(PngLibrary, theFileCallReadsTheSameAsTheMemoryCall) {
    const std::string bytes = Sample(PNG_COLOR_TYPE_PALETTE, 8, true, 9, 5, true);
    test::TempDir dir;
    test::WriteFile(dir / "p.png", bytes);
    BitmapInfo fileInfo{}, memoryInfo{};
    int32_t fileHandle = 0, memoryHandle = 0, fileSize = 0, memorySize = 0;
    ASSERT_EQ(mLoadPNG((dir / "p.png").c_str(), &fileHandle, &fileInfo, &fileSize), 1);
    ASSERT_EQ(DecodePngMemory(Data(bytes), bytes.size(), &memoryHandle, &memoryInfo, &memorySize),
              1);
    ASSERT_EQ(fileSize, memorySize);
    EXPECT_EQ(std::memcmp(&fileInfo, &memoryInfo, sizeof(BitmapInfo)), 0);
    std::vector<uint8_t> fromFile(fileSize), fromMemory(memorySize);
    EXPECT_EQ(mGetPNGData(&fileHandle, fromFile.data()), 1);
    EXPECT_EQ(mGetPNGData(&memoryHandle, fromMemory.data()), 1);
    EXPECT_EQ(fromFile, fromMemory);
    mEndPNG(&fileHandle);
    mEndPNG(&memoryHandle);
    int32_t handle = 0, size = 0;
    EXPECT_EQ(mLoadPNG((dir / "absent.png").c_str(), &handle, &fileInfo, &size), 0);
    EXPECT_EQ(mLoadPNG(dir.String().c_str(), &handle, &fileInfo, &size), 0);
}

}  // namespace
}  // namespace inkrelay
