// Scanner throughput on a full 1200 × 1200 range. The plain pass reads and quantises every
// pixel and nothing else, so it is the floor the scanners are measured against.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/picture.h"
#include "image/range_selection.h"
#include "scan/color_prime_scan.h"
#include "scan/draw_list.h"
#include "scan/inkjet_scan.h"
#include "scan/line_art_scan.h"
#include "scan/quantizer.h"
#include "scan/scan_hooks.h"
#include "scan/scan_result.h"

namespace {

using namespace inkrelay;

constexpr int32_t Side = 1200;
constexpr RangeSlots FullRange{0, 0, Side - 1, Side - 1};
constexpr uint32_t StrokeColour = 0x00302820;  // 0x00BBGGRR, a dark blue-grey

// A fixed-seed generator so every run scans the same pixels.
class Lcg {
  public:
    uint32_t Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state_ >> 33);
    }

  private:
    uint64_t state_ = 0x1234'5678'9ABC'DEF0ULL;
};

uint32_t Pack(int32_t r, int32_t g, int32_t b) {
    const auto clamp = [](int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return clamp(r) | clamp(g) << 8 | clamp(b) << 16;
}

// Three gradients in different directions with ±1 noise: colour runs of a few pixels, as a
// photograph gives after quantising, and never white so every pixel becomes a key.
Picture MakePhotoLike() {
    std::vector<uint32_t> pixels(static_cast<size_t>(Side) * Side);
    Lcg noise;
    for (int32_t y = 0; y < Side; ++y) {
        for (int32_t x = 0; x < Side; ++x) {
            const auto jitter = [&noise] { return static_cast<int32_t>(noise.Next() % 3) - 1; };
            const int32_t r = 30 + 180 * x / Side + jitter();
            const int32_t g = 20 + 160 * y / Side + jitter();
            const int32_t b = 60 + 120 * (x + Side - y) / (2 * Side) + jitter();
            pixels[static_cast<size_t>(y) * Side + static_cast<size_t>(x)] = Pack(r, g, b);
        }
    }
    return Picture(Side, Side, std::move(pixels));
}

// White paper with strokes of one colour: a grid, diagonals and rings, two pixels wide, so the
// tracer meets straight runs, corners, crossings and curves.
Picture MakeLineArt() {
    std::vector<uint32_t> pixels(static_cast<size_t>(Side) * Side, 0x00FFFFFF);
    const auto plot = [&pixels](int32_t x, int32_t y) {
        if (x >= 0 && y >= 0 && x < Side && y < Side)
            pixels[static_cast<size_t>(y) * Side + static_cast<size_t>(x)] = StrokeColour;
    };
    for (int32_t k = 50; k < Side; k += 100) {
        for (int32_t t = 0; t < Side; ++t) {
            plot(t, k);
            plot(t, k + 1);
            plot(k, t);
            plot(k + 1, t);
        }
    }
    for (int32_t t = 0; t < Side; ++t) {
        plot(t, t);
        plot(t + 1, t);
        plot(Side - 1 - t, t);
        plot(Side - t, t);
    }
    for (int32_t cy = 150; cy < Side; cy += 300) {
        for (int32_t cx = 150; cx < Side; cx += 300) {
            for (int32_t radius = 60; radius <= 120; radius += 30) {
                for (int32_t y = -radius - 1; y <= radius + 1; ++y) {
                    for (int32_t x = -radius - 1; x <= radius + 1; ++x) {
                        const int32_t d = x * x + y * y - radius * radius;
                        if (d >= -radius && d <= radius)
                            plot(cx + x, cy + y);
                    }
                }
            }
        }
    }
    return Picture(Side, Side, std::move(pixels));
}

const Picture& PictureFor(int64_t index) {
    static const Picture photo = MakePhotoLike();
    static const Picture lineArt = MakeLineArt();
    return index == 0 ? photo : lineArt;
}

void SetPixelCounters(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * int64_t{Side} * Side);
}

void ReportScan(benchmark::State& state, const ScanResult& result) {
    state.counters["completed"] = result.Completed() ? 1 : 0;
    state.counters["cells"] = static_cast<double>(result.NextCell - 1);
    SetPixelCounters(state);
}

void BM_PlainPass(benchmark::State& state) {
    const Picture& picture = PictureFor(state.range(0));
    const QuantizerRules rules = QuantizerRulesFor(static_cast<int16_t>(state.range(1)));
    for (auto _ : state) {
        int64_t sink = 0;
        for (int16_t y = FullRange.Top; y <= FullRange.Bottom; ++y) {
            for (int16_t x = FullRange.Left; x <= FullRange.Right; ++x) {
                const ColourLevels c = QuantizeColour(rules, picture.PixelAt(x, y));
                sink += c.R + c.G + c.B;
            }
        }
        benchmark::DoNotOptimize(sink);
    }
    SetPixelCounters(state);
}

