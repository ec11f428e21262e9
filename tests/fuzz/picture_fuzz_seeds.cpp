// Writes the seeds of the general loader's corpus and of the packed DIB's: small BMP files of
// every depth the format has (uncompressed, RLE, bit fields, bottom-up and top-down), JPEG
// files (baseline, progressive, grey), GIF files (plain, interlaced, transparent, two frames)
// and PNG files; and the BMP files' DIBs without their file header, as the clipboard holds them.
// Run once; the corpus keeps what it wrote.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::string;

void Put16(Bytes& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A colour of the seeds' test pattern: every pixel differs from its neighbours.
QColor PatternColour(int x, int y) {
    return QColor((x * 37 + y * 11) & 0xFF, (x * 5 + y * 71) & 0xFF, (x * y * 13 + 90) & 0xFF);
}

QImage Pattern(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            QColor colour = PatternColour(x, y);
            colour.setAlpha((x + y) % 3 == 0 ? 128 : 255);
            image.setPixelColor(x, y, colour);
        }
    return format == QImage::Format_ARGB32 ? image : image.convertToFormat(format);
}

Bytes Encoded(const QImage& image, const char* format, int quality = -1, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot encode %s: %s\n", format,
                     writer.errorString().toLocal8Bit().constData());
        std::exit(1);
    }
    return Bytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A DIB: BITMAPINFOHEADER (or a V5 header holding the masks), masks after a 40-byte header
// with BI_BITFIELDS, the colour table, the bits.
struct Dib {
    int32_t Width;
    int32_t Height;
    uint16_t BitCount;
    uint32_t Compression = 0;
    std::vector<uint32_t> Table;  // 0x00RRGGBB
    Bytes Bits;
    std::vector<uint32_t> Masks;  // red, green, blue
    uint32_t HeaderBytes = 40;

    Bytes Block() const {
        Bytes out;
        Put32(out, HeaderBytes);
        Put32(out, static_cast<uint32_t>(Width));
        Put32(out, static_cast<uint32_t>(Height));
        Put16(out, 1);
        Put16(out, BitCount);
        Put32(out, Compression);
        Put32(out, static_cast<uint32_t>(Bits.size()));
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, static_cast<uint32_t>(Table.size()));
        Put32(out, 0);
        if (HeaderBytes > 40) {
            for (uint32_t mask : Masks) Put32(out, mask);
            out.resize(HeaderBytes, '\0');
        } else {
            for (uint32_t mask : Masks) Put32(out, mask);
        }
        for (uint32_t colour : Table) Put32(out, colour);
        return out + Bits;
    }

    Bytes File() const {
        const Bytes block = Block();
        Bytes out = "BM";
        Put32(out, static_cast<uint32_t>(14 + block.size()));
        Put32(out, 0);
        Put32(out, static_cast<uint32_t>(14 + block.size() - Bits.size()));
        return out + block;
    }
};

std::vector<uint32_t> Greys(int count) {
    std::vector<uint32_t> table;
    for (int i = 0; i < count; ++i) {
        const uint32_t level = static_cast<uint32_t>(i * 255 / (count - 1));
        table.push_back(level << 16 | level << 8 | level);
    }
    return table;
}

// Rows of indices packed from the most significant bits on, each padded to four bytes.
Bytes IndexedRows(int width, int height, int bitCount) {
    Bytes bits;
    const int stride = (width * bitCount + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
        Bytes row(static_cast<std::size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const int index = (x + 3 * y) % (1 << bitCount);
            const int bit = x * bitCount;
            row[static_cast<std::size_t>(bit / 8)] |=
                static_cast<char>(index << (8 - bitCount - bit % 8));
        }
        bits += row;
    }
    return bits;
}

Bytes DirectRows(int width, int height, int bitCount) {
    Bytes bits;
    const int stride = (width * bitCount + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const QColor c = PatternColour(x, y);
            if (bitCount == 16) {
                Put16(row, static_cast<uint32_t>(c.red() >> 3 << 11 | c.green() >> 2 << 5 |
                                                 c.blue() >> 3));
                continue;
            }
            row += static_cast<char>(c.blue());
            row += static_cast<char>(c.green());
            row += static_cast<char>(c.red());
            if (bitCount == 32)
                row += '\0';
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        bits += row;
    }
    return bits;
}

