#include "png_writer.h"

#include <zlib.h>

#include <csetjmp>
#include <stdexcept>
#include <utility>

namespace inkrelay::test {

namespace {

struct Sink {
    std::string Bytes;
    bool Failed = false;
};

// Frames libpng may leave by longjmp hold only trivially destructible locals.
extern "C" {

[[noreturn]] static void OnWriteError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

static void OnWriteWarning(png_structp, png_const_charp) {}

static void Append(png_structp png, png_bytep data, size_t length) {
    Sink* sink = static_cast<Sink*>(png_get_io_ptr(png));
    try {
        sink->Bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        sink->Failed = true;
    }
    if (sink->Failed)
        png_error(png, "out of memory");
}

static void Flush(png_structp) {}

}  // extern "C"

bool WriteAll(png_structp png, png_infop info, const PngImage* image, png_bytepp rows, Sink* sink) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, sink, Append, Flush);
    png_set_IHDR(png, info, image->Width, image->Height, image->BitDepth, image->ColourType,
                 image->Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!image->Palette.empty())
        png_set_PLTE(png, info, image->Palette.data(), static_cast<int>(image->Palette.size()));
    if (!image->PaletteAlpha.empty())
        png_set_tRNS(png, info, image->PaletteAlpha.data(),
                     static_cast<int>(image->PaletteAlpha.size()), nullptr);
    if (image->TransparentColour)
        png_set_tRNS(png, info, nullptr, 0, &*image->TransparentColour);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

// Samples packed into the file's rows: small depths from the most significant bit, 16 bits
// big-endian.
std::vector<uint8_t> PackRow(const PngImage& image, uint32_t y) {
    const size_t perRow = size_t{image.Width} * ChannelCount(image.ColourType);
    std::vector<uint8_t> row((perRow * image.BitDepth + 7) / 8, 0);
    const uint16_t* samples = image.Samples.data() + y * perRow;
    for (size_t i = 0; i < perRow; ++i) {
        if (image.BitDepth == 16) {
            row[2 * i] = static_cast<uint8_t>(samples[i] >> 8);
            row[2 * i + 1] = static_cast<uint8_t>(samples[i]);
        } else if (image.BitDepth == 8) {
            row[i] = static_cast<uint8_t>(samples[i]);
        } else {
            const size_t bit = i * image.BitDepth;
            const int shift = 8 - image.BitDepth - static_cast<int>(bit % 8);
            row[bit / 8] |= static_cast<uint8_t>(samples[i] << shift);
        }
    }
    return row;
}

}  // namespace

int ChannelCount(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE: return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
        default: throw std::invalid_argument("unknown PNG colour type");
    }
}

std::string EncodePng(const PngImage& image) {
    if (image.Samples.size() != size_t{image.Width} * image.Height * ChannelCount(image.ColourType))
        throw std::invalid_argument("sample count does not match the image size");
    std::vector<std::vector<uint8_t>> packed;
    std::vector<png_bytep> rows;
    for (uint32_t y = 0; y < image.Height; ++y) packed.push_back(PackRow(image, y));
    for (auto& row : packed) rows.push_back(row.data());

    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnWriteError, OnWriteWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    Sink sink;
    const bool written = info != nullptr && WriteAll(png, info, &image, rows.data(), &sink);
    png_destroy_write_struct(&png, &info);
    if (!written)
        throw std::runtime_error("libpng refused the image");
    return std::move(sink.Bytes);
}

std::string BigEndian32(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string PngChunk(std::string_view type, std::string_view data) {
    const std::string body = std::string(type) + std::string(data);
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return BigEndian32(static_cast<uint32_t>(data.size())) + body +
           BigEndian32(static_cast<uint32_t>(crc));
}

std::string PngSignature() {
    return {"\x89PNG\r\n\x1a\n", 8};
}

}  // namespace inkrelay::test
