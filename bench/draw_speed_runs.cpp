#include "draw_speed_runs.h"

#include <QCoreApplication>
#include <QImage>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "draw/drawing_run.h"
#include "inkrelay_road.h"
#include "platform_desktop.h"
#include "temp_dir.h"
#include "xvfb_server.h"

// Last: Xlib's macros (Bool, Status, None) break Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace inkrelay::speed {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ScreenWidth = 1024;
constexpr int ScreenHeight = 768;
constexpr auto PollEvery = std::chrono::milliseconds(5);
// After a run has sent its last event the applet may still be working through its queue.
constexpr auto SettleDeadline = std::chrono::seconds(60);

double SecondsSince(Clock::time_point start, Clock::time_point end = Clock::now()) {
    return std::chrono::duration<double>(end - start).count();
}

// Declared in teardown order: the applet and the program end before their server.
struct Session {
    Session(const Programs& programs, const Case& c)
        : X(Server.DisplayName()),
          Applet(programs.PracticeApplet,
                 {"--applet", std::to_string(c.Applet), "--canvas",
                  std::to_string(c.Source->Width()) + "x" + std::to_string(c.Source->Height())},
                 Server.DisplayName(), Folder.Path()) {}

    road::Rect Canvas(const Case& c) const {
        const road::Point at = Applet.Canvas();
        return {at.X, at.Y, c.Source->Width(), c.Source->Height()};
    }

    test::XvfbServer Server{ScreenWidth, ScreenHeight, 24};
    road::XDriver X;
    test::TempDir Folder;
    road::PracticeApplet Applet;
};

ScreenPoint ToScreen(road::Point p) {
    return {static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y)};
}

int16_t ModeOf(const Case& c) {
    return c.Method == ReadMethod::LineArt ? 1 : 0;
}

// Reads the canvas on the screen every few milliseconds on a connection and thread of its own,
// from its start until the canvas equals the expected one, so a run's end and its exact canvas
// are timed apart whatever the caller waits for meanwhile.
class CanvasWatcher {
  public:
    CanvasWatcher(const std::string& display, road::Rect canvas, std::vector<uint32_t> expected,
                  Clock::time_point start)
        : screen_(OpenPlatformDesktop(display)),
          dc_(screen_->OpenScreen()),
          canvas_(canvas),
          expected_(std::move(expected)),
          start_(start),
          thread_([this](std::stop_token stop) { Watch(stop); }) {}

    // Until the canvas is exact or the deadline passes; sets ExactAfter (from start) and Wrong.
    void Await(Clock::time_point deadline, Measurement& m) {
        std::unique_lock lock(mutex_);
        changed_.wait_until(lock, deadline, [this] { return exactAfter_ > 0; });
        m.ExactAfter = exactAfter_;
        m.Wrong = exactAfter_ > 0 ? 0 : wrong_;
    }

  private:
    void Watch(const std::stop_token& stop) {
        std::vector<uint32_t> shown(expected_.size());
        while (!stop.stop_requested()) {
            dc_->ReadRegion(canvas_.X, canvas_.Y, canvas_.Width, canvas_.Height, shown);
            const Clock::time_point at = Clock::now();
            const int32_t wrong = Mismatches(shown, expected_);
            {
                const std::lock_guard lock(mutex_);
                wrong_ = wrong;
                if (wrong == 0)
                    exactAfter_ = SecondsSince(start_, at);
            }
            if (wrong == 0) {
                changed_.notify_all();
                return;
            }
            std::this_thread::sleep_for(PollEvery);
        }
    }

    std::unique_ptr<Desktop> screen_;
    std::unique_ptr<ScreenReader> dc_;
    road::Rect canvas_;
    std::vector<uint32_t> expected_;
    Clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable changed_;
    double exactAfter_ = 0;
    int32_t wrong_ = -1;
    std::jthread thread_;  // last: joined before the members it reads go
};

