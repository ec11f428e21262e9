#include "image/picture_file_check.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>

namespace inkrelay {

namespace {

uint32_t Le16(std::span<const uint8_t> b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8;
}
uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

bool BmpCut(std::span<const uint8_t> b) {
    if (b.size() < 18)
        return true;
    const uint64_t dataAt = Le32(b, 10);
    const uint32_t headerSize = Le32(b, 14);
    if (b.size() < 14 + uint64_t{headerSize})
        return true;
    uint64_t width = 0, height = 0, bits = 0, compression = 0, imageSize = 0;
    if (headerSize == 12) {  // the OS/2 core header
        width = Le16(b, 18);
        height = Le16(b, 20);
        bits = Le16(b, 24);
    } else if (headerSize >= 40) {
        width = static_cast<uint64_t>(std::llabs(static_cast<int32_t>(Le32(b, 18))));
        height = static_cast<uint64_t>(std::llabs(static_cast<int32_t>(Le32(b, 22))));
        bits = Le16(b, 28);
        compression = Le32(b, 30);
        imageSize = Le32(b, 34);
    } else {
        return false;  // a header the decoder judges for itself
    }
    constexpr uint32_t Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6;
    if (compression == Rgb || compression == BitFields || compression == AlphaBitFields) {
        const uint64_t stride = (width * bits + 31) / 32 * 4;
        return b.size() < dataAt + stride * height;
    }
    if (compression == Rle8 || compression == Rle4)
        return b.size() < dataAt + imageSize;
    return false;
}

uint32_t Be16(std::span<const uint8_t> b, size_t at) {
    return uint32_t{b[at]} << 8 | b[at + 1];
}

// The MCUs of the first frame by its header, when it is Huffman-coded (baseline, extended or
// progressive); 0 when there is no such header before the first scan. The walk goes segment by
// segment, so an Exif thumbnail's own frame inside APP1 is not taken for the picture's.
uint64_t HuffmanMcus(std::span<const uint8_t> b) {
    size_t at = 2;
    while (at + 4 <= b.size() && b[at] == 0xFF) {
        const uint8_t marker = b[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return 0;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        const size_t length = Be16(b, at + 2);
        if (length < 2)
            return 0;
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            if (at + 12 > b.size() || length < 8)
                return 0;
            const uint64_t height = Be16(b, at + 5);
            const uint64_t width = Be16(b, at + 7);
            const size_t components = b[at + 9];
            uint64_t hMax = 1, vMax = 1;
            for (size_t c = 0; c < components && at + 12 + 3 * c < b.size(); ++c) {
                const uint8_t sampling = b[at + 11 + 3 * c];
                hMax = std::max<uint64_t>(hMax, std::clamp(sampling >> 4, 1, 4));
                vMax = std::max<uint64_t>(vMax, std::clamp(sampling & 15, 1, 4));
            }
            return ((width + 8 * hMax - 1) / (8 * hMax)) * ((height + 8 * vMax - 1) / (8 * vMax));
        }
        at += 2 + length;
    }
    return 0;
}

bool JpegCut(std::span<const uint8_t> b) {
    // Inside a scan a 0xFF byte is followed by 0 or a restart marker, so 0xFF 0xDA is always a
    // scan header, and the last one must be followed by the end of the picture.
    size_t lastScan = 0;
    for (size_t k = 2; k + 1 < b.size(); ++k)
        if (b[k] == 0xFF && b[k + 1] == 0xDA)
            lastScan = k;
    if (lastScan == 0)
        return true;
    // A Huffman code is at least one bit, and the first scan codes at least one for every MCU:
    // a file with fewer bits than MCUs is not all there, however it ends. The decoder would
    // otherwise allocate and decode a whole picture of the header's size from a few bytes.
    if (HuffmanMcus(b) > uint64_t{b.size()} * 8)
        return true;
    for (size_t k = lastScan + 2; k + 1 < b.size(); ++k)
        if (b[k] == 0xFF && b[k + 1] == 0xD9)
            return false;
    return true;
}

bool GifCut(std::span<const uint8_t> b) {
    size_t at = 13;
    if (b.size() < at)
        return true;
    const auto colourTable = [](uint8_t packed) -> size_t {
        return (packed & 0x80) != 0 ? 3u << ((packed & 7) + 1) : 0;
    };
    at += colourTable(b[10]);
    // Sub-blocks up to their zero terminator; false when the file ends first.
    const auto skipBlocks = [&] {
        while (at < b.size() && b[at] != 0) at += size_t{b[at]} + 1;
        if (at >= b.size())
            return false;
        ++at;
        return true;
    };
    bool pictureSeen = false;
    while (at < b.size()) {
        const uint8_t introducer = b[at];
        if (introducer == 0x3B)  // the trailer
            return !pictureSeen;
        if (introducer == 0x21) {
            at += 2;
            if (!skipBlocks())
                return true;
        } else if (introducer == 0x2C) {
            if (at + 10 > b.size())
                return true;
            at += 10 + colourTable(b[at + 9]) + 1;  // descriptor, local table, LZW code size
            if (!skipBlocks())
                return true;
            pictureSeen = true;
        } else {
            return !pictureSeen;  // what follows a whole picture is the decoder's to judge
        }
    }
    // Many writers leave out the trailer; a whole picture is enough.
    return !pictureSeen;
}

constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Be32(const uint8_t* b) {
    return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

}  // namespace

bool PngChunksFit(uint64_t size, const PngChunkHeaderAt& headerAt) {
    uint8_t header[8];
    if (!headerAt(0, header) || !std::equal(header, header + 8, PngSignature))
        return true;
    constexpr uint64_t LargestChunk = 0x7FFFFFFF;
    uint64_t at = 8;
    while (true) {
        if (!headerAt(at, header))
            return false;
        const uint64_t length = Be32(header);
        // Length and type, the data, the CRC.
        if (length > LargestChunk || size - at < 12 || length > size - at - 12)
            return false;
        if (std::equal(header + 4, header + 8, "IEND"))
            return true;
        at += 12 + length;
    }
}

namespace {

uint32_t Crc32(std::span<const uint8_t> bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (const uint8_t b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

}  // namespace

bool PngChunkDamaged(std::span<const uint8_t> b) {
    if (b.size() < 8 || !std::equal(b.begin(), b.begin() + 8, PngSignature))
        return false;
    std::size_t at = 8;
    while (b.size() - at >= 12) {
        const std::size_t length = Be32(b.data() + at);
        if (length > b.size() - at - 12)
            return false;
        if (Crc32(b.subspan(at + 4, length + 4)) != Be32(b.data() + at + 8 + length))
            return true;
        if (std::equal(b.begin() + static_cast<std::ptrdiff_t>(at + 4),
                       b.begin() + static_cast<std::ptrdiff_t>(at + 8), "IEND"))
            return false;
        at += 12 + length;
    }
    return false;
}

bool PictureDataCut(std::span<const uint8_t> b) {
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M')
        return BmpCut(b);
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return JpegCut(b);
    if (b.size() >= 6 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F')
        return GifCut(b);
    return !PngChunksFit(b.size(), [b](uint64_t offset, uint8_t(&out)[8]) {
        if (offset > b.size() || b.size() - offset < 8)
            return false;
        std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(offset), 8, out);
        return true;
    });
}

}  // namespace inkrelay
