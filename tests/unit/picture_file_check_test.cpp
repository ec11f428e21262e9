// Files that end before their picture data, by the structure of each format.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/picture_file_check.h"

namespace inkrelay {
namespace {

bool Cut(const std::string& bytes) {
    return PictureDataCut({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::string Le32(uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

// A 3 × 2 BMP of `bits` per pixel: 54 bytes of headers, then rows padded to 4 bytes.
std::string Bmp(uint32_t bits, int32_t height, uint32_t compression = 0, uint32_t imageSize = 0) {
    std::string b = "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(3) +
                    Le32(static_cast<uint32_t>(height)) + std::string("\1\0", 2) +
                    std::string{static_cast<char>(bits), 0} + Le32(compression) + Le32(imageSize) +
                    std::string(16, '\0');
    return b;
}

TEST(PictureDataCut, aBmpMustHoldAllItsRowsWhicheverWayItRuns) {
    const std::string header = Bmp(24, 2);
    EXPECT_FALSE(Cut(header + std::string(2 * 12, 'x')));  // 9 bytes padded to 12 a row
    EXPECT_TRUE(Cut(header + std::string(2 * 12 - 1, 'x')));
    EXPECT_TRUE(Cut(Bmp(24, -2) + std::string(12, 'x')));  // top-down
    EXPECT_FALSE(Cut(Bmp(1, 2) + std::string(8, 'x')));
    EXPECT_TRUE(Cut(Bmp(8, 2, 1, 30) + std::string(29, 'x')));  // run-length: its stated size
    EXPECT_TRUE(Cut(header.substr(0, 30)));
}

TEST(PictureDataCut, aJpegMustEndItsLastScan) {
    const std::string start = "\xFF\xD8\xFF\xE0\x00\x02";
    const std::string scan = "\xFF\xDA\x00\x02\x12\xFF\x00\x34";
    EXPECT_FALSE(Cut(start + scan + "\xFF\xD9"));
    EXPECT_FALSE(Cut(start + scan + "\xFF\xD9" + "trailing"));
    EXPECT_TRUE(Cut(start + scan));
    EXPECT_TRUE(Cut(start + "\xFF\xD9" + scan));  // an end marker before the scan is a thumbnail's
    EXPECT_TRUE(Cut(start));
}

// A frame header of width × height with one component sampled h × v, or three at 2 × 2, 1, 1.
std::string Frame(char type, uint16_t width, uint16_t height, bool colour) {
    std::string f = std::string("\xFF") + type + std::string(1, '\0') +
                    static_cast<char>(colour ? 17 : 11) + '\x08' + static_cast<char>(height >> 8) +
                    static_cast<char>(height) + static_cast<char>(width >> 8) +
                    static_cast<char>(width) + static_cast<char>(colour ? 3 : 1);
    f += colour ? std::string("\x01\x22\0\x02\x11\x01\x03\x11\x01", 9)
                : std::string("\x01\x11\0", 3);
    return f;
}

TEST(PictureDataCut, aJpegMustHoldABitForEveryBlockItsFrameDeclares) {
    const std::string start = "\xFF\xD8";
    const std::string end("\xFF\xDA\x00\x02\x12\x34\xFF\xD9", 8);
    // 800 × 800 grey is 10,000 blocks: 1,250 bytes at the least, the headers counted.
    const std::string grey = start + Frame('\xC0', 800, 800, false);
    EXPECT_FALSE(Cut(grey + std::string(1250 - grey.size() - end.size(), 'x') + end));
    EXPECT_TRUE(Cut(grey + std::string(1249 - grey.size() - end.size(), 'x') + end));
    // At 2 × 2 sampling an MCU covers 16 × 16: 2,500 MCUs, 313 bytes.
    const std::string colour = start + Frame('\xC2', 800, 800, true);
    EXPECT_FALSE(Cut(colour + std::string(313 - colour.size() - end.size(), 'x') + end));
    EXPECT_TRUE(Cut(start + Frame('\xC1', 65500, 65500, true) + end));
    // Arithmetic coding can spend less than a bit a block; an Exif thumbnail's frame is skipped.
    EXPECT_FALSE(Cut(start + Frame('\xC9', 65500, 65500, true) + end));
    const std::string thumbnail = Frame('\xC0', 65500, 65500, false);
    const std::string app1 =
        std::string("\xFF\xE1\0", 3) + static_cast<char>(2 + thumbnail.size()) + thumbnail;
    EXPECT_FALSE(Cut(start + app1 + Frame('\xC0', 8, 8, false) + end));
}

TEST(PictureDataCut, aGifMustHoldAWholeImage) {
    // Screen 1 × 1 with a two-colour table, a comment, one image of one data block.
    const std::string header = std::string("GIF89a\1\0\1\0\x80\0\0", 13) + std::string(6, '\0');
    const std::string comment = std::string("\x21\xFE\x02hi\x00", 6);
    const std::string image = std::string("\x2C\0\0\0\0\1\0\1\0\0\x02\x02\x44\x01\x00", 15);
    EXPECT_FALSE(Cut(header + comment + image + ";"));
    EXPECT_FALSE(Cut(header + comment + image));  // no trailer
    for (size_t length = 6; length < (header + comment + image).size(); ++length)
        EXPECT_TRUE(Cut((header + comment + image).substr(0, length))) << length;
}

// The general loader reads PNG files of other names too, with a libpng that trusts the lengths.
TEST(PictureDataCut, aPngMustHoldEveryChunkItAnnouncesUpToIend) {
    const std::string signature = "\x89PNG\r\n\x1a\n";
    const auto chunk = [](uint32_t length, const std::string& type, std::size_t dataHeld) {
        return std::string{static_cast<char>(length >> 24), static_cast<char>(length >> 16),
                           static_cast<char>(length >> 8), static_cast<char>(length)} +
               type + std::string(dataHeld + 4, 'c');
    };
    const std::string head = signature + chunk(13, "IHDR", 13);
    EXPECT_FALSE(Cut(head + chunk(5, "IDAT", 5) + chunk(0, "IEND", 0)));
    EXPECT_FALSE(Cut(head + chunk(0, "IEND", 0) + "whatever follows"));
    EXPECT_TRUE(Cut(head + chunk(6, "IDAT", 5) + chunk(0, "IEND", 0)));  // one byte short
    EXPECT_TRUE(Cut(head + chunk(0x75736273, "sPLT", 60)));
    EXPECT_TRUE(Cut(head + chunk(0x80000000, "IDAT", 0)));
    EXPECT_TRUE(Cut(head + chunk(5, "IDAT", 5)));  // no IEND
    EXPECT_TRUE(Cut(head.substr(0, 20)));
    EXPECT_TRUE(Cut(signature));
}

TEST(PictureDataCut, otherFormatsAreLeftToTheirDecoder) {
    EXPECT_FALSE(Cut("\x89PNG\r\n\x1a"));
    EXPECT_FALSE(Cut("II*\0"));
    EXPECT_FALSE(Cut(""));
}

}  // namespace
}  // namespace inkrelay
