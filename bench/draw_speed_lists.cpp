#include "draw_speed_lists.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "desktop_applet.h"
#include "draw/drawing_run.h"
#include "quiet_draw_hooks.h"
#include "scan/quantizer.h"
#include "sim_desktop.h"

namespace inkrelay::speed {

namespace {

uint32_t Rgb(int r, int g, int b) {
    const auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return c(r) | c(g) << 8 | c(b) << 16;
}

// Records the engine's pointer actions; reads see white, time moves a millisecond a call.
class RecordingDesktop final : public Desktop {
  public:
    explicit RecordingDesktop(RecordedReplay& out) : out_(out) {}

    int32_t ColourBits() override { return 24; }
    ScreenSize ScreenPixels() override { return {32767, 32767}; }
    void MovePointer(int16_t x, int16_t y) override {
        out_.Actions.push_back({PointerAction::Move, MouseAction::LeftDown, x, y});
        ++out_.Moves;
        at_ = {x, y};
    }
    ScreenPoint PointerPosition() override { return at_; }
    void PressButton(MouseButton button) override { Record(ActionOf(button, true)); }
    void ReleaseButton(MouseButton button) override { Record(ActionOf(button, false)); }
    void Record(MouseAction action) {
        out_.Actions.push_back({PointerAction::Button, action, 0, 0});
        ++out_.Buttons;
    }
    bool IsKeyDown(Key key) override {
        if (key == Key::Escape) {
            out_.Actions.push_back({PointerAction::EventEnd, MouseAction::LeftDown, 0, 0});
            ++out_.Events;
        }
        return false;
    }
    std::unique_ptr<ScreenReader> OpenScreen() override { return std::make_unique<WhiteDc>(); }
    void Sleep(uint32_t) override {}
    int32_t TickCount() override { return ++ticks_; }

  private:
    class WhiteDc final : public ScreenReader {
      public:
        uint32_t ReadPixel(int32_t, int32_t) override { return White; }
        void ReadRegion(int32_t, int32_t, int32_t width, int32_t height,
                        std::span<uint32_t> out) override {
            CheckRegionArguments(width, height, out);
            std::fill_n(out.begin(), int64_t{width} * height, White);
        }
    };

    RecordedReplay& out_;
    ScreenPoint at_;
    int32_t ticks_ = 0;
};

}  // namespace

Picture PhotoPicture(int32_t side) {
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(side) * static_cast<size_t>(side));
    uint32_t seed = 0x1234567u;
    const auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>(seed >> 24) % 5 - 2;
    };
    const double s = side;
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            // Sky above a horizon, a meadow below it, a sun and a shaded ball in front.
            double r, g, b;
            if (y < side * 11 / 20) {
                r = 70 + 110 * y / s;
                g = 120 + 90 * y / s;
                b = 230 - 30 * y / s;
            } else {
                r = 60 + 50 * x / s;
                g = 140 - 60 * (y - s / 2) / s;
                b = 40 + 20 * x / s;
            }
            const double sun = std::hypot(x - s * 0.78, y - s * 0.2) / (s * 0.1);
            if (sun < 1) {
                r = 255;
                g = 225 - 40 * sun;
                b = 110;
            }
            const double ball = std::hypot(x - s * 0.35, y - s * 0.62) / (s * 0.2);
            if (ball < 1) {
                const double light = std::hypot(x - s * 0.3, y - s * 0.56) / (s * 0.3);
                r = 210 - 150 * light;
                g = 60 - 40 * light;
                b = 50 - 30 * light;
            }
            pixels.push_back(Rgb(static_cast<int>(r) + noise(), static_cast<int>(g) + noise(),
                                 static_cast<int>(b) + noise()));
        }
    }
    return Picture(side, side, std::move(pixels));
}

Picture LineArtPicture(int32_t side) {
    std::vector<uint32_t> pixels(static_cast<size_t>(side) * static_cast<size_t>(side), White);
    const auto ink = [&](double fx, double fy) {
        const auto x = static_cast<int32_t>(std::lround(fx)),
                   y = static_cast<int32_t>(std::lround(fy));
        if (x >= 0 && y >= 0 && x < side && y < side)
            pixels[static_cast<size_t>(y) * static_cast<size_t>(side) + static_cast<size_t>(x)] = 0;
    };
    const auto line = [&](double x0, double y0, double x1, double y1) {
        const int steps = static_cast<int>(std::max(std::abs(x1 - x0), std::abs(y1 - y0))) + 1;
        for (int k = 0; k <= steps; ++k)
            ink(x0 + (x1 - x0) * k / steps, y0 + (y1 - y0) * k / steps);
    };
    const double s = side, pi = 3.14159265358979;
    // A frame, a fan of lines, rings, a spiral, a wave and a row of small circles.
    line(2, 2, s - 3, 2);
    line(s - 3, 2, s - 3, s - 3);
    line(s - 3, s - 3, 2, s - 3);
    line(2, s - 3, 2, 2);
    for (int k = 0; k < 12; ++k) line(10, s * 0.5, 10 + s * 0.35, s * 0.06 + k * s * 0.037);
    for (int k = 1; k <= 12; ++k)
        for (int a = 0; a < 1440; ++a)
            ink(s * 0.72 + k * s * 0.017 * std::cos(a * pi / 720),
                s * 0.28 + k * s * 0.017 * std::sin(a * pi / 720));
    for (int a = 0; a < 3000; ++a) {
        const double t = a * pi / 400, r = 2 + t * 1.6;
        ink(s * 0.27 + r * std::cos(t), s * 0.76 + r * std::sin(t) * 0.8);
    }
    for (double x = s * 0.55; x < s - 8; x += 0.25) ink(x, s * 0.64 + 8 * std::sin(x / 5));
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 6; ++k)
            for (int a = 0; a < 360; ++a)
                ink(s * 0.56 + k * s * 0.07 + 5 * std::cos(a * pi / 180),
                    s * (0.81 + row * 0.08) + 5 * std::sin(a * pi / 180));
    return Picture(side, side, std::move(pixels));
}

