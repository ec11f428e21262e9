// Writes the picture corpus and its list of expected results into a folder:
//   make-picture-corpus tests/pictures
// BMP and GIF are written byte by byte here, PNG through libpng's writer and JPEG through
// libjpeg. Each lossless file's expected pixels come from the values it was made from, never
// from a decoder; a JPEG is held to its source within the largest error libjpeg's own decode
// shows plus a margin for other decoders' IDCTs.

// jpeglib.h uses FILE and size_t without including their headers.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture_corpus.h"
#include "png_writer.h"

namespace inkrelay::test {
namespace {

struct Rgb {
    uint8_t R, G, B;
};

uint32_t ColourRef(Rgb c) {
    return uint32_t{c.R} | uint32_t{c.G} << 8 | uint32_t{c.B} << 16;
}

// A channel of value c and alpha a, both of `top` levels, as it shows on white, rounded to
// nearest: (c·a + top·(top − a))·255 / top² exactly.
uint8_t OnWhite(uint64_t c, uint64_t a, uint64_t top) {
    const uint64_t numerator = (c * a + top * (top - a)) * 255;
    const uint64_t divisor = top * top;
    return static_cast<uint8_t>((2 * numerator + divisor) / (2 * divisor));
}

class Corpus {
  public:
    explicit Corpus(std::filesystem::path folder) : folder_(std::move(folder)) {}

    void Exact(const std::string& name, const std::string& bytes, int32_t width, int32_t height,
               const std::vector<uint32_t>& pixels) {
        if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
            throw std::logic_error(name + ": pixel count");
        Write(name, bytes);
        CorpusEntry entry;
        entry.Name = name;
        entry.Width = width;
        entry.Height = height;
        entry.Hash = PixelHash(pixels);
        entries_.push_back(entry);
    }
    void Near(const std::string& name, const std::string& bytes, int32_t width, int32_t height,
              const std::string& reference, int32_t tolerance) {
        Write(name, bytes);
        CorpusEntry entry;
        entry.Name = name;
        entry.Expect = CorpusEntry::Kind::Near;
        entry.Width = width;
        entry.Height = height;
        entry.Reference = reference;
        entry.Tolerance = tolerance;
        entries_.push_back(entry);
    }
    void Refused(const std::string& name, const std::string& bytes) {
        Write(name, bytes);
        CorpusEntry entry;
        entry.Name = name;
        entry.Expect = CorpusEntry::Kind::Refused;
        entry.Code = 481;
        entries_.push_back(entry);
    }

    void WriteList(const std::string& heading) const {
        std::string text = heading;
        for (const CorpusEntry& entry : entries_) text += FormatCorpusEntry(entry) + "\n";
        Write("expected.txt", text);
    }

  private:
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + name);
    }

    std::filesystem::path folder_;
    std::vector<CorpusEntry> entries_;
};

void Le16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}
void Le32(std::string& out, uint32_t v) {
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}

// An uncompressed BMP with a BITMAPINFOHEADER. value(x, y) is a palette index for 1, 4 and 8
// bits, else 0x00BBGGRR; for 32 bits the fourth byte is written as 0, as most writers do.
std::string Bmp(int32_t width, int32_t height, int bits, const std::vector<Rgb>& palette,
                bool topDown, const std::function<uint32_t(int32_t, int32_t)>& value) {
    const uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
    const uint32_t dataAt = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
    std::string out = "BM";
    Le32(out, dataAt + stride * static_cast<uint32_t>(height));
    Le32(out, 0);
    Le32(out, dataAt);
    Le32(out, 40);
    Le32(out, static_cast<uint32_t>(width));
    Le32(out, static_cast<uint32_t>(topDown ? -height : height));
    Le16(out, 1);
    Le16(out, static_cast<uint32_t>(bits));
    Le32(out, 0);  // BI_RGB
    Le32(out, stride * static_cast<uint32_t>(height));
    Le32(out, 2835);
    Le32(out, 2835);
    Le32(out, static_cast<uint32_t>(palette.size()));
    Le32(out, 0);
    for (const Rgb& c : palette) {
        out += static_cast<char>(c.B);
        out += static_cast<char>(c.G);
        out += static_cast<char>(c.R);
        out += '\0';
    }
    for (int32_t r = 0; r < height; ++r) {
        const int32_t y = topDown ? r : height - 1 - r;
        std::string row(stride, '\0');
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            if (bits <= 8) {
                const auto bit = static_cast<uint32_t>(x * bits);
                const uint32_t shift = 8 - bits - bit % 8;
                row[bit / 8] = static_cast<char>(static_cast<uint8_t>(row[bit / 8]) | v << shift);
            } else {
                const auto at = static_cast<std::size_t>(x * bits / 8);
                row[at] = static_cast<char>(v >> 16 & 0xFF);
                row[at + 1] = static_cast<char>(v >> 8 & 0xFF);
                row[at + 2] = static_cast<char>(v & 0xFF);
            }
        }
        out += row;
    }
    return out;
}

