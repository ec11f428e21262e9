// libFuzzer over the PNG library boundary: arbitrary bytes through mLoadPNG's memory twin,
// mGetPNGData, mEndPNG and PictureFromDib, and the same bytes read as a raw DIB. Besides the
// sanitizers it checks that a decode reported successful always yields the picture it described.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/bitmap_info.h"
#include "image/dib_picture.h"
#include "image/png_library.h"

namespace {

// Far below the real limit: a header claiming a huge image costs a short allocation, not
// half a gigabyte per input.
constexpr std::size_t FuzzByteLimit = std::size_t{16} << 20;

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void DecodeAsPng(const uint8_t* data, std::size_t size) {
    using namespace inkrelay;
    BitmapInfo info{};
    int32_t handle = 0;
    int32_t bitsSize = 0;
    if (DecodePngMemory(data, size, &handle, &info, &bitsSize, FuzzByteLimit) != 1)
        return;
    Check(handle >= 1 && handle <= PngOpenLimit);
    Check(bitsSize > 0 && static_cast<uint32_t>(bitsSize) == info.Header.SizeImage);
    std::vector<uint8_t> bits(static_cast<std::size_t>(bitsSize));
    const int32_t filled = mGetPNGData(&handle, bits.data());
    Check(mEndPNG(&handle) == 1 && handle == 0);
    if (filled != 1)
        return;
    const auto picture = PictureFromDib(bits.data(), bits.size(), info);
    Check(picture.has_value() && picture->Width() == info.Header.Width &&
          picture->Height() == info.Header.Height);
}

void DecodeAsDib(const uint8_t* data, std::size_t size) {
    inkrelay::BitmapInfo info{};
    const std::size_t head = std::min(size, sizeof info);
    std::memcpy(&info, data, head);
    const auto picture = inkrelay::PictureFromDib(data + head, size - head, info);
    if (picture)
        Check(picture->Width() == info.Header.Width);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    DecodeAsPng(data, size);
    DecodeAsDib(data, size);
    return 0;
}