// The windows that cover part of the canvas: a canvas never exact under another window is that
// window's doing, not the drawing's.
std::string Overlapping(Session& s, road::Rect canvas) {
    std::string names;
    for (const road::TopLevel& w : s.X.Windows()) {
        const road::Rect& f = w.Frame;
        const bool covers = f.X < canvas.X + canvas.Width && canvas.X < f.X + f.Width &&
                            f.Y < canvas.Y + canvas.Height && canvas.Y < f.Y + f.Height;
        if (covers && w.Name != "インクリレー 練習用アプレット")
            names += (names.empty() ? "" : ", ") + w.Name;
    }
    if (!s.Applet.Process().Running())
        names += (names.empty() ? "" : ", ") + std::string("practice-applet ended");
    return names.empty() ? names : "canvas covered or gone: " + names;
}

// What the log's header says of the captured places when they are not the applet's.
std::string CapturedElsewhere(const std::string& log, const road::PracticeApplet& applet) {
    const auto place = [](const char* key, road::Point p) {
        char text[40];
        std::snprintf(text, sizeof text, "  %s:%04d,%04d", key, p.X, p.Y);
        return std::string(text);
    };
    const std::string header = log.substr(0, log.find("\r\n"));
    std::string note;
    for (const std::string& expected :
         {place("DrawPos", applet.Canvas()), place("RGBBarPos", applet.Bars())})
        if (header.find(expected) == std::string::npos)
            note += "captured other than" + expected + "; ";
    return note;
}

int32_t CountErrorLines(const std::string& text) {
    int32_t n = 0;
    for (size_t at = text.find("ErrNum:"); at != std::string::npos;
         at = text.find("ErrNum:", at + 1))
        ++n;
    return n;
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

}  // namespace

Measurement RunRaw(const Programs& programs, const Case& c, std::chrono::seconds deadline) {
    Session s(programs, c);
    const RecordedReplay replay =
        RecordReplay(*c.List, c.Applet, ModeOf(c), ToScreen(s.Applet.Canvas()),
                     ToScreen(s.Applet.Bars()), c.Source->Width(), c.Source->Height());
    const std::unique_ptr<Display, DisplayCloser> display(
        XOpenDisplay(s.Server.DisplayName().c_str()));
    if (!display)
        throw std::runtime_error("cannot open " + s.Server.DisplayName());
    Display* d = display.get();
    const int screen = DefaultScreen(d);
    Measurement m;
    m.Events = replay.Events;
    m.XEvents = replay.Moves + replay.Buttons;
    const Clock::time_point start = Clock::now();
    CanvasWatcher watcher(s.Server.DisplayName(), s.Canvas(c), *c.Expected, start);
    for (const PointerAction& a : replay.Actions) {
        switch (a.What) {
            case PointerAction::Move: XTestFakeMotionEvent(d, screen, a.X, a.Y, CurrentTime); break;
            case PointerAction::Button: {
                const bool right =
                    a.Action == MouseAction::RightDown || a.Action == MouseAction::RightUp;
                const bool down =
                    a.Action == MouseAction::LeftDown || a.Action == MouseAction::RightDown;
                XTestFakeButtonEvent(d, right ? 3 : 1, down ? True : False, CurrentTime);
                break;
            }
            case PointerAction::EventEnd: XFlush(d); break;
        }
    }
    XSync(d, False);
    watcher.Await(start + deadline, m);
    if (m.Wrong != 0)
        m.Note = Overlapping(s, s.Canvas(c));
    m.Completed = m.Wrong == 0;
    m.Seconds = m.ExactAfter;
    return m;
}

