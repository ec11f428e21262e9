// The practice applet run as a user runs it, on a private Xvfb, clicked through XTest; what it
// shows is read back from the root window.

// Before Xlib, whose None and Bool macros break gtest's declarations.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "image/png_picture.h"
#include "temp_dir.h"
#include "xvfb_server.h"

extern char** environ;

namespace inkrelay {
namespace {

using test::TempDir;
using test::XvfbServer;
using Clock = std::chrono::steady_clock;

constexpr uint32_t White = 0x00FFFFFF;

// The program with its standard output on a pipe and its standard error in a file.
class PracticeApplet {
  public:
    // An empty display leaves DISPLAY unset.
    PracticeApplet(const std::string& display, const std::vector<std::string>& args,
                   const TempDir& folder)
        : errPath_(folder / "stderr.txt") {
        std::vector<std::string> words{INKRELAY_PRACTICE_APPLET};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<std::string> env;
        for (char** var = environ; *var != nullptr; ++var) {
            const std::string entry(*var);
            if (!entry.starts_with("DISPLAY=") && !entry.starts_with("QT_QPA_PLATFORM=") &&
                !entry.starts_with("WAYLAND_DISPLAY="))
                env.push_back(entry);
        }
        if (!display.empty()) {
            env.push_back("DISPLAY=" + display);
            env.push_back("QT_QPA_PLATFORM=xcb");
        }
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe2 failed");
        outFd_ = fds[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int failed = ::posix_spawn(&pid_, words[0].c_str(), &actions, nullptr,
                                         Pointers(words).data(), Pointers(env).data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        if (failed != 0) {
            ::close(outFd_);
            throw std::runtime_error("cannot start " + words[0]);
        }
    }

    ~PracticeApplet() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(outFd_);
    }
    PracticeApplet(const PracticeApplet&) = delete;
    PracticeApplet& operator=(const PracticeApplet&) = delete;

    // The next line of standard output, or nothing at the end or after five seconds.
    std::optional<std::string> ReadLine() {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (out_.find('\n') == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd request{outFd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&request, 1, static_cast<int>(left.count())) <= 0)
                return std::nullopt;
            char buffer[256];
            const ssize_t got = ::read(outFd_, buffer, sizeof buffer);
            if (got <= 0)
                return std::nullopt;
            out_.append(buffer, static_cast<size_t>(got));
        }
        const size_t end = out_.find('\n');
        std::string line = out_.substr(0, end);
        out_.erase(0, end + 1);
        return line;
    }

    // The exit status, or -1 when it did not exit normally within ten seconds.
    int Wait() {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() >= deadline)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int Terminate() {
        ::kill(pid_, SIGTERM);
        return Wait();
    }

    std::string Errors() const { return test::ReadFile(errPath_); }

  private:
    static std::vector<char*> Pointers(std::vector<std::string>& words) {
        std::vector<char*> pointers;
        for (std::string& word : words) pointers.push_back(word.data());
        pointers.push_back(nullptr);
        return pointers;
    }

