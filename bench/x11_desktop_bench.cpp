// The X11 desktop's calls against a private Xvfb, each beside a bare round trip on a second
// connection: a call that costs one round trip runs at about the bare rate.

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>

#include "platform_desktop.h"
#include "xvfb_server.h"

namespace inkrelay {
namespace {

constexpr int Width = 640;
constexpr int Height = 480;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// Members in teardown order: the DC before its desktop, both before the server.
struct Session {
    test::XvfbServer Server{Width, Height, 24};
    std::unique_ptr<Desktop> Screen = OpenPlatformDesktop(Server.DisplayName());
    std::unique_ptr<ScreenReader> Dc = Screen->OpenScreen();
    std::unique_ptr<Display, DisplayCloser> Plain{XOpenDisplay(Server.DisplayName().c_str())};
};

Session* session = nullptr;

void BM_RoundTrip(benchmark::State& state) {
    Display* plain = session->Plain.get();
    for (auto _ : state) {
        XSync(plain, False);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RoundTrip)->UseRealTime();

void BM_SetCursorPos(benchmark::State& state) {
    int16_t x = 0;
    for (auto _ : state) {
        // A new position every time; the server may skip a move to where the pointer already is.
        session->Screen->MovePointer(x, 100);
        x = static_cast<int16_t>((x + 1) % Width);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetCursorPos)->UseRealTime();

void BM_ButtonPair(benchmark::State& state) {
    for (auto _ : state) {
        session->Screen->PressButton(MouseButton::Left);
        session->Screen->ReleaseButton(MouseButton::Left);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ButtonPair)->UseRealTime();

void BM_GetPixel(benchmark::State& state) {
    int32_t x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(session->Dc->ReadPixel(x, 50));
        x = (x + 1) % Width;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetPixel)->UseRealTime();

void BM_ReadRegion21x13(benchmark::State& state) {
    std::array<uint32_t, 21 * 13> region{};
    int32_t x = 0;
    for (auto _ : state) {
        session->Dc->ReadRegion(x, 60, 21, 13, region);
        benchmark::ClobberMemory();
        x = (x + 1) % (Width - 21);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadRegion21x13)->UseRealTime();

}  // namespace
}  // namespace inkrelay

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    try {
        inkrelay::Session session;
        if (!session.Plain) {
            throw std::runtime_error("cannot open a second connection to the benchmark's Xvfb");
        }
        inkrelay::session = &session;
        benchmark::RunSpecifiedBenchmarks();
        inkrelay::session = nullptr;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "x11_desktop_bench: %s\n", error.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