// A GIF89a of one image with an 8-entry global table and `transparent` as its transparent
// index. The LZW stream sends every pixel as a literal and a clear code after each six, so the
// code width never grows past four bits and no decoder's table handling is put to the test here.
// The image stands at (left, top) of a logical screen of its own size unless one is given.
struct GifScreen {
    int32_t Width = 0, Height = 0, Left = 0, Top = 0;
    uint8_t Background = 0;
};

std::string Gif(int32_t width, int32_t height, const std::array<Rgb, 8>& palette,
                std::optional<uint8_t> transparent,
                const std::function<uint8_t(int32_t, int32_t)>& index, GifScreen screen = {}) {
    std::string out = "GIF89a";
    Le16(out, static_cast<uint32_t>(screen.Width > 0 ? screen.Width : width));
    Le16(out, static_cast<uint32_t>(screen.Height > 0 ? screen.Height : height));
    out += static_cast<char>(0x80 | 0x20 | 2);  // global table of 2^(2+1), 3 bits of colour
    out += static_cast<char>(screen.Background);
    out += '\0';
    for (const Rgb& c : palette) {
        out += static_cast<char>(c.R);
        out += static_cast<char>(c.G);
        out += static_cast<char>(c.B);
    }
    if (transparent) {
        out += "\x21\xF9\x04\x01";  // graphic control: transparent index given
        out += std::string("\0\0", 2);
        out += static_cast<char>(*transparent);
        out += '\0';
    }
    out += '\x2C';
    Le16(out, static_cast<uint32_t>(screen.Left));
    Le16(out, static_cast<uint32_t>(screen.Top));
    Le16(out, static_cast<uint32_t>(width));
    Le16(out, static_cast<uint32_t>(height));
    out += '\0';
    constexpr uint32_t CodeSize = 3, Clear = 8, End = 9, Width = CodeSize + 1;
    std::string data;
    uint32_t buffer = 0, filled = 0;
    const auto emit = [&](uint32_t code) {
        buffer |= code << filled;
        filled += Width;
        while (filled >= 8) {
            data += static_cast<char>(buffer & 0xFF);
            buffer >>= 8;
            filled -= 8;
        }
    };
    emit(Clear);
    int sinceClear = 0;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (sinceClear == 6) {
                emit(Clear);
                sinceClear = 0;
            }
            emit(index(x, y));
            ++sinceClear;
        }
    }
    emit(End);
    if (filled > 0)
        data += static_cast<char>(buffer & 0xFF);
    out += static_cast<char>(CodeSize);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        out += static_cast<char>(length);
        out += data.substr(at, length);
    }
    out += '\0';
    out += '\x3B';
    return out;
}

struct JpegPicture {
    int32_t Width = 0, Height = 0;
    std::vector<Rgb> Pixels;
};

void JpegFailure(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    throw std::runtime_error(message);
}

