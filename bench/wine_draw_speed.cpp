// The Windows programs' drawing speed into practice-applet.exe, in one run on one wine session:
// first inkrelay_draw_speed_win32.exe in that session (raw SendInput, the limit, and the drawing
// run over the Win32 back end; its rows passed on), then the real inkrelay.exe along the user's
// road for the same pictures, Check off and on, each timed from the confirmation answered until
// the canvas on the screen is exact. A fresh applet and program folder each.
// Usage: inkrelay_wine_draw_speed [SIDE]   (bench/run-draw-speed-wine sets its environment:
// INKRELAY_WIN32_BIN, INKRELAY_README, WINEPREFIX)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "draw_speed_lists.h"
#include "picture_png.h"
#include "temp_dir.h"
#include "wine_session.h"

namespace inkrelay::speed {
namespace {

using Clock = std::chrono::steady_clock;
using wine_road::WineApplet;
using wine_road::WineSession;

constexpr auto RunDeadline = std::chrono::minutes(10);
constexpr auto SettleDeadline = std::chrono::seconds(20);

struct Case {
    const char* Name;  // as the Win32 benchmark names it
    ReadMethod Method;
    int16_t Applet;
};
constexpr Case Cases[] = {{"photo, inkjet", ReadMethod::Inkjet, 1},
                          {"photo, colour prime", ReadMethod::ColorPrime, 1},
                          {"line art", ReadMethod::LineArt, 1},
                          {"photo, inkjet", ReadMethod::Inkjet, 4},
                          {"line art", ReadMethod::LineArt, 4}};

// The Win32 benchmark's table, passed on; its raw rate by "applet|list".
std::map<std::string, double> RunWin32Bench(WineSession& session, int32_t side,
                                            const std::filesystem::path& folder) {
    const auto programs = session.Setup().Programs;
    const auto bench = session.Start(
        programs / "inkrelay_draw_speed_win32.exe",
        {wine_road::WindowsPath(programs / "practice-applet.exe"), std::to_string(side)},
        folder / "draw_speed_win32.stderr");
    std::map<std::string, double> rawRates;
    while (const auto line = bench->ReadLine(RunDeadline)) {
        std::printf("%s\n", line->c_str());
        std::fflush(stdout);
        // | applet | list | events | run | seconds | events/s | ...
        std::vector<std::string> cells;
        std::istringstream row(*line);
        for (std::string cell; std::getline(row, cell, '|');) {
            const size_t first = cell.find_first_not_of(' '), last = cell.find_last_not_of(' ');
            cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
        }
        if (cells.size() > 6 && cells[4].starts_with("raw")) {
            try {
                rawRates[cells[1] + "|" + cells[2]] = std::stod(cells[6]);
            } catch (const std::exception&) {
                rawRates[cells[1] + "|" + cells[2]] = 0;  // never exact: no rate
            }
        }
    }
    if (bench->Wait(std::chrono::seconds(30)).value_or(-1) != 0)
        throw std::runtime_error("inkrelay_draw_speed_win32.exe failed:\n" + bench->Errors());
    return rawRates;
}

// Seconds from the confirmation answered to the exact canvas (0 if never), and the failed checks.
std::pair<double, int> RunProgram(WineSession& session, const Case& c, const Picture& picture,
                                  const DrawList& list, const std::vector<uint32_t>& expected,
                                  bool check) {
    test::TempDir folder;
    road::XDriver& x = session.X();
    const int32_t side = picture.Width();
    WineApplet applet(session,
                      {"--applet", std::to_string(c.Applet), "--canvas",
                       std::to_string(side) + "x" + std::to_string(side)},
                      folder.Path());
    road::InkrelaySettings settings;
    settings.Mode = c.Method == ReadMethod::LineArt ? 1 : 0;
    settings.Applet = c.Applet;
    settings.ScanCol = 0;
    settings.Formula = c.Method == ReadMethod::ColorPrime ? 1 : 0;
    settings.Speed = 5;
    settings.Check = check ? 1 : 0;
    road::Inkrelay program(x, wine_road::WineLaunch(session), folder / "program", settings);
    program.KeepOutOfTheAppletsWay();
    const std::filesystem::path file = folder / "picture.png";
    test::WritePicturePng(picture, file);
    program.ReadyToDraw(file, applet.Canvas(), applet.Bars());

    program.StartDrawing();
    const Clock::time_point start = Clock::now();
    std::vector<unsigned long> before;
    for (const road::TopLevel& window : x.Windows()) before.push_back(window.Id);
    // A canvas not exact a while after the run's closing box never will be.
    std::optional<Clock::time_point> closed;
    const road::Rect canvas{applet.Canvas().X, applet.Canvas().Y, side, side};
    double exactAfter = 0;
    road::WaitUntil(
        [&] {
            if (Mismatches(x.Grab(canvas).Pixels, expected) == 0) {
                exactAfter = std::chrono::duration<double>(Clock::now() - start).count();
                return true;
            }
            for (const road::TopLevel& window : x.Windows())
                if (!closed && window.Name == "インクリレー" &&
                    std::find(before.begin(), before.end(), window.Id) == before.end())
                    closed = Clock::now();
            return !program.Process().Running() ||
                   (closed && Clock::now() - *closed > SettleDeadline);
        },
        RunDeadline);
    const road::MessageBox done = program.WaitForBox(RunDeadline);
    program.Accept(done);
    const std::string log = program.Log();
    if (road::LogHeaderValue(log, "EventMemEnd") != list.End)
        throw std::runtime_error("inkrelay.exe read another list than the benchmark's");
    int failed = 0;
    for (size_t at = log.find("ErrNum:"); at != std::string::npos; at = log.find("ErrNum:", at + 1))
        ++failed;
    return {exactAfter, failed};
}

int Main(int argc, char** argv) {
    const int32_t side = argc > 1 ? std::stoi(argv[1]) : 100;
    const auto setup = wine_road::WineSetup::FromEnvironment();
    if (!setup)
        throw std::runtime_error("INKRELAY_WIN32_BIN names no folder of the Windows programs");
    WineSession session(*setup);
    test::TempDir folder;
    const std::map<std::string, double> rawRates = RunWin32Bench(session, side, folder.Path());

    const Picture photo = PhotoPicture(side);
    const Picture lineArt = LineArtPicture(side);
    for (const Case& c : Cases) {
        const Picture& picture = c.Method == ReadMethod::LineArt ? lineArt : photo;
        const DrawList list = ReadList(c.Method, picture);
        const std::vector<uint32_t> expected = ExpectedCanvas(c.Method, picture);
        const auto raw = rawRates.find(std::to_string(c.Applet) + "|" + c.Name);
        const double rawRate = raw == rawRates.end() ? 0 : raw->second;
        for (const bool check : {false, true}) {
            const auto [seconds, failed] = RunProgram(session, c, picture, list, expected, check);
            const char* run = check ? "inkrelay.exe, Check on" : "inkrelay.exe, Check off";
            if (seconds > 0) {
                const double rate = list.Events / seconds;
                char ratio[16] = "–";
                if (rawRate > 0)
                    std::snprintf(ratio, sizeof ratio, "%.2f", rate / rawRate);
                std::printf("| %d | %s | %d | %s | %.2f | %.0f | – | %s | %d |\n", c.Applet, c.Name,
                            list.Events, run, seconds, rate, ratio, failed);
            } else {
                std::printf("| %d | %s | %d | %s | never exact | – | – | – | %d |\n", c.Applet,
                            c.Name, list.Events, run, failed);
            }
            std::fflush(stdout);
        }
    }
    return 0;
}

}  // namespace
}  // namespace inkrelay::speed

int main(int argc, char** argv) {
    try {
        return inkrelay::speed::Main(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
