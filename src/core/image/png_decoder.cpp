#include "image/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "image/on_white.h"
#include "image/picture.h"

namespace inkrelay {

struct PngDecoder::State {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::FILE* File = nullptr;
    std::vector<uint8_t> Bytes;
    std::size_t Position = 0;
    std::size_t ByteLimit = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
    int Depth = 0;  // bits per sample after the transforms: 8 or 16
    int Channels = 0;
    int Passes = 0;
    std::size_t RowBytes = 0;
    std::size_t Stride = 0;
    std::vector<uint8_t> Rows;  // one row, or the whole image for an interlaced one
    bool HeaderTried = false;
    bool HeaderRead = false;
    bool PixelsTried = false;
};

namespace {

using State = PngDecoder::State;

// Callbacks and setjmp frames: only trivially destructible locals, since libpng leaves them by
// longjmp.
extern "C" {

[[noreturn]] static void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

static void OnPngWarning(png_structp, png_const_charp) {}

static void ReadFromFile(png_structp png, png_bytep out, size_t length) {
    State* state = static_cast<State*>(png_get_io_ptr(png));
    if (std::fread(out, 1, length, state->File) != length)
        png_error(png, "read error");
}

static void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
    State* state = static_cast<State*>(png_get_io_ptr(png));
    if (length > state->Bytes.size() - state->Position)
        png_error(png, "unexpected end of data");
    std::memcpy(out, state->Bytes.data() + state->Position, length);
    state->Position += length;
}

}  // extern "C"

bool ReadInfoAndSetTransforms(State* state) {
    png_structp png = state->Png;
    png_infop info = state->Info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, state, state->File != nullptr ? ReadFromFile : ReadFromMemory);
    // Refused in IHDR itself, before any buffer is sized by it.
    png_set_user_limits(png, PngSideLimit - 1, PngSideLimit - 1);
    png_set_chunk_malloc_max(png, std::size_t{8} << 20);
    // A damaged chunk of any kind fails the decode rather than being skipped.
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    png_set_expand(png);  // palette to RGB, grey to 8 bits, tRNS to alpha
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && png_get_valid(png, info, PNG_INFO_tRNS) == 0)
        png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    state->Passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    state->Width = png_get_image_width(png, info);
    state->Height = png_get_image_height(png, info);
    state->Depth = png_get_bit_depth(png, info);
    state->Channels = png_get_channels(png, info);
    state->RowBytes = png_get_rowbytes(png, info);
    return true;
}

void ConvertRow(const State* state, const uint8_t* rgba, uint8_t* bgr) {
    for (uint32_t x = 0; x < state->Width; ++x, bgr += 3) {
        uint8_t channel[3];
        if (state->Depth == 8) {
            const uint8_t* p = rgba + std::size_t{x} * 4;
            for (int i = 0; i < 3; ++i) channel[i] = OnWhite8(p[i], p[3]);
        } else {
            const uint8_t* p = rgba + std::size_t{x} * 8;
            const uint32_t a = uint32_t{p[6]} << 8 | p[7];
            for (int i = 0; i < 3; ++i)
                channel[i] = OnWhite16(uint32_t{p[2 * i]} << 8 | p[2 * i + 1], a);
        }
        bgr[0] = channel[2];
        bgr[1] = channel[1];
        bgr[2] = channel[0];
    }
}

bool ReadRows(State* state, uint8_t* bits) {
    png_structp png = state->Png;
    if (setjmp(png_jmpbuf(png)))
        return false;
    const bool wholeImage = state->Passes > 1;
    for (int pass = 0; pass < state->Passes; ++pass) {
        for (uint32_t y = 0; y < state->Height; ++y) {
            uint8_t* row = state->Rows.data() + (wholeImage ? y * state->RowBytes : 0);
            png_read_row(png, row, nullptr);
            if (pass == state->Passes - 1) {
                uint8_t* out = bits + std::size_t{state->Height - 1 - y} * state->Stride;
                std::memset(out, 0, state->Stride);
                ConvertRow(state, row, out);
            }
        }
    }
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

PngDecoder::PngDecoder(std::unique_ptr<State> state) : state_(std::move(state)) {}

PngDecoder::~PngDecoder() {
    png_destroy_read_struct(&state_->Png, &state_->Info, nullptr);
    if (state_->File != nullptr)
        std::fclose(state_->File);
}

std::unique_ptr<PngDecoder> PngDecoder::FromFile(std::FILE* file, std::size_t byteLimit) {
    auto state = std::make_unique<State>();
    state->File = file;
    state->ByteLimit = byteLimit;
    return std::unique_ptr<PngDecoder>(new PngDecoder(std::move(state)));
}

std::unique_ptr<PngDecoder> PngDecoder::FromMemory(std::vector<uint8_t> bytes,
                                                   std::size_t byteLimit) {
    auto state = std::make_unique<State>();
    state->Bytes = std::move(bytes);
    state->ByteLimit = byteLimit;
    return std::unique_ptr<PngDecoder>(new PngDecoder(std::move(state)));
}

bool PngDecoder::ReadHeader(BitmapInfo& info, int32_t& size) {
    State* state = state_.get();
    if (state->HeaderTried)
        return false;
    state->HeaderTried = true;
    state->Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (state->Png == nullptr)
        return false;
    state->Info = png_create_info_struct(state->Png);
    if (state->Info == nullptr || !ReadInfoAndSetTransforms(state))
        return false;
    if (state->Width == 0 || state->Height == 0 || state->Width >= PngSideLimit ||
        state->Height >= PngSideLimit || state->Channels != 4 ||
        (state->Depth != 8 && state->Depth != 16) ||
        state->RowBytes != std::size_t{state->Width} * state->Depth / 2)
        return false;
    const std::size_t pixels = std::size_t{state->Width} * state->Height;
    state->Stride = (std::size_t{state->Width} * 3 + 3) & ~std::size_t{3};
    const std::size_t bitsSize = state->Stride * state->Height;
    const std::size_t rowsSize = state->RowBytes * (state->Passes > 1 ? state->Height : 1);
    if (pixels > static_cast<std::size_t>(MaxPicturePixels) || bitsSize > state->ByteLimit ||
        rowsSize > state->ByteLimit || bitsSize > INT32_MAX)
        return false;
    info = BitmapInfo{};
    info.Header.Size = sizeof(BitmapInfoHeader);
    info.Header.Width = static_cast<int32_t>(state->Width);
    info.Header.Height = static_cast<int32_t>(state->Height);
    info.Header.Planes = 1;
    info.Header.BitCount = 24;
    info.Header.Compression = BiRgb;
    info.Header.SizeImage = static_cast<uint32_t>(bitsSize);
    size = static_cast<int32_t>(bitsSize);
    state->HeaderRead = true;
    return true;
}

bool PngDecoder::ReadPixels(uint8_t* bits) {
    State* state = state_.get();
    if (bits == nullptr || !state->HeaderRead || state->PixelsTried)
        return false;
    state->PixelsTried = true;
    try {
        state->Rows.resize(state->RowBytes * (state->Passes > 1 ? state->Height : 1));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return ReadRows(state, bits);
}

}  // namespace inkrelay