DrawList ReadList(ReadMethod method, const Picture& picture) {
    DrawList list;
    const RangeSlots range{0, 0, static_cast<int16_t>(picture.Width() - 1),
                           static_cast<int16_t>(picture.Height() - 1)};
    const ScanResult result = ReadRange(method, picture, range, 0, 0, *list.Mem);
    if (result.Outcome != ScanOutcome::Completed)
        throw std::runtime_error("the read of the benchmark picture did not complete");
    list.End = result.EventMemEnd();
    for (EventWalker walk(*list.Mem, list.End); !walk.AtEnd(); walk.Next()) ++list.Events;
    return list;
}

std::vector<uint32_t> ExpectedCanvas(ReadMethod method, const Picture& picture) {
    std::vector<uint32_t> canvas;
    canvas.reserve(static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height()));
    const QuantizerRules rules = QuantizerRulesFor(0);
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const uint32_t p = picture.PixelAt(x, y);
            if (method == ReadMethod::LineArt) {
                canvas.push_back(p == 0 ? 0 : White);
                continue;
            }
            const ColourLevels c = QuantizeColour(rules, p);
            canvas.push_back(
                IsWhite(c) ? White : static_cast<uint32_t>(c.R * 5 | c.G * 5 << 8 | c.B * 5 << 16));
        }
    }
    return canvas;
}

RecordedReplay RecordReplay(const DrawList& list, int16_t applet, int16_t mode, ScreenPoint drawPos,
                            ScreenPoint barPos, int32_t width, int32_t height) {
    RecordedReplay replay;
    RecordingDesktop desktop(replay);
    const DrawHooks hooks = QuietDrawHooks();
    DrawSettings settings;
    settings.Mode = mode;
    settings.Applet = applet;
    settings.Speed = 5;
    settings.Check = false;
    settings.DrawPos = drawPos;
    settings.RGBBarPos = barPos;
    settings.ScanWidth = width;
    settings.ScanHeight = height;
    DrawRun run(desktop, *list.Mem, list.End, settings, hooks);
    if (run.Run().Outcome != DrawOutcome::Completed)
        throw std::runtime_error("recording the replay did not complete");
    return replay;
}

std::vector<uint32_t> SimulatedCanvas(const RecordedReplay& replay, int32_t events, int16_t applet,
                                      ScreenPoint canvas, ScreenPoint bars, int32_t width,
                                      int32_t height) {
    SimDesktop desktop(1024, 768);
    SimAppletOptions options;
    if (applet == 4 || applet == 5) {
        // The browser bars; frames and merged moves change when paint shows, not what it is.
        options = BrowserAppletOptions(applet);
        options.FrameMicros = 0;
        options.MergeMovesMicros = 0;
    }
    options.Applet = applet;
    options.Place = {canvas, static_cast<int16_t>(width), static_cast<int16_t>(height), bars};
    DesktopApplet shown(desktop, options);
    int32_t done = 0;
    for (const PointerAction& a : replay.Actions) {
        if (done == events)
            break;
        switch (a.What) {
            case PointerAction::Move: desktop.MovePointer(a.X, a.Y); break;
            case PointerAction::Button: Replay(desktop, a.Action); break;
            case PointerAction::EventEnd: ++done; break;
        }
    }
    return shown.Applet().CanvasPixels();
}

int32_t Mismatches(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size())
        throw std::invalid_argument("canvases of different sizes");
    int32_t wrong = 0;
    for (size_t k = 0; k < a.size(); ++k) wrong += a[k] != b[k];
    return wrong;
}

std::string MethodName(ReadMethod method) {
    switch (method) {
        case ReadMethod::Inkjet: return "inkjet";
        case ReadMethod::ColorPrime: return "colour prime";
        case ReadMethod::LineArt: return "line art";
    }
    return "?";
}

}  // namespace inkrelay::speed
