// Qt's general picture loader behind the open command: formats, failures and their codes.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <filesystem>

#include "image/png_picture.h"
#include "picture_reader.h"
#include "png_writer.h"
#include "runtime_error.h"
#include "temp_dir.h"
#include "tiny_gif.h"
#include "unprivileged.h"

namespace inkrelay::test {
namespace {

int32_t FailureCode(const std::string& path) {
    try {
        ui::ReadPictureFile(path);
    } catch (const RuntimeError& error) {
        return error.Code();
    }
    return 0;
}

TEST(PictureReader, fileFailuresAndUndecodableDataHaveTheirCodes) {
    TempDir folder;
    EXPECT_EQ(FailureCode((folder / "missing.bmp").string()), ErrorCode::FileNotFound);
    std::filesystem::create_directory(folder / "folder.bmp");
    EXPECT_EQ(FailureCode((folder / "folder.bmp").string()), ErrorCode::PathFileAccessError);
    WriteFile(folder / "garbage.jpg", "\xFF\xD8\xFF this is no JPEG");
    EXPECT_EQ(FailureCode((folder / "garbage.jpg").string()), ErrorCode::InvalidPicture);
    WriteFile(folder / "empty.gif", "");
    EXPECT_EQ(FailureCode((folder / "empty.gif").string()), ErrorCode::InvalidPicture);
}

TEST(PictureReader, aSideOf32766IsRefusedAndOneLessIsRead) {
    TempDir folder;
    for (const auto& [width, height, code] : {std::tuple{32766, 1, ErrorCode::InvalidPicture},
                                              {1, 32766, ErrorCode::InvalidPicture},
                                              {32765, 1, 0}}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(1, 2, 3));
        const std::string path = (folder / "side.bmp").string();
        ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP"));
        EXPECT_EQ(FailureCode(path), code);
    }
    EXPECT_EQ(ui::ReadPictureFile((folder / "side.bmp").string()).PixelAt(32764, 0), 0x030201u);
}

TEST(PictureReader, alphaIsCompositedOntoWhiteAndPixelsAreBgr) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 100, 50, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    image.setPixel(2, 0, qRgba(0, 0, 255, 128));
    const Picture picture = ui::PictureFromImage(image);
    EXPECT_EQ(picture.PixelAt(0, 0), 0x3264C8u);
    EXPECT_EQ(picture.PixelAt(1, 0), 0xFFFFFFu);
    // 255 · 128/255 + 255 · 127/255 for blue, 127 for red and green.
    EXPECT_EQ(picture.PixelAt(2, 0), 0xFF7F7Fu);
    EXPECT_THROW(ui::PictureFromImage(QImage()), RuntimeError);
}

}  // namespace
}  // namespace inkrelay::test

namespace inkrelay::test {
namespace {

std::string Encoded(const char* format) {
    QImage image(9, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) image.setPixel(x, y, qRgb(x * 28, y * 36, 200));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        ADD_FAILURE() << "cannot write " << format;
    return bytes.toStdString();
}

// A damaged file either fails as a bad picture or still decodes to a picture the program can
// hold; it never takes the program down.
void ExpectDamageHandled(const TempDir& folder, const std::string& name, const std::string& bytes) {
    const std::string path = (folder / name).string();
    WriteFile(path, bytes);
    try {
        const Picture picture = ui::ReadPictureFile(path);
        EXPECT_FALSE(picture.IsEmpty());
        EXPECT_LT(picture.Width(), 32766);
        EXPECT_LT(picture.Height(), 32766);
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Code(), ErrorCode::InvalidPicture);
    }
}

TEST(PictureReader, truncatedAndBitFlippedFilesOfEveryFormatAreHandled) {
    TempDir folder;
    const std::vector<std::pair<std::string, std::string>> samples = {
        {"sample.bmp", Encoded("BMP")}, {"sample.jpg", Encoded("JPEG")}, {"sample.gif", TinyGif()}};
    for (const auto& [name, valid] : samples) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(valid.empty());
        const std::string whole = (folder / name).string();
        WriteFile(whole, valid);
        ASSERT_EQ(FailureCode(whole), 0);
        // Cut anywhere: refused, never filled with what the file does not hold. A GIF without
        // only its trailer still holds its whole picture.
        const std::size_t wholePicture = name == "sample.gif" ? valid.size() - 1 : valid.size();
        for (std::size_t length = 1; length < wholePicture; ++length) {
            WriteFile(whole, valid.substr(0, length));
            EXPECT_EQ(FailureCode(whole), ErrorCode::InvalidPicture) << length;
        }
        for (std::size_t length = 0; length < valid.size(); length += 3)
            ExpectDamageHandled(folder, "cut-" + name, valid.substr(0, length));
        for (std::size_t bit = 0; bit < valid.size() * 8; bit += 5) {
            std::string flipped = valid;
            flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
            ExpectDamageHandled(folder, "flip-" + name, flipped);
        }
    }
}

