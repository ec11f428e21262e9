// The Windows picture services under wine: the corpus through the open command's loader, file
// failures and their codes, the size limits, and the clipboard's three picture formats.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/picture_loading.h"
#include "code_of.h"
#include "picture_corpus.h"
#include "runtime_error.h"
#include "temp_dir.h"
#include "wic_pictures.h"

namespace inkrelay::test {
namespace {

using win32::ClipboardHasPictureWin32;
using win32::ClipboardPictureWin32;
using win32::ReadPictureBytesWic;
using win32::ReadPictureFileWic;

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

TEST(WicPictures, theCorpusLoadsThroughTheOpenCommandAsListed) {
    ExpectCorpusLoads(CorpusFolder(), [](const std::string& path) {
        return LoadPictureFile(path, ReadPictureFileWic);
    });
}

TEST(WicPictures, aFolderOfJapaneseNameWithSpacesIsRead) {
    TempDir temp;
    const std::filesystem::path folder = temp.Path() / u8"日本語の フォルダ";
    std::filesystem::create_directory(folder);
    const std::filesystem::path copy = folder / u8"絵 一.bmp";
    std::filesystem::copy_file(CorpusFolder() / "bmp-24bit.bmp", copy);
    const Picture original = ReadPictureFileWic(Utf8(CorpusFolder() / "bmp-24bit.bmp"));
    EXPECT_EQ(ReadPictureFileWic(Utf8(copy)), original);
    EXPECT_EQ(LoadPictureFile(Utf8(copy), ReadPictureFileWic), original);
}

TEST(WicPictures, fileFailuresHaveTheQtBuildsCodes) {
    TempDir temp;
    const auto code = [](const std::filesystem::path& path) {
        return CodeOf([&] { ReadPictureFileWic(Utf8(path)); });
    };
    EXPECT_EQ(code(temp / "missing.bmp"), ErrorCode::FileNotFound);
    EXPECT_EQ(code(temp / "no" / "missing.bmp"), ErrorCode::FileNotFound);
    EXPECT_EQ(CodeOf([] { ReadPictureFileWic(""); }), ErrorCode::FileNotFound);
    std::filesystem::create_directory(temp / "folder.bmp");
    EXPECT_EQ(code(temp / "folder.bmp"), ErrorCode::PathFileAccessError);
    EXPECT_EQ(CodeOf([&] { ReadPictureFileWic(Utf8(temp.Path()) + "\\\xFF\xFE.bmp"); }),
              ErrorCode::BadFileNameOrNumber);

    // A file another program holds without sharing it.
    const std::filesystem::path held = temp / "held.bmp";
    std::filesystem::copy_file(CorpusFolder() / "bmp-24bit.bmp", held);
    const HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(code(held), ErrorCode::PermissionDenied);
    CloseHandle(holder);
    EXPECT_EQ(code(held), 0);

    WriteFile(temp / "empty.gif", "");
    EXPECT_EQ(code(temp / "empty.gif"), ErrorCode::InvalidPicture);
    WriteFile(temp / "words.jpg", "\xFF\xD8\xFF this is no JPEG");
    EXPECT_EQ(code(temp / "words.jpg"), ErrorCode::InvalidPicture);
}

void Append16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}
void Append32(std::string& out, uint32_t v) {
    Append16(out, v & 0xFFFF);
    Append16(out, v >> 16);
}

// A 24-bit bottom-up BMP file, every pixel 0x00BBGGRR colour.
std::string PlainBmp(uint32_t width, uint32_t height, uint32_t colour) {
    const uint32_t stride = (width * 3 + 3) / 4 * 4;
    std::string out = "BM";
    Append32(out, 54 + stride * height);
    Append32(out, 0);
    Append32(out, 54);
    for (const uint32_t v : {40u, width, height}) Append32(out, v);
    Append16(out, 1);
    Append16(out, 24);
    for (const uint32_t v : {0u, stride * height, 0u, 0u, 0u, 0u}) Append32(out, v);
    std::string row(stride, '\0');
    for (uint32_t x = 0; x < width; ++x) {
        row[3 * x] = static_cast<char>(colour >> 16);
        row[3 * x + 1] = static_cast<char>(colour >> 8);
        row[3 * x + 2] = static_cast<char>(colour);
    }
    for (uint32_t y = 0; y < height; ++y) out += row;
    return out;
}

TEST(WicPictures, aSideOf32766IsRefusedAndOneLessIsRead) {
    EXPECT_EQ(CodeOf([] { ReadPictureBytesWic(PlainBmp(32766, 1, 0x030201)); }),
              ErrorCode::InvalidPicture);
    EXPECT_EQ(CodeOf([] { ReadPictureBytesWic(PlainBmp(1, 32766, 0x030201)); }),
              ErrorCode::InvalidPicture);
    const Picture widest = ReadPictureBytesWic(PlainBmp(32765, 1, 0x030201));
    EXPECT_EQ(widest.Width(), 32765);
    EXPECT_EQ(widest.PixelAt(32764, 0), 0x030201u);
}

// A header's sides, not the decoder's allocation, refuse a picture larger than the program takes:
// a GIF canvas of 6000 × 6000 (144 MB decoded) around a one-pixel image.
TEST(WicPictures, aHeaderClaimingAHugePictureIsRefusedBeforeDecoding) {
    const auto gif = [](uint32_t side) {
        std::string out = "GIF89a";
        Append16(out, side);
        Append16(out, side);
        out += std::string("\x80\x00\x00", 3);              // a two-entry global table
        out += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);  // black, white
        out += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
        out += std::string("\x02\x02\x4C\x01\x00\x3B", 6);  // one white pixel
        return out;
    };
    EXPECT_EQ(CodeOf([&] { ReadPictureBytesWic(gif(6000)); }), ErrorCode::InvalidPicture);
    EXPECT_EQ(CodeOf([&] { ReadPictureBytesWic(gif(40000)); }), ErrorCode::InvalidPicture);
    EXPECT_EQ(CodeOf([&] { ReadPictureBytesWic(gif(1)); }), 0);

