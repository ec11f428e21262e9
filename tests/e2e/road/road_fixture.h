#pragma once
// One user's road per test: a private Xvfb, the practice applet, the real inkrelay copied into a
// fresh folder, driven with XTest; the applet's canvas dumped at the end and compared with what
// the picture should become.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "image/picture.h"
#include "image/png_picture.h"
#include "inkrelay_road.h"
#include "picture_png.h"
#include "scan/quantizer.h"
#include "temp_dir.h"
#include "xvfb_server.h"

namespace inkrelay::road_test {

using road::BoxIcon;
using road::InkrelaySettings;
using road::MessageBox;

inline constexpr uint32_t White = 0x00FFFFFF;
inline constexpr auto RunTimeout = std::chrono::seconds(240);

// Flat blocks of a few hundred colours, a white disc that must stay unpainted and single-pixel
// dots of one colour, so every kind of event of a full-colour read is drawn.
inline Picture ColourPicture(int32_t side) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            const int32_t dx = x - side * 5 / 8, dy = y - side * 3 / 8, r = side * 3 / 16;
            const uint32_t bx = static_cast<uint32_t>(x / 4), by = static_cast<uint32_t>(y / 4);
            if (dx * dx + dy * dy < r * r)
                pixels.push_back(White);
            else if (x == y && x % 3 == 0)
                pixels.push_back(0x000014FA);
            else
                pixels.push_back((bx * 16 % 256) | (by * 16 % 256) << 8 |
                                 ((bx + by) * 8 % 256) << 16);
        }
    }
    return Picture(side, side, std::move(pixels));
}

// A drawn figure in black strokes on white: a house with a roof, a sun and a wavy line.
inline Picture LineArtPicture(int32_t side) {
    std::vector<uint32_t> pixels(static_cast<size_t>(side * side), White);
    const auto ink = [&](int32_t x, int32_t y) {
        if (x >= 0 && y >= 0 && x < side && y < side)
            pixels[static_cast<size_t>(y * side + x)] = 0;
    };
    const int32_t left = side / 8, right = side / 2, top = side / 2, bottom = side - side / 8;
    for (int32_t x = left; x <= right; ++x) {
        ink(x, top);
        ink(x, bottom);
    }
    for (int32_t y = top; y <= bottom; ++y) {
        ink(left, y);
        ink(right, y);
    }
    for (int32_t k = 0; k <= (right - left) / 2; ++k) {
        ink(left + k, top - k);
        ink(right - k, top - k);
    }
    const int32_t cx = side * 3 / 4, cy = side / 4, r = side / 8;
    for (int32_t a = 0; a < 360; ++a) {
        const double t = a * 3.14159265358979 / 180.0;
        ink(cx + static_cast<int32_t>(std::lround(r * std::cos(t))),
            cy + static_cast<int32_t>(std::lround(r * std::sin(t))));
    }
    for (int32_t x = side * 5 / 8; x < side - 2; ++x)
        ink(x, side * 3 / 4 + static_cast<int32_t>(std::lround(3 * std::sin(x / 3.0))));
    return Picture(side, side, std::move(pixels));
}

// What the applet must show after a full-colour read at quality 0: each pixel's quantised
// colour, white left unpainted.
inline std::vector<uint32_t> QuantisedCanvas(const Picture& picture) {
    const QuantizerRules rules = QuantizerRulesFor(0);
    std::vector<uint32_t> canvas;
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const ColourLevels c = QuantizeColour(rules, picture.PixelAt(x, y));
            canvas.push_back(
                IsWhite(c) ? White : static_cast<uint32_t>(c.R * 5 | c.G * 5 << 8 | c.B * 5 << 16));
        }
    }
    return canvas;
}

// Line art in black: the black pixels and nothing else.
inline std::vector<uint32_t> LineMask(const Picture& picture) {
    std::vector<uint32_t> canvas;
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            canvas.push_back(picture.PixelAt(x, y) == 0 ? 0 : White);
    return canvas;
}

inline void WritePng(const Picture& picture, const std::filesystem::path& path) {
    test::WritePicturePng(picture, path);
}

inline int32_t CountLines(const std::string& log, const std::string& part) {
    int32_t n = 0;
    for (size_t at = log.find(part); at != std::string::npos; at = log.find(part, at + 1)) ++n;
    return n;
}

// With INKRELAY_ROAD_SHOTS set to a folder, a failed test leaves its screen there.
inline void KeepScreenOfFailure(road::XDriver& x) {
    const char* shots = std::getenv("INKRELAY_ROAD_SHOTS");
    if (shots == nullptr || !::testing::Test::HasFailure())
        return;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    const road::ScreenImage screen = x.Grab({0, 0, x.ScreenWidth(), x.ScreenHeight()});
    WritePng(Picture(screen.Width, screen.Height, screen.Pixels),
             std::filesystem::path(shots) / (name + ".png"));
}

