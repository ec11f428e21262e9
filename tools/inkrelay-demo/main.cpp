// inkrelay-demo: inkrelay and the practice applet on a private Xvfb, driven with real X input
// from a sample picture to the applet's canvas; writes the source, the main window's preview
// and the canvas side by side, and prints how exact and how long the run was.

#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "demo_pictures.h"
#include "image/png_picture.h"
#include "inkrelay_road.h"
#include "scan/draw_list_text.h"
#include "scan/inkjet_scan.h"
#include "temp_dir.h"
#include "xvfb_server.h"

namespace {

using namespace inkrelay;
using Clock = std::chrono::steady_clock;

constexpr int PictureWidth = 160;
constexpr int PictureHeight = 120;
constexpr int Applet = 1;  // PaintBBS: no pause every 200 events

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Events of the list the program reads from the picture, counted by the core.
int32_t EventCount(const Picture& picture) {
    const auto mem = std::make_unique<EventMemory>();
    const RangeSlots range{0, 0, static_cast<int16_t>(picture.Width() - 1),
                           static_cast<int16_t>(picture.Height() - 1)};
    const ScanResult result = ScanInkjet(picture, range, 0, *mem, {});
    int32_t events = 0;
    for (const int32_t n : CountEvents(*mem, result.EventMemEnd())) events += n;
    return events;
}

int Run(const std::filesystem::path& outDir) {
    test::XvfbServer server(1024, 768, 24);
    road::XDriver x(server.DisplayName());
    test::TempDir folder;
    Say("Xvfb on " + server.DisplayName() + ", work folder " + folder.String());

    const QImage sample = demo::SamplePicture(PictureWidth, PictureHeight);
    const std::filesystem::path picturePath = folder / "sample.png";
    if (!sample.save(QString::fromStdString(picturePath.string()), "PNG"))
        throw std::runtime_error("cannot write " + picturePath.string());
    const Picture source = demo::ToPicture(sample);

    const std::filesystem::path dump = folder / "canvas.png";
    road::PracticeApplet applet(INKRELAY_PRACTICE_APPLET,
                                {"--applet", std::to_string(Applet), "--canvas",
                                 std::to_string(PictureWidth) + "x" + std::to_string(PictureHeight),
                                 "--dump", dump.string()},
                                server.DisplayName(), folder.Path());
    const road::Point canvas = applet.Canvas(), bars = applet.Bars();
    Say("practice applet: canvas at " + std::to_string(canvas.X) + "," + std::to_string(canvas.Y) +
        ", red bar at " + std::to_string(bars.X) + "," + std::to_string(bars.Y));

    road::InkrelaySettings settings;
    settings.Applet = Applet;
    std::filesystem::create_directories(folder / "program");
    road::Inkrelay program(x, INKRELAY_PROGRAM, INKRELAY_README, server.DisplayName(),
                           folder / "program", settings);
    program.KeepOutOfTheAppletsWay();

    Say("opening the picture (Ctrl+O), selecting it all (Ctrl+A), reading it (Alt+S)");
    program.OpenPicture(picturePath);
    program.SelectAll();
    program.Read();
    const road::ScreenImage preview = program.Preview();
    Say("taking the canvas corner (right click) and the red bar (left click)");
    program.CaptureDrawPos(canvas);
    program.CaptureBarPos(bars);

    Say("drawing (Alt+D, Yes)");
    program.StartDrawing();
    const auto started = Clock::now();
    const road::MessageBox closing = program.WaitForBox(std::chrono::seconds(600));
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    program.Accept(closing);
    if (applet.Stop() != 0)
        throw std::runtime_error("practice-applet failed: " + applet.Process().Errors());

    const Picture drawn = LoadPngPicture(dump.string());
    const Picture expected = demo::QuantisedPicture(source);
    int32_t equal = 0;
    for (int32_t y = 0; y < PictureHeight; ++y)
        for (int32_t xx = 0; xx < PictureWidth; ++xx)
            equal += drawn.PixelAt(xx, y) == expected.PixelAt(xx, y);
    const int32_t pixels = PictureWidth * PictureHeight;
    const std::string log = program.Log();
    const long cells = road::LogHeaderValue(log, "EventMemEnd").value_or(-1);
    const int32_t events = EventCount(source);

    char accuracy[160], counted[160], timing[160];
    std::snprintf(accuracy, sizeof accuracy,
                  "pixel accuracy: %.2f %% (%d of %d canvas pixels equal the quantised source)",
                  100.0 * equal / pixels, equal, pixels);
    std::snprintf(counted, sizeof counted, "events: %d (draw list of %ld cells, EventMemEnd)",
                  events, cells);
    std::snprintf(timing, sizeof timing,
                  "drawing time: %.1f s (PaintBBS, inkjet, speed 5, check on)", seconds);
    Say(accuracy);
    Say(counted);
    Say(timing);

    std::vector<demo::Panel> panels{
        {QStringLiteral("source, %1×%2").arg(PictureWidth).arg(PictureHeight), sample},
        {QStringLiteral("preview (screen)"),
         demo::ToImage(Picture(preview.Width, preview.Height, preview.Pixels))},
        {QStringLiteral("practice applet's canvas after the run"), demo::ToImage(drawn)}};
    const QImage result =
        demo::SideBySide(panels, 2,
                         {QString::fromStdString(accuracy), QString::fromStdString(counted),
                          QString::fromStdString(timing)});
    std::filesystem::create_directories(outDir);
    const std::filesystem::path resultPath = outDir / "result.png";
    if (!result.save(QString::fromStdString(resultPath.string()), "PNG"))
        throw std::runtime_error("cannot write " + resultPath.string());
    Say("wrote " + resultPath.string());
    return equal == pixels ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && std::string(argv[1]).starts_with("-"))) {
        std::fprintf(stderr, "usage: inkrelay-demo [OUTPUT-FOLDER]  (default: demo)\n");
        return 2;
    }
    // The demo's own pictures need no screen; the programs it drives get the private Xvfb.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        return Run(argc == 2 ? argv[1] : "demo");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "inkrelay-demo: %s\n", failure.what());
    }
    return 1;
}
