// The drawing engine's own cost: a long draw list replayed at the fastest speed into a desktop
// that does nothing, beside the bare port calls the replay makes. With the check on, the null
// desktop answers every read with the colour the run expects, so every check passes.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "draw/drawing_run.h"
#include "image/picture.h"
#include "image/range_selection.h"
#include "quiet_draw_hooks.h"
#include "scan/color_prime_scan.h"
#include "scan/draw_list.h"
#include "scan/scan_hooks.h"

namespace {

// Heap allocations while counting is on, to show the engine makes none per event.
std::atomic<bool> countingAllocations{false};
std::atomic<int64_t> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    if (countingAllocations.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace inkrelay;

struct PortCalls {
    int64_t Moves = 0, Buttons = 0, Keys = 0, Pixels = 0, Ticks = 0;
    int64_t Total() const { return Moves + Buttons + Keys + Pixels + Ticks; }
};

class NullScreen final : public ScreenReader {
  public:
    NullScreen(const DrawRun* const& answer, PortCalls& calls) : answer_(answer), calls_(calls) {}
    uint32_t ReadPixel(int32_t, int32_t) override {
        ++calls_.Pixels;
        return answer_ != nullptr ? static_cast<uint32_t>(answer_->ExpectedColour()) : 0u;
    }
    void ReadRegion(int32_t, int32_t, int32_t, int32_t, std::span<uint32_t>) override {}

  private:
    const DrawRun* const& answer_;
    PortCalls& calls_;
};

class NullDesktop final : public Desktop {
  public:
    int32_t ColourBits() override { return 24; }
    ScreenSize ScreenPixels() override { return {32767, 32767}; }
    void MovePointer(int16_t x, int16_t y) override {
        ++Calls.Moves;
        at_ = {x, y};
    }
    ScreenPoint PointerPosition() override { return at_; }
    void PressButton(MouseButton) override { ++Calls.Buttons; }
    void ReleaseButton(MouseButton) override { ++Calls.Buttons; }
    bool IsKeyDown(Key) override {
        ++Calls.Keys;
        return false;
    }
    std::unique_ptr<ScreenReader> OpenScreen() override {
        return std::make_unique<NullScreen>(Answer, Calls);
    }
    void Sleep(uint32_t) override {}
    int32_t TickCount() override {
        ++Calls.Ticks;
        return 0;
    }

    const DrawRun* Answer = nullptr;  // answers with the run's expected colour once it exists
    PortCalls Calls;

  private:
    ScreenPoint at_;
};

// Gradients with noise on 600 × 600 pixels: about a quarter of a million events by colour
// prime at quality 0, each colour's dots and runs after one bar selection.
struct BenchList {
    EventMemory Mem;
    int32_t End = 0;

    BenchList() {
        constexpr int32_t side = 600;
        std::vector<uint32_t> pixels(static_cast<size_t>(side) * side);
        uint64_t seed = 0x9E3779B97F4A7C15ULL;
        for (int32_t y = 0; y < side; ++y) {
            for (int32_t x = 0; x < side; ++x) {
                seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
                const auto jitter = static_cast<uint32_t>(seed >> 62);
                const uint32_t r = 30 + 180 * static_cast<uint32_t>(x) / side + jitter;
                const uint32_t g = 20 + 160 * static_cast<uint32_t>(y) / side;
                const uint32_t b = 90 + jitter * 3;
                pixels[static_cast<size_t>(y) * side + static_cast<size_t>(x)] =
                    r | g << 8 | b << 16;
            }
        }
        const Picture picture(side, side, std::move(pixels));
        End = ScanColorPrime(picture, RangeSlots{0, 0, side - 1, side - 1}, 0, Mem, ScanHooks{})
                  .EventMemEnd();
    }

    int64_t Events() const {
        int64_t n = 0;
        for (EventWalker walker(Mem, End); !walker.AtEnd(); walker.Next()) ++n;
        return n;
    }
};

const BenchList& List() {
    static const BenchList list;
    return list;
}

void BM_Replay(benchmark::State& state) {
    const BenchList& list = List();
    const DrawHooks hooks = QuietDrawHooks();
    DrawSettings settings;
    settings.Applet = 1;
    settings.Speed = 5;
    settings.Check = state.range(0) != 0;
    settings.DrawPos = {100, 100};
    settings.RGBBarPos = {800, 100};
    PortCalls calls;
    int64_t allocationsInRuns = 0;
    for (auto _ : state) {
        NullDesktop screen;
        DrawRun run(screen, list.Mem, list.End, settings, hooks);
        screen.Answer = &run;
        allocations = 0;
        countingAllocations = true;
        benchmark::DoNotOptimize(run.Run());
        countingAllocations = false;
        allocationsInRuns += allocations;
        calls = screen.Calls;
    }
    const int64_t events = list.Events();
    state.SetItemsProcessed(state.iterations() * events);
    state.counters["events"] = static_cast<double>(events);
    state.counters["port_calls_per_event"] =
        static_cast<double>(calls.Total()) / static_cast<double>(events);
    state.counters["allocations_per_run"] =
        static_cast<double>(allocationsInRuns) / static_cast<double>(state.iterations());
}

// The same port calls as one replay, made directly: what the engine costs on top of them.
void BM_BarePortCalls(benchmark::State& state) {
    const BenchList& list = List();
    PortCalls calls;
    {
        NullDesktop screen;
        DrawSettings settings;
        settings.Applet = 1;
        settings.Check = state.range(0) != 0;
        settings.DrawPos = {100, 100};
        settings.RGBBarPos = {800, 100};
        const DrawHooks hooks = QuietDrawHooks();
        DrawRun run(screen, list.Mem, list.End, settings, hooks);
        screen.Answer = &run;
        run.Run();
        calls = screen.Calls;
    }
    for (auto _ : state) {
        NullDesktop screen;
        // Hidden from the optimiser, so the calls stay virtual as the engine's are.
        Desktop* desktop = &screen;
        benchmark::DoNotOptimize(desktop);
        Desktop& port = *desktop;
        const std::unique_ptr<ScreenReader> dc = port.OpenScreen();
        for (int64_t k = 0; k < calls.Moves; ++k) port.MovePointer(1, 1);
        for (int64_t k = 0; k < calls.Buttons; ++k) port.PressButton(MouseButton::Left);
        for (int64_t k = 0; k < calls.Keys; ++k)
            benchmark::DoNotOptimize(port.IsKeyDown(Key::Escape));
        for (int64_t k = 0; k < calls.Pixels; ++k) benchmark::DoNotOptimize(dc->ReadPixel(1, 1));
        for (int64_t k = 0; k < calls.Ticks; ++k) benchmark::DoNotOptimize(port.TickCount());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * list.Events());
}

BENCHMARK(BM_Replay)->ArgName("check")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePortCalls)->ArgName("check")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
