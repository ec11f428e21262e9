// Decoding PNG pictures of the sizes the program reads, through the PNG library's call protocol
// as the open command uses it: header, bits, end, and the bits into a picture.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/bitmap_info.h"
#include "image/dib_picture.h"
#include "image/png_library.h"
#include "png_writer.h"

namespace {

using namespace inkrelay;

// Gradients with a little noise from a fixed-seed generator, so that the stream compresses the
// way a photograph does rather than like flat colour or like noise.
test::PngImage PhotoLike(uint32_t side, int colourType, int depth, bool interlaced) {
    test::PngImage image;
    image.Width = image.Height = side;
    image.ColourType = colourType;
    image.BitDepth = depth;
    image.Interlaced = interlaced;
    const int channels = test::ChannelCount(colourType);
    const uint32_t top = (1u << depth) - 1;
    uint64_t state = 0x1234'5678'9ABC'DEF0ULL;
    image.Samples.reserve(std::size_t{side} * side * static_cast<uint32_t>(channels));
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x)
            for (int c = 0; c < channels; ++c) {
                state = state * 6364136223846793005ULL + 1442695040888963407ULL;
                const uint32_t noise = static_cast<uint32_t>(state >> 62);
                const uint32_t ramp = c == 0 ? x : c == 1 ? y : c == 2 ? (x + y) / 2 : side - y;
                image.Samples.push_back(
                    static_cast<uint16_t>(std::min(top, ramp * top / side + noise)));
            }
    return image;
}

const std::vector<std::string>& Files() {
    static const std::vector<std::string> files = {
        test::EncodePng(PhotoLike(1200, PNG_COLOR_TYPE_RGB, 8, false)),
        test::EncodePng(PhotoLike(1200, PNG_COLOR_TYPE_RGB, 8, true)),
        test::EncodePng(PhotoLike(1200, PNG_COLOR_TYPE_RGB_ALPHA, 16, false)),
        test::EncodePng(PhotoLike(1200, PNG_COLOR_TYPE_GRAY, 8, false)),
    };
    return files;
}

void BM_LoadPng(benchmark::State& state) {
    const std::string& file = Files()[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state) {
        BitmapInfo info{};
        int32_t handle = 0, size = 0;
        if (DecodePngMemory(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &handle,
                            &info, &size) != 1) {
            state.SkipWithError("refused");
            return;
        }
        std::vector<uint8_t> bits(static_cast<std::size_t>(size));
        const int32_t filled = mGetPNGData(&handle, bits.data());
        mEndPNG(&handle);
        auto picture = PictureFromDib(bits.data(), bits.size(), info);
        if (filled != 1 || !picture) {
            state.SkipWithError("not decoded");
            return;
        }
        benchmark::DoNotOptimize(picture);
    }
    state.SetItemsProcessed(state.iterations() * 1200 * 1200);
}

}  // namespace

// 0: RGB 8-bit, 1: the same interlaced, 2: RGBA 16-bit, 3: grey 8-bit; all 1200 × 1200.
BENCHMARK(BM_LoadPng)->ArgName("file")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