// RLE8 rows: a run, a literal stretch, a delta over two pixels, the end of each line, the end
// of the picture.
Bytes Rle8(int width, int height) {
    Bytes bits;
    for (int y = 0; y < height; ++y) {
        const int run = width / 2;
        bits += {static_cast<char>(run), static_cast<char>(y)};
        const int literal = width - run - 2;
        bits += {'\0', static_cast<char>(literal)};
        for (int i = 0; i < literal; ++i) bits += static_cast<char>(i + 1);
        if (literal % 2)
            bits += '\0';
        bits += {'\0', '\2', '\2', '\0'};
        bits += {'\0', '\0'};
    }
    bits += {'\0', '\1'};
    return bits;
}

// RLE4 rows: runs of two alternating colours, then the end of line.
Bytes Rle4(int width, int height) {
    Bytes bits;
    for (int y = 0; y < height; ++y) {
        bits += {static_cast<char>(width - 4), static_cast<char>(0x12 + y)};
        bits += {'\0', '\4', static_cast<char>(0x34), static_cast<char>(0x56)};
        bits += {'\0', '\0'};
    }
    bits += {'\0', '\1'};
    return bits;
}

// GIF's variable-length LZW without ever growing the code table past the first code size: a
// clear code before the table would need a wider code, which every decoder must take.
Bytes LzwStream(const std::vector<uint8_t>& indices, int minCodeSize) {
    const uint32_t clear = 1u << minCodeSize;
    const uint32_t width = static_cast<uint32_t>(minCodeSize) + 1;
    const std::size_t perClear = (1u << width) - (clear + 2) - 1;
    std::vector<uint32_t> codes;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % perClear == 0)
            codes.push_back(clear);
        codes.push_back(indices[i]);
    }
    codes.push_back(clear + 1);
    Bytes packed;
    uint32_t accumulator = 0;
    uint32_t filled = 0;
    for (uint32_t code : codes) {
        accumulator |= code << filled;
        filled += width;
        while (filled >= 8) {
            packed += static_cast<char>(accumulator & 0xFF);
            accumulator >>= 8;
            filled -= 8;
        }
    }
    if (filled > 0)
        packed += static_cast<char>(accumulator & 0xFF);
    Bytes out(1, static_cast<char>(minCodeSize));
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const Bytes block = packed.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    return out;
}

struct GifFrame {
    int Width;
    int Height;
    bool Interlaced = false;
    int Transparent = -1;
    int Shift = 0;  // moves the pattern, so that a second frame differs
};

Bytes Gif(const char* version, int bits, const std::vector<GifFrame>& frames) {
    const int colours = 1 << bits;
    Bytes out = version;
    Put16(out, static_cast<uint32_t>(frames[0].Width));
    Put16(out, static_cast<uint32_t>(frames[0].Height));
    out += static_cast<char>(0x80 | (bits - 1) << 4 | (bits - 1));  // global table
    out += '\0';
    out += '\0';
    for (int i = 0; i < colours; ++i) {
        const QColor c = PatternColour(i, i * 3);
        out +=
            {static_cast<char>(c.red()), static_cast<char>(c.green()), static_cast<char>(c.blue())};
    }
    for (const GifFrame& frame : frames) {
        if (frame.Transparent >= 0 || frames.size() > 1) {
            out += {'\x21', '\xF9', '\4', static_cast<char>(frame.Transparent >= 0 ? 1 : 0)};
            Put16(out, 10);
            out += static_cast<char>(frame.Transparent >= 0 ? frame.Transparent : 0);
            out += '\0';
        }
        out += ',';
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, static_cast<uint32_t>(frame.Width));
        Put16(out, static_cast<uint32_t>(frame.Height));
        out += static_cast<char>(frame.Interlaced ? 0x40 : 0);
        std::vector<uint8_t> indices;
        for (int y = 0; y < frame.Height; ++y)
            for (int x = 0; x < frame.Width; ++x)
                indices.push_back(static_cast<uint8_t>((x + 2 * y + frame.Shift) % colours));
        out += LzwStream(indices, bits < 2 ? 2 : bits);
    }
    out += ';';
    return out;
}