// Quality 95 with every component at full resolution, so that the corpus tests the decoders'
// IDCT and colour conversion, not their choice of chroma upsampling.
std::string Jpeg(const JpegPicture& source, bool progressive, const std::string& app1) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    error.error_exit = JpegFailure;
    jpeg_create_compress(&info);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &memory, &size);
    info.image_width = static_cast<JDIMENSION>(source.Width);
    info.image_height = static_cast<JDIMENSION>(source.Height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    if (progressive)
        jpeg_simple_progression(&info);
    if (!app1.empty())
        info.write_JFIF_header = FALSE;
    jpeg_start_compress(&info, TRUE);
    if (!app1.empty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(app1.data()),
                          static_cast<unsigned>(app1.size()));
    std::vector<uint8_t> row(static_cast<std::size_t>(source.Width) * 3);
    while (info.next_scanline < info.image_height) {
        const auto y = static_cast<std::size_t>(info.next_scanline);
        for (std::size_t x = 0; x < static_cast<std::size_t>(source.Width); ++x) {
            const Rgb& p = source.Pixels[y * static_cast<std::size_t>(source.Width) + x];
            row[3 * x] = p.R;
            row[3 * x + 1] = p.G;
            row[3 * x + 2] = p.B;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(memory), size);
    std::free(memory);
    return bytes;
}

// libjpeg's own decode, for the error a JPEG carries against its source.
int32_t LargestJpegError(const std::string& bytes, const JpegPicture& source) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    error.error_exit = JpegFailure;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::vector<uint8_t> row(static_cast<std::size_t>(info.output_width) * 3);
    int32_t largest = 0;
    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<std::size_t>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (std::size_t x = 0; x < info.output_width; ++x) {
            const Rgb& p = source.Pixels[y * static_cast<std::size_t>(source.Width) + x];
            for (const auto& [got, want] :
                 {std::pair{row[3 * x], p.R}, {row[3 * x + 1], p.G}, {row[3 * x + 2], p.B}})
                largest = std::max(largest, std::abs(int32_t{got} - int32_t{want}));
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return largest;
}

// An Exif block whose one tag says the stored picture is to be shown turned 90° clockwise.
std::string ExifOrientation6() {
    std::string tiff("II\x2A\x00\x08\x00\x00\x00", 8);
    tiff += std::string("\x01\x00", 2);                          // one entry
    tiff += std::string("\x12\x01\x03\x00\x01\x00\x00\x00", 8);  // Orientation, SHORT, 1
    tiff += std::string("\x06\x00\x00\x00", 4);
    tiff += std::string("\x00\x00\x00\x00", 4);  // no next IFD
    return std::string("Exif\0\0", 6) + tiff;
}

std::vector<uint32_t> Pixels(int32_t width, int32_t height,
                             const std::function<uint32_t(int32_t, int32_t)>& at) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) out.push_back(at(x, y));
    return out;
}

// PNG samples in the file's depth for every pixel, row by row.
PngImage Png(uint32_t width, uint32_t height, int colourType, int bitDepth,
             const std::function<std::vector<uint16_t>(uint32_t, uint32_t)>& samples) {
    PngImage image;
    image.Width = width;
    image.Height = height;
    image.ColourType = colourType;
    image.BitDepth = bitDepth;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            for (const uint16_t s : samples(x, y)) image.Samples.push_back(s);
    return image;
}

void MakeBmps(Corpus& corpus) {
    constexpr int32_t W = 13, H = 7;  // odd, so every depth pads its rows
    const std::vector<Rgb> two = {{10, 200, 30}, {250, 5, 128}};
    const auto twoAt = [](int32_t x, int32_t y) { return static_cast<uint32_t>((x + y / 2) % 2); };
    corpus.Exact("bmp-1bit.bmp", Bmp(W, H, 1, two, false, twoAt), W, H,
                 Pixels(W, H, [&](int32_t x, int32_t y) { return ColourRef(two[twoAt(x, y)]); }));

    std::vector<Rgb> sixteen;
    for (uint8_t i = 0; i < 16; ++i)
        sixteen.push_back({static_cast<uint8_t>(i * 17), static_cast<uint8_t>(255 - i * 13),
                           static_cast<uint8_t>(i * 5 + 40)});
    const auto sixteenAt = [](int32_t x, int32_t y) {
        return static_cast<uint32_t>(x + 3 * y) % 16;
    };
    corpus.Exact(
        "bmp-4bit.bmp", Bmp(W, H, 4, sixteen, false, sixteenAt), W, H,
        Pixels(W, H, [&](int32_t x, int32_t y) { return ColourRef(sixteen[sixteenAt(x, y)]); }));

    std::vector<Rgb> all;
    for (int i = 0; i < 256; ++i)
        all.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                       static_cast<uint8_t>(i * 3 & 0xFF)});
    const auto allAt = [](int32_t x, int32_t y) {
        return static_cast<uint32_t>(x * 7 + y * 31) & 0xFF;
    };
    corpus.Exact("bmp-8bit-top-down.bmp", Bmp(W, H, 8, all, true, allAt), W, H,
                 Pixels(W, H, [&](int32_t x, int32_t y) { return ColourRef(all[allAt(x, y)]); }));

    const auto colourAt = [](int32_t x, int32_t y) {
        return ColourRef({static_cast<uint8_t>(x * 19), static_cast<uint8_t>(y * 36),
                          static_cast<uint8_t>(x * y * 7 + 3)});
    };
    const std::string rgb24 = Bmp(W, H, 24, {}, false, colourAt);
    corpus.Exact("bmp-24bit.bmp", rgb24, W, H, Pixels(W, H, colourAt));
    corpus.Exact("bmp-32bit.bmp", Bmp(W, H, 32, {}, false, colourAt), W, H, Pixels(W, H, colourAt));

    corpus.Refused("bmp-cut.bmp", rgb24.substr(0, rgb24.size() - 5));
    // A header claiming 30000 × 30000 over the same few rows.
    std::string huge = rgb24;
    for (const std::size_t at : {std::size_t{18}, std::size_t{22}}) {
        huge[at] = '\x30';
        huge[at + 1] = '\x75';
    }
    corpus.Refused("bmp-damaged-size.bmp", huge);
}