TEST(PictureReader, aHeaderClaimingAHugePictureIsRefusedWithoutDecodingIt) {
    // A 30000 × 30000 24-bit BMP header with no pixels behind it: past the decoder's allocation
    // limit, so it must be refused from the header alone.
    std::string bmp(54, '\0');
    auto put32 = [&](std::size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54 + 30000u * 90000u);
    put32(10, 54);
    put32(14, 40);
    put32(18, 30000);
    put32(22, 30000);
    bmp[26] = 1;
    bmp[28] = 24;
    TempDir folder;
    WriteFile(folder / "bomb.bmp", bmp);
    EXPECT_EQ(FailureCode((folder / "bomb.bmp").string()), ErrorCode::InvalidPicture);
}

TEST(PictureReader, aFileThatMayNotBeReadIsPermissionDenied) {
    TempDir folder;
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::all);
    const std::string path = (folder / "private.bmp").string();
    WriteFile(path, Encoded("BMP"));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_EQ(RunUnprivileged([&] { return FailureCode(path); }), ErrorCode::PermissionDenied);
}

}  // namespace
}  // namespace inkrelay::test

namespace inkrelay::test {
namespace {

TEST(PictureReader, aClipboardPictureTooLargeToHoldIsABadPicture) {
    // One bit a pixel keeps the test small; 2^27 + 16384 pixels are more than a picture holds.
    const QImage huge(16384, 8193, QImage::Format_Mono);
    ASSERT_FALSE(huge.isNull());
    try {
        ui::PictureFromImage(huge);
        ADD_FAILURE() << "accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Code(), ErrorCode::InvalidPicture);
    }
}

}  // namespace
}  // namespace inkrelay::test

namespace inkrelay::test {
namespace {

// Both loaders composite onto white by one rule: a 16-bit PNG read by the general reader gives
// the PNG decoder's colours, not those of its high bytes.
TEST(PictureReader, sixteenBitPicturesMatchThePngDecoder) {
    PngImage image;
    image.Width = 64;
    image.Height = 4;
    image.ColourType = PNG_COLOR_TYPE_RGB_ALPHA;
    image.BitDepth = 16;
    uint32_t seed = 12345;
    for (uint32_t k = 0; k < image.Width * image.Height * 4; ++k) {
        seed = seed * 1103515245 + 12345;
        image.Samples.push_back(static_cast<uint16_t>(seed >> 8));
    }
    TempDir folder;
    const std::string path = (folder / "deep.png").string();
    WriteFile(path, EncodePng(image));
    const Picture general = ui::ReadPictureFile(path);
    const Picture decoded = LoadPngPicture(path);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 64; ++x)
            ASSERT_EQ(general.PixelAt(x, y), decoded.PixelAt(x, y)) << x << ", " << y;
}

}  // namespace
}  // namespace inkrelay::test