    // An IHDR of 40000 × 1 over no image data.
    const char png[] =
        "\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR\x00\x00\x9C\x40\x00\x00\x00\x01\x08\x02\x00\x00"
        "\x00\x00\x00\x00\x00\x00\x00\x00\x00IEND\xAE\x42\x60\x82";
    EXPECT_EQ(CodeOf([&] { ReadPictureBytesWic(std::string(png, sizeof png - 1)); }),
              ErrorCode::InvalidPicture);
}

// The clipboard, owned by a window of the test's own for as long as it puts something there.
class Clipboard : public testing::Test {
  protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 1, 1, HWND_MESSAGE,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        if (owner_ != nullptr)
            DestroyWindow(owner_);
    }

    // Empties the clipboard and gives it data in format; the clipboard owns data afterwards.
    void Put(UINT format, HANDLE data) {
        ASSERT_TRUE(OpenClipboard(owner_));
        ASSERT_TRUE(EmptyClipboard());
        if (data != nullptr) {
            ASSERT_NE(SetClipboardData(format, data), nullptr);
        }
        ASSERT_TRUE(CloseClipboard());
    }
    static HGLOBAL Block(const std::string& bytes) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (block == nullptr)
            return nullptr;
        void* to = GlobalLock(block);
        std::memcpy(to, bytes.data(), bytes.size());
        GlobalUnlock(block);
        return block;
    }

    HWND owner_ = nullptr;
};

// A BITMAPINFOHEADER for the DIB tests, 24 bits, bottom-up when height is positive.
std::string InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                       uint32_t size = 40) {
    std::string out;
    Append32(out, size);
    Append32(out, static_cast<uint32_t>(width));
    Append32(out, static_cast<uint32_t>(height));
    Append16(out, 1);
    Append16(out, bits);
    Append32(out, compression);
    for (int k = 0; k < 5; ++k) Append32(out, 0);
    return out;
}