void MakeGifs(Corpus& corpus) {
    constexpr int32_t W = 11, H = 9;
    const std::array<Rgb, 8> palette = {{{0, 0, 0},
                                         {255, 0, 0},
                                         {0, 255, 0},
                                         {1, 2, 3},  // transparent: shows as white
                                         {0, 0, 255},
                                         {200, 150, 100},
                                         {17, 34, 51},
                                         {254, 253, 252}}};
    constexpr uint8_t Transparent = 3;
    const auto indexAt = [](int32_t x, int32_t y) { return static_cast<uint8_t>((x * 3 + y) % 8); };
    const std::string gif = Gif(W, H, palette, Transparent, indexAt);
    corpus.Exact("gif-transparent.gif", gif, W, H, Pixels(W, H, [&](int32_t x, int32_t y) {
                     const uint8_t i = indexAt(x, y);
                     return i == Transparent ? 0xFFFFFFu : ColourRef(palette[i]);
                 }));
    // An image of 7 × 5 at (3, 2) of a 12 × 9 screen: around it the background colour, or
    // nothing (white) when the image has a transparent index.
    const GifScreen screen{12, 9, 3, 2, 5};
    const auto onScreen = [&](bool transparent) {
        return Pixels(screen.Width, screen.Height, [&](int32_t x, int32_t y) {
            const int32_t ix = x - screen.Left, iy = y - screen.Top;
            if (ix < 0 || iy < 0 || ix >= 7 || iy >= 5)
                return transparent ? 0xFFFFFFu : ColourRef(palette[screen.Background]);
            const uint8_t i = indexAt(ix, iy);
            return transparent && i == Transparent ? 0xFFFFFFu : ColourRef(palette[i]);
        });
    };
    corpus.Exact("gif-image-inside-screen.gif", Gif(7, 5, palette, std::nullopt, indexAt, screen),
                 screen.Width, screen.Height, onScreen(false));
    corpus.Exact("gif-transparent-image-inside-screen.gif",
                 Gif(7, 5, palette, Transparent, indexAt, screen), screen.Width, screen.Height,
                 onScreen(true));
    // Cut inside the image's data blocks.
    corpus.Refused("gif-cut.gif", gif.substr(0, gif.size() - 12));
}

void MakeJpegs(Corpus& corpus) {
    // Smooth enough for small JPEG errors, steep enough (10 and 15 levels a pixel) that a picture
    // off by one pixel or one row cannot pass within the tolerance.
    JpegPicture source{24, 16, {}};
    for (int32_t y = 0; y < source.Height; ++y)
        for (int32_t x = 0; x < source.Width; ++x)
            source.Pixels.push_back({static_cast<uint8_t>(10 * x + 5),
                                     static_cast<uint8_t>(15 * y + 8),
                                     static_cast<uint8_t>(128 + 4 * (x - y))});
    const auto sourceAt = [&](int32_t x, int32_t y) {
        return ColourRef(source.Pixels[static_cast<std::size_t>(y * source.Width + x)]);
    };
    corpus.Exact("jpeg-source.bmp", Bmp(source.Width, source.Height, 24, {}, false, sourceAt),
                 source.Width, source.Height, Pixels(source.Width, source.Height, sourceAt));
    // Decoders of one standard differ by a level or two where their IDCTs round differently.
    constexpr int32_t DecoderMargin = 3;
    std::string baseline;
    for (const auto& [name, progressive, app1] :
         {std::tuple{"jpeg-baseline.jpg", false, std::string()},
          {"jpeg-progressive.jpg", true, std::string()},
          {"jpeg-exif-orientation-6.jpg", false, ExifOrientation6()}}) {
        const std::string bytes = Jpeg(source, progressive, app1);
        if (!progressive && app1.empty())
            baseline = bytes;
        corpus.Near(name, bytes, source.Width, source.Height, "jpeg-source.bmp",
                    LargestJpegError(bytes, source) + DecoderMargin);
    }
    // Cut in the middle of its scan: no end marker.
    corpus.Refused("jpeg-cut.jpg", baseline.substr(0, baseline.size() * 2 / 3));
}