// Times one scanner over the picture of the benchmark's first argument; the list is
// allocated once, outside the timing, as the program does.
template <typename Scan>
void TimeScan(benchmark::State& state, Scan&& scan) {
    const Picture& picture = PictureFor(state.range(0));
    EventMemory mem;
    ScanResult result;
    for (auto _ : state) {
        result = scan(picture, mem);
        // The list's cells are the scan's output; DoNotOptimize on the result struct itself
        // lost the assignment with GCC 12, so the counters below read a stale value.
        benchmark::ClobberMemory();
    }
    ReportScan(state, result);
}

void BM_Inkjet(benchmark::State& state) {
    const auto quality = static_cast<int16_t>(state.range(1));
    TimeScan(state, [quality](const Picture& picture, EventMemory& mem) {
        return ScanInkjet(picture, FullRange, quality, mem, ScanHooks{});
    });
}

void BM_ColorPrime(benchmark::State& state) {
    const auto quality = static_cast<int16_t>(state.range(1));
    TimeScan(state, [quality](const Picture& picture, EventMemory& mem) {
        return ScanColorPrime(picture, FullRange, quality, mem, ScanHooks{});
    });
}

void BM_LineArt(benchmark::State& state) {
    TimeScan(state, [](const Picture& picture, EventMemory& mem) {
        return ScanLineArt(picture, FullRange, StrokeColour, mem, ScanHooks{});
    });
}

// The keys the colour-prime scan sorts for the photo-like range, in the order it collects them.
const std::vector<int64_t>& PhotoKeys(int16_t quality) {
    static std::vector<std::vector<int64_t>> cache(3);
    std::vector<int64_t>& keys = cache[static_cast<size_t>(quality)];
    if (keys.empty()) {
        const Picture& picture = PictureFor(0);
        const QuantizerRules rules = QuantizerRulesFor(quality);
        for (int16_t y = FullRange.Top; y <= FullRange.Bottom; ++y) {
            for (int16_t x = FullRange.Left; x <= FullRange.Right; ++x) {
                const ColourLevels c = QuantizeColour(rules, picture.PixelAt(x, y));
                if (!IsWhite(c))
                    keys.push_back(PixelKey(c.R, c.G, c.B, x, y));
            }
        }
    }
    return keys;
}

void SetKeyCounters(benchmark::State& state, size_t count) {
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(count));
    state.counters["keys"] = static_cast<double>(count);
}

// The copy the sort benchmarks make every iteration, timed on its own so it can be subtracted.
void BM_KeyCopy(benchmark::State& state) {
    const std::vector<int64_t>& keys = PhotoKeys(static_cast<int16_t>(state.range(0)));
    std::vector<int64_t> work(keys.size());
    for (auto _ : state) {
        std::copy(keys.begin(), keys.end(), work.begin());
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    SetKeyCounters(state, keys.size());
}

template <typename Sort>
void RunSort(benchmark::State& state, Sort sort) {
    const std::vector<int64_t>& keys = PhotoKeys(static_cast<int16_t>(state.range(0)));
    std::vector<int64_t> work(keys.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(keys.begin(), keys.end(), work.begin());
        state.ResumeTiming();
        sort(work);
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    SetKeyCounters(state, keys.size());
}

void BM_CombSort(benchmark::State& state) {
    RunSort(state, [](std::vector<int64_t>& keys) { SortKeys(keys); });
}

void BM_StdSort(benchmark::State& state) {
    RunSort(state, [](std::vector<int64_t>& keys) { std::sort(keys.begin(), keys.end()); });
}

// Arguments: picture (0 photo-like, 1 line art), quality.
void PictureAndQuality(benchmark::internal::Benchmark* b) {
    b->ArgNames({"picture", "quality"});
    for (int64_t picture : {0, 1})
        for (int64_t quality : {0, 1, 2}) b->Args({picture, quality});
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_PlainPass)->Apply(PictureAndQuality);
BENCHMARK(BM_Inkjet)->Apply(PictureAndQuality);
BENCHMARK(BM_ColorPrime)->Apply(PictureAndQuality);
BENCHMARK(BM_LineArt)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyCopy)->ArgName("quality")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CombSort)->ArgName("quality")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort)->ArgName("quality")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