TEST_F(Clipboard, withoutAPictureItRaises460) {
    Put(0, nullptr);
    EXPECT_FALSE(ClipboardHasPictureWin32());
    EXPECT_EQ(CodeOf([] { ClipboardPictureWin32(); }), ErrorCode::InvalidClipboardFormat);
    Put(CF_TEXT, Block(std::string("words\0", 6)));
    EXPECT_FALSE(ClipboardHasPictureWin32());
    EXPECT_EQ(CodeOf([] { ClipboardPictureWin32(); }), ErrorCode::InvalidClipboardFormat);
}

TEST_F(Clipboard, aPackedDibIsReadBottomRowFirst) {
    // 2 × 2: bottom row red, green; top row blue, white; rows padded to 8 bytes.
    std::string dib = InfoHeader(2, 2, 24, BI_RGB);
    dib += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    dib += std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8);
    Put(CF_DIB, Block(dib));
    EXPECT_TRUE(ClipboardHasPictureWin32());
    const Picture picture = ClipboardPictureWin32();
    ASSERT_EQ(picture.Width(), 2);
    ASSERT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.PixelAt(0, 1), 0x0000FFu);
    EXPECT_EQ(picture.PixelAt(1, 1), 0x00FF00u);
    EXPECT_EQ(picture.PixelAt(0, 0), 0xFF0000u);
    EXPECT_EQ(picture.PixelAt(1, 0), 0xFFFFFFu);

    // The header claims more rows than the block holds.
    Put(CF_DIB, Block(InfoHeader(2, 200, 24, BI_RGB) + std::string(16, '\0')));
    EXPECT_TRUE(ClipboardHasPictureWin32());
    EXPECT_EQ(CodeOf([] { ClipboardPictureWin32(); }), ErrorCode::InvalidClipboardFormat);
}

TEST_F(Clipboard, aV5DibWithColourMasksIsRead) {
    // 32 bits top-down with the masks inside the 124-byte header: red 0x00FF0000 and so on.
    std::string dib = InfoHeader(2, -1, 32, BI_BITFIELDS, 124);
    for (const uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
        Append32(dib, mask);
    dib += std::string(124 - dib.size(), '\0');
    Append32(dib, 0xFF102030);
    Append32(dib, 0xFFA0B0C0);
    Put(CF_DIBV5, Block(dib));
    EXPECT_TRUE(ClipboardHasPictureWin32());
    const Picture picture = ClipboardPictureWin32();
    ASSERT_EQ(picture.Width(), 2);
    ASSERT_EQ(picture.Height(), 1);
    EXPECT_EQ(picture.PixelAt(0, 0), 0x302010u);
    EXPECT_EQ(picture.PixelAt(1, 0), 0xC0B0A0u);
}

TEST_F(Clipboard, aBitmapHandleComesThroughTheClipboardsOwnConversion) {
    // 3 × 2, 32 bits a pixel, top row first as CreateBitmap takes it: BGRX.
    const uint32_t bits[6] = {0x00FF0000, 0x0000FF00, 0x000000FF,
                              0x00102030, 0x00405060, 0x00708090};
    HBITMAP bitmap = CreateBitmap(3, 2, 1, 32, bits);
    ASSERT_NE(bitmap, nullptr);
    Put(CF_BITMAP, bitmap);  // the clipboard owns it from here
    EXPECT_TRUE(ClipboardHasPictureWin32());
    const Picture picture = ClipboardPictureWin32();
    ASSERT_EQ(picture.Width(), 3);
    ASSERT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.PixelAt(0, 0), 0x0000FFu);  // BGRX 0x00FF0000 is red
    EXPECT_EQ(picture.PixelAt(1, 0), 0x00FF00u);
    EXPECT_EQ(picture.PixelAt(2, 0), 0xFF0000u);
    EXPECT_EQ(picture.PixelAt(0, 1), 0x302010u);
    EXPECT_EQ(picture.PixelAt(2, 1), 0x908070u);
}

}  // namespace
}  // namespace inkrelay::test

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const inkrelay::win32::ComApartment com;
    return RUN_ALL_TESTS();
}