// Pixels of a canvas width wide that differ from expected, the first few reported as failures
// of where unless quiet.
inline int32_t Differences(const std::vector<uint32_t>& pixels, int32_t width,
                           const std::vector<uint32_t>& expected, const std::string& where,
                           bool quiet) {
    int32_t wrong = 0;
    for (size_t i = 0; i < expected.size() && i < pixels.size(); ++i) {
        if (pixels[i] != expected[i] && ++wrong <= 5 && !quiet)
            ADD_FAILURE() << where << " (" << static_cast<int32_t>(i) % width << ","
                          << static_cast<int32_t>(i) / width << ") is " << std::hex << pixels[i]
                          << ", not " << expected[i];
    }
    EXPECT_EQ(pixels.size(), expected.size()) << where;
    return wrong;
}

// The applet's --dump file, row by row, checked to be the picture's size.
inline std::vector<uint32_t> DumpedCanvas(const std::filesystem::path& dump,
                                          const Picture& picture) {
    const Picture canvas = LoadPngPicture(dump.string());
    EXPECT_EQ(canvas.Width(), picture.Width());
    EXPECT_EQ(canvas.Height(), picture.Height());
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < canvas.Height(); ++y)
        for (int32_t x = 0; x < canvas.Width(); ++x) pixels.push_back(canvas.PixelAt(x, y));
    return pixels;
}

inline std::string LogPlace(const std::string& key, road::Point p) {
    const auto four = [](int n) {
        std::string s = std::to_string(n);
        return std::string(s.size() < 4 ? 4 - s.size() : 0, '0') + s;
    };
    return key + ":" + four(p.X) + "," + four(p.Y);
}

// The header names the run, the picture's range and both captured places; the start and finish
// lines follow.
inline void ExpectLogOfRun(const std::string& log, const InkrelaySettings& settings,
                           const Picture& picture, road::Point canvas, road::Point bars) {
    const auto value = [&](const std::string& key) { return road::LogHeaderValue(log, key); };
    EXPECT_TRUE(log.starts_with("[Ver.2.10]  Mode:" + std::to_string(settings.Mode) +
                                "  Applet:" + std::to_string(settings.Applet) +
                                "  Speed:" + std::to_string(settings.Speed)))
        << log;
    EXPECT_EQ(value("ScanWidth"), picture.Width());
    EXPECT_EQ(value("ScanHeight"), picture.Height());
    EXPECT_NE(log.find(LogPlace("DrawPos", canvas)), std::string::npos) << log;
    EXPECT_NE(log.find(LogPlace("RGBBarPos", bars)), std::string::npos) << log;
    EXPECT_GT(value("EventMemEnd").value_or(0), 0);
    EXPECT_EQ(CountLines(log, "]  Drawing started.\r\n"), 1) << log;
    // The finish line takes the error ring's next slot, so it is last only until the ring wraps.
    EXPECT_EQ(CountLines(log, "]  Drawing finished or canceled.\r\n"), 1) << log;
}

// A run into an applet that paints nothing, its drawing started: the failure with its checklist,
// the stop, then where the log is, each answered, with their icons and sizes in that order; the
// program still running, the bars tried at both pitches. The log.
inline std::string AnswerADeadAppletsBoxes(road::Inkrelay& program, road::Duration firstBox) {
    const MessageBox failed = program.WaitForBox(firstBox);
    program.Accept(failed);
    const MessageBox stopped = program.WaitForBox(std::chrono::seconds(30));
    program.Accept(stopped);
    const MessageBox notice = program.WaitForBox(std::chrono::seconds(30));
    program.Accept(notice);
    EXPECT_EQ(failed.Icon, BoxIcon::Critical);
    EXPECT_EQ(stopped.Icon, BoxIcon::Information);
    EXPECT_EQ(notice.Icon, BoxIcon::Information);
    EXPECT_GT(failed.Window.Frame.Height, notice.Window.Frame.Height);
    EXPECT_GT(notice.Window.Frame.Height, stopped.Window.Frame.Height);
    EXPECT_TRUE(program.Process().Running());
    const std::string log = program.Log();
    EXPECT_NE(log.find("ErrCnt:16  RGBBarNum:1"), std::string::npos) << log;
    return log;
}

// Esc held while a run draws, and the warning that asks answered: Yes stops the run, which says
// so and logs its end, the program still running; No lets it go on to its completion box.
inline void StopWithEscape(road::Inkrelay& program, road::Duration timeout) {
    const MessageBox question = program.HoldEscapeUntilAsked(timeout);
    EXPECT_EQ(question.Icon, BoxIcon::Warning);
    program.Accept(question);
    const MessageBox stopped = program.WaitForBox(RunTimeout);
    EXPECT_EQ(stopped.Icon, BoxIcon::Information);
    program.Accept(stopped);
    EXPECT_TRUE(program.Log().ends_with("]  Drawing finished or canceled.\r\n"));
    EXPECT_TRUE(program.Process().Running());
}
inline void GoOnAfterEscape(road::Inkrelay& program, road::Duration timeout) {
    const MessageBox question = program.HoldEscapeUntilAsked(timeout);
    EXPECT_EQ(question.Icon, BoxIcon::Warning);
    program.Decline(question);
    const MessageBox done = program.WaitForBox(RunTimeout);
    EXPECT_EQ(done.Icon, BoxIcon::Information);
    program.Accept(done);
}