    std::filesystem::path errPath_;
    pid_t pid_ = -1;
    int outFd_ = -1;
    std::string out_;
};

struct Point {
    int X = 0;
    int Y = 0;
};

// The observing and clicking client.
class Screen {
  public:
    explicit Screen(const XvfbServer& server)
        : display_(XOpenDisplay(server.DisplayName().c_str())) {
        if (display_ == nullptr)
            throw std::runtime_error("cannot connect to " + server.DisplayName());
    }
    ~Screen() { XCloseDisplay(display_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void MoveTo(Point p) {
        XTestFakeMotionEvent(display_, DefaultScreen(display_), p.X, p.Y, CurrentTime);
        XSync(display_, False);
    }
    void Button(unsigned button, bool down) {
        XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
        XSync(display_, False);
    }
    // While held, only this client's requests are carried out; the events still go out.
    void Hold(bool held) {
        if (held)
            XGrabServer(display_);
        else
            XUngrabServer(display_);
        XSync(display_, False);
    }
    void Click(Point p, unsigned button = Button1) {
        MoveTo(p);
        Button(button, true);
        Button(button, false);
    }

    // 0x00BBGGRR, as the program reads the screen.
    uint32_t PixelAt(Point p) {
        XImage* image =
            XGetImage(display_, DefaultRootWindow(display_), p.X, p.Y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            throw std::runtime_error("XGetImage failed");
        const unsigned long pixel = XGetPixel(image, 0, 0);
        const auto channel = [&](unsigned long mask) {
            unsigned long value = pixel & mask;
            while (mask != 0 && (mask & 1) == 0) {
                mask >>= 1;
                value >>= 1;
            }
            return static_cast<uint32_t>(value);
        };
        const uint32_t colour = channel(image->red_mask) | channel(image->green_mask) << 8 |
                                channel(image->blue_mask) << 16;
        XDestroyImage(image);
        return colour;
    }

    // The pixel once it has the colour, polled for the delivery of the input to the program; what
    // it last was after five seconds.
    uint32_t PixelBecomes(Point p, uint32_t colour) {
        return PixelOnce(p, [colour](uint32_t seen) { return seen == colour; });
    }
    template <typename Wanted>
    uint32_t PixelOnce(Point p, Wanted wanted) {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        uint32_t seen = PixelAt(p);
        while (!wanted(seen) && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            seen = PixelAt(p);
        }
        return seen;
    }

  private:
    Display* display_;
};

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}

Point ReadPlace(PracticeApplet& applet, const std::string& name) {
    const auto line = applet.ReadLine();
    if (!line)
        throw std::runtime_error("no line for " + name + "; stderr:\n" + applet.Errors());
    std::istringstream words(*line);
    std::string word;
    Point p;
    if (!(words >> word >> p.X >> p.Y) || word != name)
        throw std::runtime_error("unexpected line: " + *line);
    return p;
}

class PracticeAppletTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = new XvfbServer(800, 600, 24); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    // Starts the program and reads where it put the canvas and the bars.
    void Start(const std::vector<std::string>& args) {
        applet_ = std::make_unique<PracticeApplet>(server_->DisplayName(), args, folder_);
        canvas_ = ReadPlace(*applet_, "canvas");
        bars_ = ReadPlace(*applet_, "bars");
    }
    Point Canvas(int x, int y) const { return {canvas_.X + x, canvas_.Y + y}; }
    // The pixel of level on the bar of channel, for the bar's captured level and pitch.
    Point Bar(int channel, int level, int origin, int pitch) const {
        return {bars_.X + level - origin, bars_.Y + channel * pitch};
    }
    std::string DumpPath() const { return (folder_ / "canvas.png").string(); }

    static XvfbServer* server_;
    TempDir folder_;
    Screen screen_{*server_};
    std::unique_ptr<PracticeApplet> applet_;
    Point canvas_;
    Point bars_;
};

XvfbServer* PracticeAppletTest::server_ = nullptr;

TEST(PracticeAppletArguments, BadArgumentsPrintTheUsageAndExitTwoWithoutADisplay) {
    const std::vector<std::vector<std::string>> bad{
        {"--applet", "6"}, {"--layout", "2"}, {"--canvas", "0x10"},  {"--canvas", "10x"},
        {"--lag"},         {"--lag", "-1"},   {"--drop-every", "0"}, {"--dump", ""},
        {"--bogus"},       {"--applet", "1x"}};
    for (const auto& args : bad) {
        TempDir folder;
        PracticeApplet applet("", args, folder);
        EXPECT_EQ(applet.Wait(), 2) << args[0];
        EXPECT_NE(applet.Errors().find("usage: practice-applet"), std::string::npos) << args[0];
    }
}

// PaintBBS: bars 15 rows apart, captured at level 0, presses above 49 refused.
TEST_F(PracticeAppletTest, PaintsEveryInputAtOnceAndDumpsTheCanvasOnSigterm) {
    Start({"--canvas", "120x80", "--dump", DumpPath()});
    const auto bar = [&](int channel, int level) { return Bar(channel, level, 0, 15); };
    // Printed only once on the screen, so no waiting here.
    EXPECT_EQ(screen_.PixelAt(canvas_), White);
    EXPECT_NE(screen_.PixelAt({canvas_.X - 1, canvas_.Y}), White);
    EXPECT_EQ(screen_.PixelAt(Canvas(119, 79)), White);
    EXPECT_EQ(screen_.PixelAt(bar(0, 10)), Rgb(50, 0, 0));
    EXPECT_EQ(screen_.PixelAt(bar(2, 51)), Rgb(0, 0, 255));

    // Level 51 only by pressing at 49 and dragging.
    screen_.MoveTo(bar(0, 49));
    screen_.Button(Button1, true);
    screen_.MoveTo(bar(0, 51));
    screen_.Button(Button1, false);
    screen_.Click(Canvas(10, 10));
    EXPECT_EQ(screen_.PixelBecomes(Canvas(10, 10), Rgb(255, 0, 0)), Rgb(255, 0, 0));

    screen_.Click(bar(1, 30));
    screen_.Click(bar(2, 40));
    const uint32_t mixed = Rgb(255, 150, 200);
    // An L-shaped drag whose moves queue up while the server is held: merged moves would cut the
    // corner.
    screen_.MoveTo(Canvas(20, 20));
    screen_.Hold(true);
    screen_.Button(Button1, true);
    screen_.MoveTo(Canvas(40, 20));
    screen_.MoveTo(Canvas(40, 40));
    screen_.Hold(false);
    screen_.Button(Button1, false);
    EXPECT_EQ(screen_.PixelBecomes(Canvas(40, 40), mixed), mixed);
    for (const Point p : {Canvas(20, 20), Canvas(30, 20), Canvas(40, 20), Canvas(40, 30)})
        EXPECT_EQ(screen_.PixelAt(p), mixed) << p.X << "," << p.Y;
    EXPECT_EQ(screen_.PixelAt(Canvas(30, 30)), White);

    // The right button picks the first dot's colour back up.
    screen_.Click(Canvas(10, 10), Button3);
    screen_.Click(Canvas(12, 10));
    EXPECT_EQ(screen_.PixelBecomes(Canvas(12, 10), Rgb(255, 0, 0)), Rgb(255, 0, 0));

    ASSERT_EQ(applet_->Terminate(), 0) << applet_->Errors();
    const Picture dump = LoadPngPicture(DumpPath());
    ASSERT_EQ(dump.Width(), 120);
    ASSERT_EQ(dump.Height(), 80);
    EXPECT_EQ(dump.PixelAt(10, 10), Rgb(255, 0, 0));
    EXPECT_EQ(dump.PixelAt(12, 10), Rgb(255, 0, 0));
    EXPECT_EQ(dump.PixelAt(30, 20), mixed);
    EXPECT_EQ(dump.PixelAt(40, 30), mixed);
    EXPECT_EQ(dump.PixelAt(30, 30), White);
    EXPECT_EQ(dump.PixelAt(0, 0), White);
}

// Shi-Painter at layout 1: captured at level 2, bars 20 rows apart, presses within 2..49.
TEST_F(PracticeAppletTest, LagDelaysThePaintByItsMilliseconds) {
    constexpr int Lag = 400;
    Start({"--applet", "3", "--layout", "1", "--lag", std::to_string(Lag), "--canvas", "60x60"});
    const auto bar = [&](int channel, int level) { return Bar(channel, level, 2, 20); };
    EXPECT_EQ(screen_.PixelAt(bar(0, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(screen_.PixelAt(bar(1, 51)), Rgb(0, 255, 0));

    screen_.Click(bar(1, 10));
    screen_.Click(Canvas(5, 5));
    const auto sent = Clock::now();
    EXPECT_EQ(screen_.PixelBecomes(Canvas(5, 5), Rgb(0, 50, 0)), Rgb(0, 50, 0));
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(Lag));
    EXPECT_EQ(applet_->Terminate(), 0) << applet_->Errors();
}

// PaintBBS NEO: bars 13 rows high and 16 apart, an alpha bar, the pointer mark, paint at frames
// and moves merged inside 5 ms.
TEST_F(PracticeAppletTest, BrowserAppletShowsItsMarkAndFramesAndLosesAFastDragsCorner) {
    Start({"--applet", "4", "--canvas", "160x120", "--dump", DumpPath()});
    const auto bar = [&](int channel, int level) { return Bar(channel, level, 0, 16); };
    EXPECT_EQ(screen_.PixelAt(bar(3, 10)), Rgb(50, 50, 50));
    const Point greenTop{bar(1, 10).X, bar(1, 10).Y - 6};
    EXPECT_EQ(screen_.PixelAt(greenTop), Rgb(0, 50, 0));
    EXPECT_NE(screen_.PixelAt({greenTop.X, greenTop.Y - 1}), Rgb(0, 50, 0));

    // Held: black paint under the mark shows white, the white pixels up-left of it black.
    screen_.MoveTo(Canvas(10, 10));
    screen_.Button(Button1, true);
    EXPECT_EQ(screen_.PixelBecomes(Canvas(9, 9), Rgb(0, 0, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(screen_.PixelAt(Canvas(10, 10)), White);
    screen_.Button(Button1, false);
    EXPECT_EQ(screen_.PixelBecomes(Canvas(10, 10), Rgb(0, 0, 0)), Rgb(0, 0, 0));
    EXPECT_EQ(screen_.PixelBecomes(Canvas(9, 9), White), White);

    // Clicks on the row above the green bar at level 0 set some other level.
    screen_.Click(bar(0, 51));
    uint32_t paint = 0;
    bool greenChanged = false;
    for (int i = 0; i < 3; ++i) {
        screen_.Click({bar(1, 0).X, bar(1, 0).Y - 7});
        screen_.Click(Canvas(20 + 2 * i, 30));
        // Full red and no blue: the paint, neither white nor under the mark.
        paint = screen_.PixelOnce(Canvas(20 + 2 * i, 30), [](uint32_t seen) {
            return (seen & 0xFF) == 0xFF && (seen >> 16) == 0;
        });
        ASSERT_EQ(paint & 0xFF00FF, 0xFFu) << "no paint at " << i;
        greenChanged = greenChanged || paint != Rgb(255, 0, 0);
    }
    EXPECT_TRUE(greenChanged);

    // L-shaped drags, each moves sent back to back under one press: the move to the corner is
    // replaced by the next. The window reads the time as it takes each event, so a window kept
    // off the processor may hand a move on late; one lost corner of three shows the merging.
    for (int i = 0; i < 3; ++i) {
        screen_.MoveTo(Canvas(10 + 40 * i, 50));
        screen_.Button(Button1, true);
        screen_.MoveTo(Canvas(40 + 40 * i, 50));
        screen_.MoveTo(Canvas(40 + 40 * i, 80));
        screen_.Button(Button1, false);
    }
    // A press, move and release per segment keeps the corner.
    const std::vector<Point> segments{Canvas(10, 95), Canvas(60, 95), Canvas(60, 115)};
    for (size_t i = 0; i + 1 < segments.size(); ++i) {
        screen_.MoveTo(segments[i]);
        screen_.Button(Button1, true);
        screen_.MoveTo(segments[i + 1]);
        screen_.Button(Button1, false);
    }
    EXPECT_EQ(screen_.PixelBecomes(segments.back(), paint), paint);

    ASSERT_EQ(applet_->Terminate(), 0) << applet_->Errors();
    const Picture dump = LoadPngPicture(DumpPath());
    int lostCorners = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dump.PixelAt(40 + 40 * i, 80), paint) << i;
        const bool diagonal = dump.PixelAt(25 + 40 * i, 65) == paint;
        const bool corner = dump.PixelAt(25 + 40 * i, 50) == paint;
        EXPECT_NE(diagonal, corner) << i;
        lostCorners += diagonal ? 1 : 0;
    }
    EXPECT_GT(lostCorners, 0);
    EXPECT_EQ(dump.PixelAt(35, 95), paint);
    EXPECT_EQ(dump.PixelAt(60, 105), paint);
    EXPECT_EQ(dump.PixelAt(35, 105), White);
}

TEST_F(PracticeAppletTest, DeadAppletPaintsNothing) {
    Start({"--dead", "--canvas", "60x60", "--dump", DumpPath()});
    screen_.Click(Bar(0, 40, 0, 15));
    screen_.MoveTo(Canvas(5, 5));
    screen_.Button(Button1, true);
    screen_.MoveTo(Canvas(25, 5));
    screen_.Button(Button1, false);
    // Nothing to wait for: the pixels are watched for a while instead.
    const auto until = Clock::now() + std::chrono::milliseconds(300);
    while (Clock::now() < until) {
        ASSERT_EQ(screen_.PixelAt(Canvas(5, 5)), White);
        ASSERT_EQ(screen_.PixelAt(Canvas(15, 5)), White);
    }
    ASSERT_EQ(applet_->Terminate(), 0) << applet_->Errors();
    const Picture dump = LoadPngPicture(DumpPath());
    for (int x = 0; x < 30; ++x) EXPECT_EQ(dump.PixelAt(x, 5), White) << x;
}

}  // namespace
}  // namespace inkrelay
