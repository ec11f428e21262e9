#include "image/png_picture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include "code_of.h"

#include <filesystem>
#include <functional>
#include <string>

#include "image/bitmap_info.h"
#include "image/png_library.h"
#include "png_samples.h"
#include "png_writer.h"
#include "runtime_error.h"
#include "temp_dir.h"
#include "unprivileged.h"

namespace inkrelay {
namespace {

using test::PngImage;

using test::CodeOf;

void ExpectLoadsAsOnWhite(const PngImage& image, const Picture& picture) {
    ASSERT_EQ(picture.Width(), static_cast<int32_t>(image.Width));
    ASSERT_EQ(picture.Height(), static_cast<int32_t>(image.Height));
    for (uint32_t y = 0; y < image.Height; ++y)
        for (uint32_t x = 0; x < image.Width; ++x)
            ASSERT_EQ(picture.PixelAt(x, y), test::ExpectedOnWhite(image, x, y))
                << "at (" << x << "," << y << ")";
}

PngImage GreyAlpha8(uint32_t width, uint32_t height, std::vector<uint16_t> samples) {
    PngImage image;
    image.Width = width;
    image.Height = height;
    image.ColourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    image.Samples = std::move(samples);
    return image;
}

TEST(TakesPngPath, onlyLowerOrUpperCasePngEndingsGoToThePngLibrary) {
    EXPECT_TRUE(TakesPngPath("picture.png"));
    EXPECT_TRUE(TakesPngPath("PICTURE.PNG"));
    EXPECT_TRUE(TakesPngPath("png"));
    EXPECT_TRUE(TakesPngPath("noextpng"));
    EXPECT_FALSE(TakesPngPath("picture.Png"));
    EXPECT_FALSE(TakesPngPath("picture.pNG"));
    EXPECT_FALSE(TakesPngPath("picture.bmp"));
    EXPECT_FALSE(TakesPngPath("ng"));
    EXPECT_FALSE(TakesPngPath(""));
    EXPECT_FALSE(TakesPngPath("picture.png "));
}

TEST(LoadPngPicture, everyColourTypeAndBitDepthLoadsExactlyPlainAndInterlaced) {
    test::TempDir dir;
    uint32_t seed = 1;
    for (const test::PngKind& kind : test::AllPngKinds()) {
        for (bool interlaced : {false, true}) {
            for (auto [w, h] : {std::pair{1u, 1u}, {3u, 2u}, {13u, 7u}, {33u, 17u}}) {
                SCOPED_TRACE(testing::Message()
                             << "type " << kind.ColourType << " depth " << kind.BitDepth
                             << (kind.Transparency ? " tRNS" : "") << (interlaced ? " Adam7 " : " ")
                             << w << "x" << h);
                const PngImage image = test::RandomPngImage(kind, w, h, interlaced, seed++);
                const auto path = dir / "sample.png";
                test::WriteFile(path, test::EncodePng(image));
                Picture picture;
                ASSERT_EQ(CodeOf([&] { picture = LoadPngPicture(path.string()); }), 0);
                ASSERT_NO_FATAL_FAILURE(ExpectLoadsAsOnWhite(image, picture));
            }
        }
    }
}

TEST(LoadPngPicture, alphaIsCompositedOntoWhiteRoundedToNearest) {
    std::vector<uint16_t> samples;
    for (uint16_t a = 0; a < 256; ++a)
        for (uint16_t c = 0; c < 256; ++c) samples.insert(samples.end(), {c, a});
    const PngImage image = GreyAlpha8(256, 256, samples);
    test::TempDir dir;
    test::WriteFile(dir / "alpha.png", test::EncodePng(image));
    const Picture picture = LoadPngPicture((dir / "alpha.png").string());
    ASSERT_NO_FATAL_FAILURE(ExpectLoadsAsOnWhite(image, picture));
    // (1·128 + 255·127) / 255 = 127.502: nearest gives 128 where truncation would give 127.
    EXPECT_EQ(picture.PixelAt(1, 128), 0x808080u);
    // (100·100 + 255·155) / 255 = 194.22.
    EXPECT_EQ(picture.PixelAt(100, 100), 0xC2C2C2u);
    for (int32_t c = 0; c < 256; ++c) {
        ASSERT_EQ(picture.PixelAt(c, 0), 0xFFFFFFu) << "fully transparent " << c;
        ASSERT_EQ(picture.PixelAt(c, 255), static_cast<uint32_t>(c) * 0x010101u) << "opaque " << c;
    }
}

TEST(LoadPngPicture, sixteenBitAlphaUsesAllSixteenBits) {
    PngImage image;
    image.Width = 6;
    image.Height = 1;
    image.ColourType = PNG_COLOR_TYPE_RGB_ALPHA;
    image.BitDepth = 16;
    // Opaque 129 / 257 = 0.502 rounds to 1, which the high byte alone (0) would miss.
    image.Samples = {128, 129,   32896, 65535, 65535, 0, 65535, 0,     0,     0,   0,     0,
                     0,   65535, 65535, 32768, 0,     0, 0,     32767, 40000, 257, 65534, 65535};
    test::TempDir dir;
    test::WriteFile(dir / "deep.png", test::EncodePng(image));
    const Picture picture = LoadPngPicture((dir / "deep.png").string());
    ASSERT_NO_FATAL_FAILURE(ExpectLoadsAsOnWhite(image, picture));
    EXPECT_EQ(picture.PixelAt(0, 0), 0x800100u);  // 128 / 257, 129 / 257, 32896 / 257
    EXPECT_EQ(picture.PixelAt(1, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.PixelAt(3, 0), 0xFFFF7Fu);  // 32767 · 255 / 65535 = 127.498
}

TEST(LoadPngPicture, describesA24BitBottomUpDibWithPaddedRows) {
    PngImage image;
    image.Width = 3;
    image.Height = 2;
    image.Samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    test::TempDir dir;
    test::WriteFile(dir / "rgb.png", test::EncodePng(image));
    BitmapInfo info{};
    int32_t handle = 0, size = 0;
    ASSERT_EQ(mLoadPNG((dir / "rgb.png").c_str(), &handle, &info, &size), 1);
    EXPECT_EQ(info.Header.Size, 40u);
    EXPECT_EQ(info.Header.Width, 3);
    EXPECT_EQ(info.Header.Height, 2);
    EXPECT_EQ(info.Header.Planes, 1);
    EXPECT_EQ(info.Header.BitCount, 24);
    EXPECT_EQ(info.Header.Compression, BiRgb);
    EXPECT_EQ(info.Header.SizeImage, 24u);
    EXPECT_EQ(size, 24);
    std::vector<uint8_t> bits(24, 0xEE);
    EXPECT_EQ(mGetPNGData(&handle, bits.data()), 1);
    EXPECT_EQ(mEndPNG(&handle), 1);
    EXPECT_EQ(handle, 0);
    const std::vector<uint8_t> expected = {12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,
                                           3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
    EXPECT_EQ(bits, expected);
}

class PngLoadFailure : public testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        test::WriteFile(dir_ / name, bytes);
        return (dir_ / name).string();
    }
    std::string Valid() {
        return test::EncodePng(
            test::RandomPngImage({PNG_COLOR_TYPE_PALETTE, 4, true}, 5, 4, false, 99));
    }
    test::TempDir dir_;
};

TEST_F(PngLoadFailure, missingFilesAndFoldersRaiseTheirFileErrors) {
    EXPECT_EQ(CodeOf([&] { LoadPngPicture((dir_ / "absent.png").string()); }),
              ErrorCode::FileNotFound);
    EXPECT_EQ(CodeOf([&] { LoadPngPicture((dir_ / "no" / "absent.png").string()); }),
              ErrorCode::FileNotFound);
    EXPECT_EQ(CodeOf([] { LoadPngPicture(""); }), ErrorCode::FileNotFound);
    std::filesystem::create_directory(dir_ / "folder.png");
    EXPECT_EQ(CodeOf([&] { LoadPngPicture((dir_ / "folder.png").string()); }),
              ErrorCode::PathFileAccessError);
}

TEST_F(PngLoadFailure, anUnreadableFileRaisesPermissionDenied) {
    const std::string path = Write("locked.png", Valid());
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    ASSERT_EQ(chmod(dir_.String().c_str(), 0755), 0);
    const int code = test::RunUnprivileged([&] { return CodeOf([&] { LoadPngPicture(path); }); });
    EXPECT_EQ(code, ErrorCode::PermissionDenied);
}

TEST_F(PngLoadFailure, damagedOrForeignContentRaisesInvalidPicture) {
    const std::string valid = Valid();
    ASSERT_EQ(CodeOf([&] { LoadPngPicture(Write("valid.png", valid)); }), 0);
    EXPECT_EQ(CodeOf([&] { LoadPngPicture(Write("empty.png", "")); }), ErrorCode::InvalidPicture);
    EXPECT_EQ(CodeOf([&] { LoadPngPicture(Write("text.png", "just some words\n")); }),
              ErrorCode::InvalidPicture);
    for (size_t length = 1; length < valid.size(); length += 3)
        ASSERT_EQ(CodeOf([&] { LoadPngPicture(Write("cut.png", valid.substr(0, length))); }),
                  ErrorCode::InvalidPicture)
            << "cut to " << length;
    for (size_t bit = 0; bit < valid.size() * 8; bit += 5) {
        std::string flipped = valid;
        flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
        ASSERT_EQ(CodeOf([&] { LoadPngPicture(Write("flip.png", flipped)); }),
                  ErrorCode::InvalidPicture)
            << "bit " << bit;
    }
}

TEST_F(PngLoadFailure, aChunkLongerThanTheFileIsAnInvalidPicture) {
    EXPECT_EQ(CodeOf([&] { LoadPngPicture(Write("found.png", test::SpltLengthFind())); }),
              ErrorCode::InvalidPicture);
}

TEST_F(PngLoadFailure, aHeaderClaimingAHugeImageIsRefusedBeforeAnyPixelBuffer) {
    const std::string ihdr = test::BigEndian32(100000) + test::BigEndian32(100000) +
                             std::string("\x08\x02\x00\x00\x00", 5);
    const std::string huge =
        test::PngSignature() + test::PngChunk("IHDR", ihdr) +
        test::PngChunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
        test::PngChunk("IEND", "");
    EXPECT_EQ(CodeOf([&] { LoadPngPicture(Write("huge.png", huge)); }), ErrorCode::InvalidPicture);
}

}  // namespace
}  // namespace inkrelay