class RoadTest : public ::testing::Test {
  protected:
    explicit RoadTest(int depth = 24) : server_(1024, 768, depth), x_(server_.DisplayName()) {}

    void TearDown() override { KeepScreenOfFailure(x_); }

    // What inkrelay's environment adds, and whether it shows a box before its main window.
    void StartWith(std::vector<std::string> environment, bool boxAtStart) {
        environment_ = std::move(environment);
        boxAtStart_ = boxAtStart;
    }
    std::optional<MessageBox> startBox_;

    std::string Display() const { return server_.DisplayName(); }
    std::filesystem::path DumpPath() const { return folder_ / "canvas.png"; }

    // The applet with a canvas the picture's size, dumped on exit, then inkrelay beside it.
    void Start(const Picture& picture, const InkrelaySettings& settings,
               std::vector<std::string> appletArgs = {}) {
        picture_ = picture;
        appletArgs.insert(appletArgs.end(),
                          {"--applet", std::to_string(settings.Applet), "--canvas",
                           std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()),
                           "--dump", DumpPath().string()});
        applet_ = std::make_unique<road::PracticeApplet>(INKRELAY_PRACTICE_APPLET, appletArgs,
                                                         Display(), folder_.Path());
        StartInkrelay(settings);
        program_->KeepOutOfTheAppletsWay();
    }

    void StartInkrelay(const std::optional<InkrelaySettings>& settings) {
        const std::filesystem::path folder = folder_ / "program";
        std::filesystem::create_directories(folder);
        program_ =
            std::make_unique<road::Inkrelay>(x_, INKRELAY_PROGRAM, INKRELAY_README, Display(),
                                             folder, settings, !boxAtStart_, environment_);
        if (boxAtStart_) {
            startBox_ = program_->WaitForBox(std::chrono::seconds(20));
            program_->Accept(*startBox_);
            program_->AwaitMainWindow();
        }
    }

    // Open, select all, read, and both positions taken: 描き込む is next. The captures click
    // this far from the exact points.
    void ReadyToDraw(road::Point canvasOff = {0, 0}, road::Point barsOff = {0, 0}) {
        const std::filesystem::path file = folder_ / "picture.png";
        WritePng(picture_, file);
        const road::Point canvas = applet_->Canvas(), bars = applet_->Bars();
        program_->ReadyToDraw(file, {canvas.X + canvasOff.X, canvas.Y + canvasOff.Y},
                              {bars.X + barsOff.X, bars.Y + barsOff.Y});
    }

    // Until some of the picture is on the canvas.
    void WaitForPaint() {
        const road::Point at = applet_->Canvas();
        const road::Rect canvas{at.X, at.Y, picture_.Width(), picture_.Height()};
        ASSERT_TRUE(road::WaitUntil(
            [&] {
                int32_t painted = 0;
                for (const uint32_t p : x_.Grab(canvas).Pixels) painted += p != White;
                return painted >= 20;
            },
            std::chrono::seconds(30)))
            << "nothing was painted";
    }

    MessageBox ClosingBox() { return program_->WaitForBox(RunTimeout); }

    // From a started road: read, both positions, a whole run that ends with the completion box,
    // the canvas exact and the log whole; the log.
    std::string DrawQuantisedToCompletion(const InkrelaySettings& settings,
                                          road::Point canvasOff = {0, 0},
                                          road::Point barsOff = {0, 0}) {
        ReadyToDraw(canvasOff, barsOff);
        program_->StartDrawing();
        const MessageBox done = ClosingBox();
        EXPECT_EQ(done.Icon, BoxIcon::Information);
        program_->Accept(done);
        EXPECT_EQ(Mismatches(QuantisedCanvas(picture_)), 0);
        const std::string log = program_->Log();
        ExpectLogOfRun(log, settings);
        return log;
    }

    // The applet ended and its canvas compared with expected; the mismatching pixels, the first
    // few reported as failures unless quiet.
    int32_t Mismatches(const std::vector<uint32_t>& expected, bool quiet = false) {
        EXPECT_EQ(applet_->Stop(), 0) << applet_->Process().Errors();
        return Differences(DumpedCanvas(DumpPath(), picture_), picture_.Width(), expected, "canvas",
                           quiet);
    }

    void ExpectLogOfRun(const std::string& log, const InkrelaySettings& settings) {
        road_test::ExpectLogOfRun(log, settings, picture_, applet_->Canvas(), applet_->Bars());
    }

    test::XvfbServer server_;
    road::XDriver x_;
    test::TempDir folder_;
    Picture picture_;
    std::unique_ptr<road::PracticeApplet> applet_;
    std::unique_ptr<road::Inkrelay> program_;
    std::vector<std::string> environment_;
    bool boxAtStart_ = false;
};

}  // namespace inkrelay::road_test
