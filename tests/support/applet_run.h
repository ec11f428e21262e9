#pragma once
// A picture read by one of the scanners and drawn into a simulated applet on a SimDesktop, with
// what the canvas should show afterwards.

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "desktop_applet.h"
#include "draw_run_fixture.h"
#include "image/picture.h"
#include "image/range_selection.h"
#include "scan/read_method.h"
#include "sim_canvas.h"

namespace inkrelay::test {

struct AppletRun : DrawRunFixture {
    static constexpr ScreenPoint CanvasAt{40, 160};
    static constexpr ScreenPoint BarsAt{300, 40};

    // Reads the whole picture at quality 0 (line art: pixels of lineColour) into the list.
    AppletRun(const Picture& picture, ReadMethod method, uint32_t lineColour = 0)
        : Width(picture.Width()), Height(picture.Height()) {
        const RangeSlots range{0, 0, static_cast<int16_t>(Width - 1),
                               static_cast<int16_t>(Height - 1)};
        End = ReadRange(method, picture, range, 0, lineColour, Mem).EventMemEnd();
        Settings.Mode = method == ReadMethod::LineArt ? 1 : 0;
        Settings.DrawPos = CanvasAt;
        Settings.RGBBarPos = BarsAt;
        Settings.ScanWidth = Width;
        Settings.ScanHeight = Height;
    }

    // Places the applet; options' Applet, Place and Layout are filled in from the settings.
    SimApplet& Open(int16_t applet, SimAppletOptions options = {}) {
        Settings.Applet = applet;
        options.Applet = applet;
        options.Place = {CanvasAt, static_cast<int16_t>(Width), static_cast<int16_t>(Height),
                         BarsAt};
        Applet = std::make_unique<DesktopApplet>(Screen, options);
        return Applet->Applet();
    }

    // The list replayed on a white canvas: what the applet should show.
    std::vector<uint32_t> Expected() const {
        SimCanvas canvas(Width, Height);
        canvas.Replay(Mem, End);
        std::vector<uint32_t> pixels;
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x) pixels.push_back(canvas.PixelAt(x, y));
        return pixels;
    }

    // Pixels of the applet's canvas that differ from Expected().
    int32_t Mismatches() const {
        const std::vector<uint32_t> shown = Applet->Applet().CanvasPixels();
        const std::vector<uint32_t> expected = Expected();
        int32_t n = 0;
        for (size_t k = 0; k < expected.size(); ++k) n += shown[k] != expected[k];
        return n;
    }

    int32_t ErrorLines() const {
        int32_t n = 0;
        for (const std::string& line : WrittenLog) n += line.find("ErrNum:") != std::string::npos;
        return n;
    }

    int32_t Width;
    int32_t Height;
    std::unique_ptr<DesktopApplet> Applet;
};

// Black strokes on white: a frame, two diagonals and a ring, as a traced figure gives.
inline Picture LineFigure(int32_t side) {
    std::vector<uint32_t> pixels(static_cast<size_t>(side) * static_cast<size_t>(side), 0xFFFFFF);
    const auto ink = [&](int32_t x, int32_t y) {
        pixels[static_cast<size_t>(y) * static_cast<size_t>(side) + static_cast<size_t>(x)] = 0;
    };
    for (int32_t k = 4; k < side - 4; ++k) {
        ink(k, 4);
        ink(4, k);
        ink(k, k);
        ink(side - 1 - k, k);
    }
    const int32_t c = side / 2, r = side / 3;
    for (int32_t a = 0; a < 720; ++a) {
        const double t = a * 3.14159265358979 / 360.0;
        ink(c + static_cast<int32_t>(r * std::cos(t)), c + static_cast<int32_t>(r * std::sin(t)));
    }
    return Picture(side, side, std::move(pixels));
}

}  // namespace inkrelay::test