Measurement RunProgram(const Programs& programs, const Case& c, bool check,
                       std::chrono::seconds deadline) {
    Session s(programs, c);
    const std::filesystem::path picturePath = s.Folder / "picture.png";
    {
        QImage image(c.Source->Width(), c.Source->Height(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const uint32_t p = c.Source->PixelAt(x, y);
                image.setPixel(x, y,
                               qRgb(static_cast<int>(p & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                                    static_cast<int>(p >> 16 & 0xFF)));
            }
        if (!image.save(QString::fromStdString(picturePath.string()), "PNG"))
            throw std::runtime_error("cannot write " + picturePath.string());
    }
    road::InkrelaySettings settings;
    settings.Mode = ModeOf(c);
    settings.Applet = c.Applet;
    settings.ScanCol = 0;
    settings.Quality = 0;
    settings.Formula = c.Method == ReadMethod::ColorPrime ? 1 : 0;
    settings.Speed = 5;
    settings.Check = check ? 1 : 0;
    const std::filesystem::path folder = s.Folder / "program";
    std::filesystem::create_directories(folder);
    road::Inkrelay program(s.X, programs.Inkrelay, programs.Readme, s.Server.DisplayName(), folder,
                           settings);
    program.KeepOutOfTheAppletsWay();
    program.ReadyToDraw(picturePath, s.Applet.Canvas(), s.Applet.Bars());

    program.StartDrawing();
    const Clock::time_point start = Clock::now();
    CanvasWatcher watcher(s.Server.DisplayName(), s.Canvas(c), *c.Expected, start);
    const road::MessageBox closing = program.WaitForBox(deadline);
    Measurement m;
    m.Seconds = SecondsSince(start);
    m.Events = c.List->Events;
    m.Completed = closing.Icon == road::BoxIcon::Information;
    program.Accept(closing);
    const std::string log = program.Log();
    if (road::LogHeaderValue(log, "EventMemEnd") != c.List->End)
        throw std::runtime_error("inkrelay read another list than the benchmark's (" + c.Name +
                                 ")");
    m.ErrorLines = CountErrorLines(log);
    watcher.Await(Clock::now() + SettleDeadline, m);
    if (m.Wrong != 0)
        m.Note = CapturedElsewhere(log, s.Applet) + Overlapping(s, s.Canvas(c));
    return m;
}

Measurement RunHarness(const Programs& programs, const Case& c, bool check, bool perEventCheck,
                       std::optional<int32_t> stopAfter) {
    Session s(programs, c);
    Measurement m;
    const ScreenPoint canvas = ToScreen(s.Applet.Canvas()), bars = ToScreen(s.Applet.Bars());
    const std::unique_ptr<Desktop> x11 = OpenPlatformDesktop(s.Server.DisplayName());
    DrawSettings settings;
    settings.Mode = ModeOf(c);
    settings.Applet = c.Applet;
    settings.Speed = 5;
    settings.Check = check;
    settings.DrawPos = canvas;
    settings.RGBBarPos = bars;
    settings.ScanWidth = c.Source->Width();
    settings.ScanHeight = c.Source->Height();
    settings.PerEventCheck = perEventCheck;
    // A stopped run must show what its events draw, replayed into the model beforehand.
    const bool stops = stopAfter && *stopAfter < c.List->Events;
    std::vector<uint32_t> expected = *c.Expected;
    if (stops) {
        const RecordedReplay replay = RecordReplay(*c.List, c.Applet, ModeOf(c), canvas, bars,
                                                   c.Source->Width(), c.Source->Height());
        expected = SimulatedCanvas(replay, *stopAfter, c.Applet, canvas, bars, c.Source->Width(),
                                   c.Source->Height());
    }
    const Clock::time_point start = Clock::now();
    CanvasWatcher watcher(s.Server.DisplayName(), s.Canvas(c), std::move(expected), start);
    const CountedRun run = RunCounted(*x11, *c.List, settings, m.Tallies, stopAfter,
                                      [] { QCoreApplication::processEvents(); });
    m.Seconds = SecondsSince(start);
    m.Capped = stops && run.Outcome == DrawOutcome::Aborted;
    // One Esc poll after every event replayed, the stopping one too.
    m.Events = m.Capped ? static_cast<int32_t>(m.Tallies.EscapePolls.Calls) : c.List->Events;
    m.Completed = run.Outcome == DrawOutcome::Completed ? run.CompletedBox : m.Capped;
    m.ErrorLines = CountErrorLines(run.Log);
    // Failed checks draw events again: a stopped run's canvas is then not known.
    if (m.Capped && m.ErrorLines > 0)
        return m;
    watcher.Await(Clock::now() + SettleDeadline, m);
    return m;
}

}  // namespace inkrelay::speed
