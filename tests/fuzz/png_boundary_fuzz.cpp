// libFuzzer over the PNG library boundary: arbitrary bytes through mLoadPNG's memory twin,
// mGetPNGData, mEndPNG and PictureFromDib. Besides the sanitizers it checks that a decode
// reported successful always yields the picture it described.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "image/bitmap_info.h"
#include "image/dib_picture.h"
#include "image/png_library.h"

namespace {

// Far below the real limit: a header claiming a huge image costs a short allocation, not
// half a gigabyte per input.
constexpr std::size_t FuzzByteLimit = std::size_t{16} << 20;

void Decode(const uint8_t* data, std::size_t size) {
    using namespace inkrelay;
    BitmapInfo info{};
    int32_t handle = 0;
    int32_t bitsSize = 0;
    if (DecodePngMemory(data, size, &handle, &info, &bitsSize, FuzzByteLimit) != 1)
        return;
    FUZZ_CHECK(handle >= 1 && handle <= PngOpenLimit);
    FUZZ_CHECK(bitsSize > 0 && static_cast<uint32_t>(bitsSize) == info.Header.SizeImage);
    std::vector<uint8_t> bits(static_cast<std::size_t>(bitsSize));
    const int32_t filled = mGetPNGData(&handle, bits.data());
    FUZZ_CHECK(mEndPNG(&handle) == 1 && handle == 0);
    if (filled != 1)
        return;
    const auto picture = PictureFromDib(bits.data(), bits.size(), info);
    FUZZ_CHECK(picture.has_value() && picture->Width() == info.Header.Width &&
               picture->Height() == info.Header.Height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Decode(data, size);
    return 0;
}