void MakePngs(Corpus& corpus) {
    constexpr uint32_t W = 13, H = 7;
    const auto at = [](uint32_t x, uint32_t y) {
        return ColourRef({static_cast<uint8_t>(x * 19 + 1), static_cast<uint8_t>(y * 36 + 2),
                          static_cast<uint8_t>(x * y * 5 + 9)});
    };
    const auto rgbSamples = [&](uint32_t x, uint32_t y) {
        const uint32_t c = at(x, y);
        return std::vector<uint16_t>{static_cast<uint16_t>(c & 0xFF),
                                     static_cast<uint16_t>(c >> 8 & 0xFF),
                                     static_cast<uint16_t>(c >> 16 & 0xFF)};
    };
    const auto all = [&](const std::function<uint32_t(uint32_t, uint32_t)>& f) {
        return Pixels(W, H, [&](int32_t x, int32_t y) {
            return f(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
        });
    };
    const std::string rgb8 = EncodePng(Png(W, H, PNG_COLOR_TYPE_RGB, 8, rgbSamples));
    corpus.Exact("png-rgb8.png", rgb8, W, H, all(at));
    PngImage interlaced = Png(W, H, PNG_COLOR_TYPE_RGB, 8, rgbSamples);
    interlaced.Interlaced = true;
    corpus.Exact("png-rgb8-interlaced.png", EncodePng(interlaced), W, H, all(at));

    PngImage palette = Png(W, H, PNG_COLOR_TYPE_PALETTE, 8, [](uint32_t x, uint32_t y) {
        return std::vector<uint16_t>{static_cast<uint16_t>((x + 2 * y) % 20)};
    });
    for (uint8_t i = 0; i < 20; ++i)
        palette.Palette.push_back({static_cast<png_byte>(i * 12),
                                   static_cast<png_byte>(250 - i * 7),
                                   static_cast<png_byte>(i * i)});
    const auto paletteAt = [&](uint32_t x, uint32_t y) {
        const png_color c = palette.Palette[(x + 2 * y) % 20];
        return ColourRef({c.red, c.green, c.blue});
    };
    corpus.Exact("png-palette8.png", EncodePng(palette), W, H, all(paletteAt));

    // Entries of every opacity, the transparent one showing white whatever its colour.
    palette.PaletteAlpha = {255, 0, 128, 60, 1, 254};
    corpus.Exact(
        "png-palette8-trns.png", EncodePng(palette), W, H, all([&](uint32_t x, uint32_t y) {
            const uint32_t i = (x + 2 * y) % 20;
            const png_color c = palette.Palette[i];
            const uint32_t a = i < palette.PaletteAlpha.size() ? palette.PaletteAlpha[i] : 255;
            return ColourRef(
                {OnWhite(c.red, a, 255), OnWhite(c.green, a, 255), OnWhite(c.blue, a, 255)});
        }));

    const auto greyAt = [](uint32_t x, uint32_t y) { return static_cast<uint8_t>(x * 20 + y * 3); };
    corpus.Exact(
        "png-grey8.png",
        EncodePng(Png(W, H, PNG_COLOR_TYPE_GRAY, 8,
                      [&](uint32_t x, uint32_t y) { return std::vector<uint16_t>{greyAt(x, y)}; })),
        W, H, all([&](uint32_t x, uint32_t y) {
            const uint8_t g = greyAt(x, y);
            return ColourRef({g, g, g});
        }));

    const auto alphaAt = [](uint32_t x, uint32_t y) { return (x * 21 + y * 40) % 256; };
    corpus.Exact("png-rgba8.png",
                 EncodePng(Png(W, H, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                               [&](uint32_t x, uint32_t y) {
                                   std::vector<uint16_t> s = rgbSamples(x, y);
                                   s.push_back(static_cast<uint16_t>(alphaAt(x, y)));
                                   return s;
                               })),
                 W, H, all([&](uint32_t x, uint32_t y) {
                     const uint32_t c = at(x, y), a = alphaAt(x, y);
                     return ColourRef({OnWhite(c & 0xFF, a, 255), OnWhite(c >> 8 & 0xFF, a, 255),
                                       OnWhite(c >> 16 & 0xFF, a, 255)});
                 }));

    // Sixteen-bit samples whose low byte matters: cutting to the high byte first rounds some of
    // them to a different level.
    const auto deepAt = [](uint32_t x, uint32_t y) {
        return std::array<uint16_t, 4>{static_cast<uint16_t>(x * 5041 + y * 77 + 0x7F),
                                       static_cast<uint16_t>(65535 - x * 3001 - y * 911),
                                       static_cast<uint16_t>(x * y * 1231 + 0x80),
                                       static_cast<uint16_t>(x * 4999 + y * 7001 + 3)};
    };
    corpus.Exact("png-rgb16.png",
                 EncodePng(Png(W, H, PNG_COLOR_TYPE_RGB, 16,
                               [&](uint32_t x, uint32_t y) {
                                   const auto d = deepAt(x, y);
                                   return std::vector<uint16_t>{d[0], d[1], d[2]};
                               })),
                 W, H, all([&](uint32_t x, uint32_t y) {
                     const auto d = deepAt(x, y);
                     return ColourRef({OnWhite(d[0], 65535, 65535), OnWhite(d[1], 65535, 65535),
                                       OnWhite(d[2], 65535, 65535)});
                 }));
    corpus.Exact("png-rgba16.png",
                 EncodePng(Png(W, H, PNG_COLOR_TYPE_RGB_ALPHA, 16,
                               [&](uint32_t x, uint32_t y) {
                                   const auto d = deepAt(x, y);
                                   return std::vector<uint16_t>{d[0], d[1], d[2], d[3]};
                               })),
                 W, H, all([&](uint32_t x, uint32_t y) {
                     const auto d = deepAt(x, y);
                     return ColourRef({OnWhite(d[0], d[3], 65535), OnWhite(d[1], d[3], 65535),
                                       OnWhite(d[2], d[3], 65535)});
                 }));

    corpus.Refused("png-cut.png", rgb8.substr(0, rgb8.size() - 20));
    // The IDAT chunk's CRC no longer matches its data.
    std::string badCrc = rgb8;
    const std::size_t idat = badCrc.find("IDAT");
    const std::size_t idatLength =
        static_cast<uint8_t>(badCrc[idat - 2]) << 8 | static_cast<uint8_t>(badCrc[idat - 1]);
    badCrc[idat + 4 + idatLength] = static_cast<char>(badCrc[idat + 4 + idatLength] ^ 0x5A);
    corpus.Refused("png-bad-crc.png", badCrc);
    // A text chunk whose CRC does not match: the program's PNG decoder refuses a damaged chunk
    // of any kind, where libpng by itself would drop an ancillary one and read on.
    std::string text = PngChunk("tEXt", std::string("Comment\0damaged", 15));
    text.back() = static_cast<char>(text.back() ^ 0x11);
    const std::size_t afterHeader = 8 + 12 + 13;
    corpus.Refused("png-bad-crc-text-chunk.png",
                   rgb8.substr(0, afterHeader) + text + rgb8.substr(afterHeader));
    // A whole, valid picture the image window cannot lay out.
    corpus.Refused("png-side-32766.png",
                   EncodePng(Png(32766, 1, PNG_COLOR_TYPE_GRAY, 8, [](uint32_t x, uint32_t) {
                       return std::vector<uint16_t>{static_cast<uint16_t>(x & 0xFF)};
                   })));
}

}  // namespace
}  // namespace inkrelay::test

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-picture-corpus FOLDER\n";
        return 2;
    }
    using namespace inkrelay::test;
    try {
        Corpus corpus(argv[1]);
        MakeBmps(corpus);
        MakeGifs(corpus);
        MakeJpegs(corpus);
        MakePngs(corpus);
        corpus.WriteList(
            "# What each picture of this folder loads as, in every build (made by "
            "make-picture-corpus).\n"
            "# name width height exact FNV-1a-64 of the 0x00BBGGRR pixels, top row first\n"
            "# name width height near REFERENCE TOLERANCE: each channel within TOLERANCE of\n"
            "#     REFERENCE's pixels (lossy formats, whose decoders may round differently)\n"
            "# name refused CODE: the loader raises CODE\n");
    } catch (const std::exception& error) {
        std::cerr << "make-picture-corpus: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
