// inkrelay_draw_speed_bench: how fast a draw list reaches the practice applet's canvas. For each
// list and applet: raw XTest (the limit), the real inkrelay with Check off and on, and the core
// over the X11 back end (the harness) where the program cannot be told what to do or where the
// time's breakdown is wanted. Run by hand (bench/run-draw-speed); not a test.

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "draw_speed_report.h"

// After Qt's headers, which Xlib's macros break.
#include <X11/Xlib.h>

namespace {

using namespace inkrelay;
using namespace inkrelay::speed;

// For one run's drawing.
// The browser applets take input at their own pace: the inkjet list on PaintBBS NEO, with its
// saves after every 10th stroke, takes minutes even raw.
constexpr auto Deadline = std::chrono::seconds(900);
// On a browser applet a check after every event waits for a 60 Hz frame each time and would
// take many minutes over a whole list. The harness's runs there stop after this many events,
// all of its variants at the same one.
constexpr int32_t BrowserHarnessEvents = 600;
struct Options {
    std::filesystem::path Out = "draw-speed";
    std::set<int> Applets;  // none given: 1, 4 and 5
    int Tries = 3;
    bool Breakdown = false;  // the harness's runs on the classic applet, and the per-event check
    std::string Only;        // one list: inkjet, colour-prime or line-art; empty for all
};

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string Describe(const Row& row) {
    char text[200];
    std::snprintf(
        text, sizeof text,
        "applet %d, %s, %s: run's end %.2f s, exact canvas %.2f s, %.0f events/s, %s", row.Applet,
        row.CaseName.c_str(), VariantName(row.Kind).c_str(), row.Result.Seconds, row.Seconds(),
        row.EventsPerSecond(),
        row.Result.Wrong == 0 ? "exact" : (std::to_string(row.Result.Wrong) + " wrong").c_str());
    return text;
}

// The list's name as --list spells it: "colour prime" is colour-prime.
std::string OptionName(ReadMethod method) {
    std::string name = MethodName(method);
    std::replace(name.begin(), name.end(), ' ', '-');
    return name;
}

// The fastest of a few runs: the load of a shared machine slows a run by up to three times from
// one to the next. For the raw replay that is the limit, what the applet can take at best.
Measurement Fastest(int count, const std::function<Measurement()>& once) {
    Measurement best;
    std::string tries;
    for (int k = 0; k < count; ++k) {
        Measurement m = once();
        char text[32];
        std::snprintf(text, sizeof text, "%s%.2f", k == 0 ? "" : " / ", m.Seconds);
        tries += m.Wrong == 0 ? text : (k == 0 ? "" : " / ") + std::string("not exact");
        if (m.Wrong != 0 || !m.Completed)
            return m;
        if (k == 0 || m.Seconds < best.Seconds)
            best = std::move(m);
    }
    best.Note = "fastest of " + tries + " s";
    return best;
}

void Measure(std::vector<Row>& rows, const Programs& programs, const Case& c, Variant kind,
             int tries, std::chrono::seconds deadline,
             std::optional<int32_t> stopAfter = std::nullopt) {
    Row row{c.Name, c.Applet, 0, kind, {}};
    const bool browser = c.Applet == 4 || c.Applet == 5;
    switch (kind) {
        case Variant::Raw:
            row.Result = Fastest(tries, [&] { return RunRaw(programs, c, deadline); });
            break;
        case Variant::CheckOff:
            row.Result = Fastest(tries, [&] { return RunProgram(programs, c, false, deadline); });
            break;
        case Variant::CheckOn:
            row.Result = Fastest(tries, [&] { return RunProgram(programs, c, true, deadline); });
            break;
        case Variant::HarnessOff:
            row.Result = RunHarness(programs, c, false, false, stopAfter);
            break;
        case Variant::HarnessOn:
            row.Result = RunHarness(programs, c, true, false, stopAfter);
            break;
        case Variant::HarnessPerEvent:
            row.Result = RunHarness(programs, c, true, browser, stopAfter);
            break;
    }
    row.Events = row.Result.Events;
    Say(Describe(row) + (row.Result.Note.empty() ? "" : " (" + row.Result.Note + ")"));
    rows.push_back(std::move(row));
}

int Run(const Options& options) {
    const Picture photo = PhotoPicture(PictureSide), lineArt = LineArtPicture(PictureSide);
    struct Source {
        std::string Name;
        ReadMethod Method;
        const Picture* Image;
    };
    std::vector<Source> sources{{"photo, inkjet", ReadMethod::Inkjet, &photo},
                                {"photo, colour prime", ReadMethod::ColorPrime, &photo},
                                {"line art", ReadMethod::LineArt, &lineArt}};
    if (!options.Only.empty())
        std::erase_if(sources,
                      [&](const Source& s) { return OptionName(s.Method) != options.Only; });
    std::vector<DrawList> lists;
    std::vector<std::vector<uint32_t>> expected;
    for (const Source& source : sources) {
        lists.push_back(ReadList(source.Method, *source.Image));
        expected.push_back(ExpectedCanvas(source.Method, *source.Image));
        Say(source.Name + ": " + std::to_string(lists.back().Events) + " events, " +
            std::to_string(lists.back().End) + " cells");
    }
    const Programs programs{INKRELAY_PROGRAM, INKRELAY_README, INKRELAY_PRACTICE_APPLET};
    std::vector<Row> rows;
    const auto started = std::chrono::steady_clock::now();
    const std::set<int> applets =
        options.Applets.empty() ? std::set<int>{1, 4, 5} : options.Applets;
    for (const int applet : applets) {
        const bool browser = applet == 4 || applet == 5;
        for (size_t k = 0; k < sources.size(); ++k) {
            const Case c{sources[k].Name,  sources[k].Method, static_cast<int16_t>(applet),
                         sources[k].Image, &lists[k],         &expected[k]};
            const int tries = options.Tries;
            Measure(rows, programs, c, Variant::Raw, tries, Deadline);
            Measure(rows, programs, c, Variant::CheckOff, tries, Deadline);
            Measure(rows, programs, c, Variant::CheckOn, tries, Deadline);
            if (browser) {
                Measure(rows, programs, c, Variant::HarnessOff, 1, Deadline, BrowserHarnessEvents);
                Measure(rows, programs, c, Variant::HarnessOn, 1, Deadline, BrowserHarnessEvents);
                // The check after every event waits a frame each time: minutes, and only to show
                // why the browser profiles do without it.
                if (options.Breakdown)
                    Measure(rows, programs, c, Variant::HarnessPerEvent, 1, Deadline,
                            BrowserHarnessEvents);
            } else if (options.Breakdown) {
                Measure(rows, programs, c, Variant::HarnessOff, 1, Deadline);
                Measure(rows, programs, c, Variant::HarnessOn, 1, Deadline);
            }
        }
    }
    const double minutes =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / 60;
    std::filesystem::create_directories(options.Out);
    const std::string tables = ResultTable(rows) + "\n" + HarnessTable(rows);
    std::ofstream(options.Out / "draw-speed.md") << tables;
    WritePlot(rows, options.Out / "draw-speed.png");
    Say("\n" + tables);
    char footer[120];
    std::snprintf(footer, sizeof footer, "%.1f minutes; wrote %s and %s", minutes,
                  (options.Out / "draw-speed.md").c_str(),
                  (options.Out / "draw-speed.png").c_str());
    Say(footer);
    // A check after every event on a browser applet fails under the held button's mark: that
    // run shows why the profile checks in batches, and its failure is no failure here.
    for (const Row& row : rows)
        if (row.Kind != Variant::HarnessPerEvent &&
            (row.Result.Wrong != 0 || !row.Result.Completed))
            return 1;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--out" && k + 1 < argc) {
            options.Out = argv[++k];
        } else if (arg == "--applet" && k + 1 < argc) {
            const std::string value = argv[++k];
            if (value != "1" && value != "4" && value != "5") {
                std::fprintf(stderr, "inkrelay_draw_speed_bench: --applet takes 1, 4 or 5\n");
                return 2;
            }
            options.Applets.insert(std::stoi(value));
        } else if (arg == "--tries" && k + 1 < argc) {
            options.Tries = std::atoi(argv[++k]);
            if (options.Tries < 1 || options.Tries > 9) {
                std::fprintf(stderr, "inkrelay_draw_speed_bench: --tries takes 1 to 9\n");
                return 2;
            }
        } else if (arg == "--breakdown") {
            options.Breakdown = true;
        } else if (arg == "--list" && k + 1 < argc) {
            options.Only = argv[++k];
            if (options.Only != "inkjet" && options.Only != "colour-prime" &&
                options.Only != "line-art") {
                std::fprintf(stderr,
                             "inkrelay_draw_speed_bench: --list takes inkjet, "
                             "colour-prime or line-art\n");
                return 2;
            }
        } else {
            std::fprintf(stderr,
                         "usage: inkrelay_draw_speed_bench [--out FOLDER] [--applet 1|4|5]... "
                         "[--tries N] [--list inkjet|colour-prime|line-art] [--breakdown]\n");
            return 2;
        }
    }
    // The canvas is watched on a thread of its own while the runs drive the display.
    XInitThreads();
    // The pictures and the plot need no screen; every run gets its own Xvfb.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        return Run(options);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "inkrelay_draw_speed_bench: %s\n", failure.what());
    }
    return 1;
}
