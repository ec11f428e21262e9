#include "image/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "image/on_white.h"
#include "image/picture.h"
#include "image/picture_file_check.h"

namespace inkrelay {

namespace {

// Counts what is held and refuses what would pass the limit. Each block carries its size in
// front, since libpng frees without saying how much.
class DecodeBudget {
  public:
    explicit DecodeBudget(std::size_t limit) : limit_(limit) {}
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    void* Allocate(std::size_t size) noexcept {
        if (size > limit_ - held_ || size > SIZE_MAX - Prefix)
            return nullptr;
        auto* block = static_cast<unsigned char*>(std::malloc(Prefix + size));
        if (block == nullptr)
            return nullptr;
        std::memcpy(block, &size, sizeof size);
        held_ += size;
        peak_ = std::max(peak_, held_);
        return block + Prefix;
    }
    void Free(void* pointer) noexcept {
        if (pointer == nullptr)
            return;
        unsigned char* block = static_cast<unsigned char*>(pointer) - Prefix;
        std::size_t size = 0;
        std::memcpy(&size, block, sizeof size);
        held_ -= size;
        std::free(block);
    }
    std::size_t Peak() const { return peak_; }

  private:
    static constexpr std::size_t Prefix = alignof(std::max_align_t);
    std::size_t limit_;
    std::size_t held_ = 0;
    std::size_t peak_ = 0;
};

struct BudgetFree {
    DecodeBudget* Budget;
    void operator()(uint8_t* pointer) const { Budget->Free(pointer); }
};

}  // namespace

struct PngDecoder::State {
    explicit State(std::size_t byteLimit)
        : ByteLimit(byteLimit), Budget(byteLimit + PngChunkAllowance) {}

    png_structp Png = nullptr;
    png_infop Info = nullptr;
    std::FILE* File = nullptr;
    std::vector<uint8_t> Bytes;
    std::size_t Position = 0;
    std::size_t ByteLimit;
    DecodeBudget Budget;
    uint32_t Width = 0;
    uint32_t Height = 0;
    int Depth = 0;  // bits per sample after the transforms: 8 or 16
    int Channels = 0;
    int Passes = 0;
    std::size_t RowBytes = 0;
    std::size_t Stride = 0;
    // One row, or the whole image for an interlaced one; freed before the budget goes.
    std::unique_ptr<uint8_t[], BudgetFree> Rows{nullptr, BudgetFree{&Budget}};
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

static png_voidp AllocateForPng(png_structp png, png_alloc_size_t size) {
    return static_cast<State*>(png_get_mem_ptr(png))->Budget.Allocate(size);
}

static void FreeForPng(png_structp png, png_voidp pointer) {
    static_cast<State*>(png_get_mem_ptr(png))->Budget.Free(pointer);
}

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

// Chunks that change no pixel of the picture as the program composites it; libpng would keep
// them, some inflated, for nobody.
constexpr png_byte UnusedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
    "sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";

bool ChunksFitStream(State* state) {
    if (state->File == nullptr)
        return PngChunksFit(state->Bytes.size(), [state](uint64_t offset, uint8_t(&out)[8]) {
            if (offset > state->Bytes.size() || state->Bytes.size() - offset < 8)
                return false;
            std::memcpy(out, state->Bytes.data() + offset, 8);
            return true;
        });
    std::FILE* file = state->File;
    if (std::fseek(file, 0, SEEK_END) != 0)
        return false;
    const long size = std::ftell(file);
    if (size < 0)
        return false;
    const bool fit =
        PngChunksFit(static_cast<uint64_t>(size), [file](uint64_t offset, uint8_t(&out)[8]) {
            return offset <= LONG_MAX &&
                   std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
                   std::fread(out, 1, 8, file) == 8;
        });
    return std::fseek(file, 0, SEEK_SET) == 0 && fit;
}

bool ReadInfoAndSetTransforms(State* state) {
    png_structp png = state->Png;
    png_infop info = state->Info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, state, state->File != nullptr ? ReadFromFile : ReadFromMemory);
    // Refused in IHDR itself, before any buffer is sized by it.
    png_set_user_limits(png, PngSideLimit - 1, PngSideLimit - 1);
    png_set_chunk_malloc_max(png, PngChunkAllowance);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, UnusedChunks,
                                static_cast<int>(sizeof UnusedChunks / 5));
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
            uint8_t* row = state->Rows.get() + (wholeImage ? y * state->RowBytes : 0);
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
    auto state = std::make_unique<State>(byteLimit);
    state->File = file;
    return std::unique_ptr<PngDecoder>(new PngDecoder(std::move(state)));
}

std::unique_ptr<PngDecoder> PngDecoder::FromMemory(std::vector<uint8_t> bytes,
                                                   std::size_t byteLimit) {
    auto state = std::make_unique<State>(byteLimit);
    state->Bytes = std::move(bytes);
    return std::unique_ptr<PngDecoder>(new PngDecoder(std::move(state)));
}

bool PngDecoder::ReadHeader(BitmapInfo& info, int32_t& size) {
    State* state = state_.get();
    if (state->HeaderTried)
        return false;
    state->HeaderTried = true;
    if (!ChunksFitStream(state))
        return false;
    state->Png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning,
                                          state, AllocateForPng, FreeForPng);
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
    const std::size_t rowsSize = state->RowBytes * (state->Passes > 1 ? state->Height : 1);
    state->Rows.reset(static_cast<uint8_t*>(state->Budget.Allocate(rowsSize)));
    if (state->Rows == nullptr)
        return false;
    return ReadRows(state, bits);
}

std::size_t PngDecoder::PeakBytes() const {
    return state_->Budget.Peak();
}

}  // namespace inkrelay