bool Write(const std::string& folder, const std::string& name, const Bytes& bytes) {
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s picture-corpus-folder dib-corpus-folder\n", argv[0]);
        return 2;
    }
    const std::string pictures = argv[1];
    const std::string dibs = argv[2];

    const std::vector<std::pair<std::string, Dib>> bitmaps = {
        {"bmp-1", {12, 5, 1, 0, {0x000000, 0xFFFFFF}, IndexedRows(12, 5, 1), {}, 40}},
        {"bmp-4", {9, 5, 4, 0, Greys(16), IndexedRows(9, 5, 4), {}, 40}},
        {"bmp-4-short-table", {9, 4, 4, 0, Greys(5), IndexedRows(9, 4, 4), {}, 40}},
        {"bmp-8", {7, 6, 8, 0, Greys(256), IndexedRows(7, 6, 8), {}, 40}},
        {"bmp-8-top-down", {7, -6, 8, 0, Greys(20), IndexedRows(7, 6, 8), {}, 40}},
        {"bmp-rle8", {10, 4, 8, 1, Greys(16), Rle8(10, 4), {}, 40}},
        {"bmp-rle4", {10, 3, 4, 2, Greys(16), Rle4(10, 3), {}, 40}},
        {"bmp-16-555", {6, 4, 16, 0, {}, DirectRows(6, 4, 16), {}, 40}},
        {"bmp-16-565", {6, 4, 16, 3, {}, DirectRows(6, 4, 16), {0xF800, 0x07E0, 0x001F}, 40}},
        {"bmp-24", {5, 5, 24, 0, {}, DirectRows(5, 5, 24), {}, 40}},
        {"bmp-24-top-down", {5, -3, 24, 0, {}, DirectRows(5, 3, 24), {}, 40}},
        {"bmp-32", {4, 4, 32, 0, {}, DirectRows(4, 4, 32), {}, 40}},
        {"bmp-32-v5-fields",
         {4, 3, 32, 3, {}, DirectRows(4, 3, 32), {0xFF0000, 0xFF00, 0xFF}, 124}},
    };
    int written = 0;
    for (const auto& [name, dib] : bitmaps) {
        if (!Write(pictures, name + ".bmp", dib.File()) || !Write(dibs, name + ".dib", dib.Block()))
            return 1;
        written += 2;
    }

    const std::vector<std::pair<std::string, Bytes>> files = {
        {"qt-bmp-1.bmp", Encoded(Pattern(13, 4, QImage::Format_Mono), "bmp")},
        {"qt-bmp-8.bmp", Encoded(Pattern(8, 5, QImage::Format_Indexed8), "bmp")},
        {"qt-bmp-32.bmp", Encoded(Pattern(6, 5, QImage::Format_ARGB32), "bmp")},
        {"jpeg-baseline.jpg", Encoded(Pattern(16, 16, QImage::Format_RGB32), "jpeg", 80)},
        {"jpeg-progressive.jpg", Encoded(Pattern(19, 11, QImage::Format_RGB32), "jpeg", 75, true)},
        {"jpeg-grey.jpg", Encoded(Pattern(9, 9, QImage::Format_Grayscale8), "jpeg", 90)},
        {"png-rgba.png", Encoded(Pattern(7, 5, QImage::Format_ARGB32), "png")},
        {"png-palette.png", Encoded(Pattern(7, 5, QImage::Format_Indexed8), "png")},
        {"gif87a.gif", Gif("GIF87a", 3, {{8, 6}})},
        {"gif89a-interlaced.gif", Gif("GIF89a", 4, {{7, 9, true}})},
        {"gif89a-transparent.gif", Gif("GIF89a", 1, {{5, 5, false, 1}})},
        {"gif89a-two-frames.gif", Gif("GIF89a", 2, {{6, 4}, {6, 4, false, -1, 1}})},
    };
    for (const auto& [name, bytes] : files) {
        if (!Write(pictures, name, bytes))
            return 1;
        ++written;
        // Qt's BMP files are seeds of the clipboard's DIB too, without their file header.
        if (name.starts_with("qt-bmp")) {
            if (!Write(dibs, name.substr(0, name.size() - 4) + ".dib", bytes.substr(14)))
                return 1;
            ++written;
        }
    }
    std::printf("%d seeds in %s and %s\n", written, pictures.c_str(), dibs.c_str());
    return 0;
}
